// The gallery's three ways to run: live in an SDL2 window on the real clock, headless (the
// drawing scenes and a scripted tour of the main form written as PNG files with an index),
// and a replay of an input script whose screenshots become a picture strip.
#pragma once

#include <string>

namespace brimlox::gallery {

struct Options {
    std::string out = "gallery-out";
    std::string forms;   // empty: the source tree's forms/ folder
    std::string script;  // empty: no script
    std::string page;    // the form shown live or scripted: empty or "main", or "dreambars"
    bool headless = false;
};

// The names --page accepts.
bool KnownPage(const std::string& page);

// True when DISPLAY or WAYLAND_DISPLAY names a display.
bool DisplayNamed();

// Each returns the process exit status (0 ok, 1 runtime failure, 2 bad input) and reports
// problems on standard error.
int RunLive(const Options& options);
int RunHeadless(const Options& options);
int RunScript(const Options& options, bool showWindow);

}  // namespace brimlox::gallery
