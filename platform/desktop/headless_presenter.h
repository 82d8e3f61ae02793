// The headless presenter: writes the composed screen, or one window, to PNG files. Installed
// on the desktop, it answers the "screenshot NAME" lines of input scripts with NAME.png in
// its output folder.
#pragma once

#include <string>

#include "platform/gdi/wintypes.h"

namespace brimlox::desktop {

class HeadlessPresenter {
public:
    // Screenshots of scripts go to `outputDir` (created on demand).
    explicit HeadlessPresenter(std::string outputDir);
    ~HeadlessPresenter();
    HeadlessPresenter(const HeadlessPresenter&) = delete;
    HeadlessPresenter& operator=(const HeadlessPresenter&) = delete;

    // The whole screen, optionally with the current pointer drawn at the cursor position.
    bool WriteScreen(const std::string& path, bool withCursor = false, std::string* error = nullptr);
    // One window as it shows on the screen: its screen rectangle, frame included, or with
    // `withFrame` false its client area alone.
    bool WriteWindow(HWND hwnd, const std::string& path, std::string* error = nullptr, bool withFrame = true);
    // The files written so far for script screenshots.
    int ScreenshotCount() const { return screenshots_; }

private:
    std::string outputDir_;
    int screenshots_ = 0;
};

}  // namespace brimlox::desktop
