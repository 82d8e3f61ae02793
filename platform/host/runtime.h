// The host's run-time services: start-up (codecs and standard controls), the loaded forms and
// the event loop (Run, DoEvents), the Screen and App objects, the seconds-since-midnight Timer,
// the random-number generator, message boxes and the reporting of runtime errors that escape
// an event handler.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_error.h"
#include "platform/user/winuser.h"

namespace brimlox::host {

class Form;

// Registers the picture and font codecs and the standard controls; safe to call often.
void StartHost();

// Runs a handler the host calls. A runtime error that escapes it is reported in a message box
// ("Run-time error 'n': description"), as the host does for unhandled errors, and the event
// loop goes on; other exceptions pass through. Inline, so that a handler is called directly
// on the way of every message rather than through a std::function.
void ReportHostError(const HostError& e);
template <typename F>
void RunHostEvent(F&& handler) {
    try {
        handler();
    } catch (const HostError& e) {
        ReportHostError(e);
    }
}

// ---- Forms and the event loop -------------------------------------------------------------
void NoteFormLoaded(Form& form);
void NoteFormUnloaded(Form& form);
std::vector<std::shared_ptr<Form>> LoadedForms();
// Dispatches messages until the last loaded form unloads or the input ends; returns the
// WM_QUIT exit code. When nothing provides input yet (no script, no window) and a display is
// named (DISPLAY or WAYLAND_DISPLAY), the forms are shown live in an SDL2 window on the real
// clock until it is closed; without a display the loop runs headless and ends when nothing
// more can happen.
int Run();
// Handles every message waiting now (paints included) and returns the number of loaded forms.
int DoEvents();

// ---- Screen and App ---------------------------------------------------------------------------
struct ScreenInfo {
    std::int32_t Width = 0;   // twips
    std::int32_t Height = 0;  // twips
    std::int32_t TwipsPerPixelX = 15;
    std::int32_t TwipsPerPixelY = 15;
};
ScreenInfo Screen();

struct AppInfo {
    std::int32_t hInstance = 0;
    std::int32_t ThreadID = 0;
    std::string Path;     // the folder of the program, without a trailing slash
    std::string EXEName;  // the program's file name without its extension
};
AppInfo App();

// ---- Time and chance --------------------------------------------------------------------------
// Seconds since midnight on the desktop clock, in 1/100 s steps (Timer).
float Timer();
// The next value in [0, 1) (Rnd with no argument or a positive one). A negative argument
// re-seeds with that number and returns the value it gives; 0 repeats the last value.
float Rnd(float argument = 1.0f);
// Seeds the generator from the clock, or from a number.
void Randomize();
void Randomize(double seed);

// ---- Message boxes ----------------------------------------------------------------------------
struct MessageBoxRecord {
    std::string title;
    std::string text;
    unsigned style = 0;
    int answer = 0;  // IDOK, IDYES, ... as MessageBoxA returned it
};
// Shows a modal message box (OK only unless `style` asks otherwise) through MessageBoxA and
// returns its answer (IDYES, IDNO, ...); headless runs answer the box's default button or the
// next queued answer (user::QueueMessageBoxAnswers). Every box is also kept in the log.
int MsgBox(const std::string& text, unsigned style = 0, const std::string& title = "");
const std::vector<MessageBoxRecord>& MessageBoxLog();
void ClearMessageBoxLog();

// Drops loaded forms and the logs (between tests).
void ResetHostState();

}  // namespace brimlox::host
