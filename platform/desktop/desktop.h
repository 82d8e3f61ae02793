// The desktop: the screen surface that top-level windows are composed onto, the clock, and the
// input source feeding the message loop. One instance per process (one UI thread).
//
// Composition is incremental: a window's pixels reach the screen when its paint ends, its DC is
// released, or it moves, shows or hides (a window without a frame shows nothing of its own before
// it paints, so it reaches the screen with its first paint instead); when a window repaints with
// its children at once (RedrawWindow, UpdateWindow) they reach it after the last of them has
// painted, and before a DC on the screen itself is handed out, whatever is still to be composed is.
// Nothing else overwrites the screen, so drawing on the screen DC (GetDC(0)) stays visible over
// every window until a window under it repaints, exactly as on a Windows desktop without a
// compositor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/clock.h"
#include "platform/desktop/event_queue.h"
#include "platform/desktop/input_source.h"
#include "platform/gdi/surface.h"

namespace brimlox::desktop {

struct DesktopSettings {
    int width = 1024;
    int height = 768;
    int twipsPerPixel = 15;
    // Headless runs have nobody to answer a dialog: message boxes are logged and answered with
    // their default button at once (or with the answers a test queued). A presenter that shows the screen to a person turns this off.
    bool headlessDialogs = true;
};

class Desktop {
public:
    // Inline: the message loop asks for the desktop several times per message.
    static Desktop& Instance() {
        static Desktop desktop;
        return desktop;
    }

    // Sets the screen size and scale and recomposes the screen. Sides are clamped to the
    // surface limits; a screen whose pixels cannot be allocated (beyond kMaxSurfaceBytes, or
    // memory refused) leaves the desktop as it was and returns false.
    bool Configure(const DesktopSettings& settings);
    const DesktopSettings& Settings() const { return settings_; }
    gdi::Surface& Screen() { return *screen_; }

    // Clocks: the virtual clock starts at `startMs` and moves only when the loop advances it.
    void UseVirtualClock(std::uint64_t startMs = 0);
    void UseRealClock();
    Clock& GetClock() { return *clock_; }
    std::uint64_t Now() const { return clock_->NowMs(); }

    // The input source; nullptr means no input at all (plain tests).
    void SetInputSource(std::unique_ptr<InputSource> source);
    InputSource* Source() { return source_.get(); }
    // Events produced by the platform itself (SetCursorPos), delivered before the source's.
    void Inject(const InputEvent& event);
    std::optional<std::uint64_t> NextInputTime();
    // Moves the next due event into `out`; false when none is due.
    bool TakeDueInput(std::uint64_t now, InputEvent& out);
    // Virtual clock: the loop never advances the clock past this time; when the next timer or
    // input lies beyond it (or nothing is left), GetMessage reports the end of input.
    std::uint64_t RunLimit() const;
    void SetRunLimit(std::uint64_t ms) { runLimit_ = ms; }
    // How long timers keep running after the last scripted event (default 1000 ms).
    void SetSettleTime(std::uint64_t ms) { settleMs_ = ms; }

    // Screenshots asked for by an input script: called with the name from the script.
    void SetScreenshotHandler(std::function<void(const std::string&)> handler) { screenshot_ = std::move(handler); }
    void TakeScreenshot(const std::string& name);

    // Composes every top-level window, or one screen rectangle, onto the screen. Inside a
    // composition batch the rectangle is only noted, and composed when the batch ends.
    void ComposeAll();
    void Compose(const RECT& screenRect);
    // A batch holds composition back while a window and its children repaint in one go, so
    // the pixels a child paints over its parent's reach the screen once. Batches nest; the
    // outermost one composes what was noted. FlushComposition composes the noted areas at
    // once, inside a batch too: drawing on the screen itself must land over them.
    void BeginComposeBatch() { ++batchDepth_; }
    void EndComposeBatch();
    void FlushComposition();
    // Counts compositions, so presenters know when to show a new frame.
    std::uint64_t FrameSerial() const { return frameSerial_; }

    // Back to a fresh state: virtual clock at 0, no input, default screen (between tests).
    void Reset();

private:
    Desktop();
    DesktopSettings settings_;
    std::unique_ptr<gdi::Surface> screen_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<InputSource> source_;
    EventQueue<InputEvent> injected_;
    std::uint64_t runLimit_ = 0;
    std::uint64_t settleMs_ = 1000;
    std::uint64_t lastInputTime_ = 0;
    std::uint64_t frameSerial_ = 0;
    int batchDepth_ = 0;
    std::vector<RECT> pendingCompose_;  // screen areas noted in the current batch

    void NotePending(const RECT& area);
    void ComposeNow(const RECT& area);
    std::function<void(const std::string&)> screenshot_;
};

// Holds composition back for its lifetime (see Desktop::BeginComposeBatch).
class ComposeBatch {
public:
    ComposeBatch() { Desktop::Instance().BeginComposeBatch(); }
    ~ComposeBatch() { Desktop::Instance().EndComposeBatch(); }
    ComposeBatch(const ComposeBatch&) = delete;
    ComposeBatch& operator=(const ComposeBatch&) = delete;
};

}  // namespace brimlox::desktop
