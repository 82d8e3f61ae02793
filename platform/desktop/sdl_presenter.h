// The live presenter: an SDL2 window that shows the composed screen 1:1, turns real mouse and
// keyboard events into desktop input, and shows the current pointer shape. It is the input
// source of a live run (on the real clock); the message loop waits in it for events and it
// presents a new frame whenever the screen changed.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/desktop/input_source.h"
#include "platform/gdi/wintypes.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace brimlox::desktop {

// Whether a display is named for a live window (DISPLAY or WAYLAND_DISPLAY set and not empty).
bool DisplayNamed();

class SdlPresenter : public InputSource {
public:
    // Opens the window at the desktop's screen size; nullptr with a message when SDL cannot.
    static std::unique_ptr<SdlPresenter> Open(const std::string& title, std::string* error);
    ~SdlPresenter() override;

    std::optional<std::uint64_t> NextTime() override;
    std::optional<InputEvent> TakeDue(std::uint64_t now) override;
    bool Exhausted() const override { return false; }
    void Wait(std::uint64_t timeoutMs) override;

    // Shows the screen if it changed since the last frame, and the current pointer shape.
    void Present();
    // Reads back what the window shows and writes it as PNG.
    bool SaveWindowPng(const std::string& path, std::string* error = nullptr);

private:
    SdlPresenter() = default;
    void Pump();
    void Translate(const SDL_Event& e);
    void UpdateCursor();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::uint64_t shownSerial_ = ~0ull;
    HCURSOR shownCursor_ = nullptr;
    std::map<HCURSOR, SDL_Cursor*> cursors_;
    std::deque<InputEvent> pending_;
};

}  // namespace brimlox::desktop
