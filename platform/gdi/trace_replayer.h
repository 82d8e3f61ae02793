// Drawing a trace again. The replayer reads a trace line by line: it applies the #trace
// settings, makes a 32-bpp bitmap for each #surface and binds each #dc to a DC drawing on it
// (version 1: a memory DC over a bitmap of its own for each #dc), a bitmap for each #bitmap,
// rewrites DIB bits on #bits, hands every call to the handler registered for it (trace_replay.h)
// and compares #result pixels with what it drew. At the end it frees every
// object it made and puts the system colours and twips per pixel back.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"

namespace brimlox::gdi::replay {

// A trace that cannot be read: names the line (1-based) and the problem.
class TraceFormatError : public std::runtime_error {
public:
    TraceFormatError(int line, const std::string& problem)
        : std::runtime_error("line " + std::to_string(line) + ": " + problem), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

struct ReplayOptions {
    // Largest surface or bitmap, in pixels, the trace may ask for (0: the GDI's own limit).
    std::int64_t maxBitmapPixels = 0;
    // Whether every #dc surface is kept for Surfaces(), or only the first. A window DC is
    // made for each paint, so a long trace holds many; dropping the others bounds memory.
    bool keepEverySurface = true;
};

// A surface the replay drew: a #surface of the trace (a #dc in version 1) or, in a trace
// without any, the bitmap last held by the first memory DC the trace created.
struct ReplayedSurface {
    std::uint32_t handle = 0;  // the #surface id; in version 1 the DC's handle as traced
    bool fromDcLine = true;    // false for the first-memory-DC fallback
    std::unique_ptr<Surface> pixels;  // 32 bpp, as drawn at the end of the trace; null if not kept
};

// The first #result that differs from what the replay drew at that point.
struct ResultMismatch {
    int line = 0;              // the #result line
    int surface = 0;           // 1-based, in #dc order
    std::uint32_t handle = 0;  // the DC of a version 1 surface; 0 in version 2
    bool sizeDiffers = false;
    int x = 0;
    int y = 0;
    COLORREF drawn = 0;
    COLORREF traced = 0;
    std::string Describe() const;
};

class TraceReplayer {
public:
    explicit TraceReplayer(ReplayOptions options = {}) : options_(options) {}

    // Reads and draws the whole trace. Throws TraceFormatError for a malformed trace; every
    // object made so far is freed either way.
    void Run(std::istream& in);

    const std::vector<ReplayedSurface>& Surfaces() const { return surfaces_; }
    // Whether the trace had #surface (version 1: #dc) lines (otherwise Surfaces() holds the fallback, if any).
    bool HadDcLines() const { return hadDcLines_; }
    int ResultsChecked() const { return resultsChecked_; }
    const std::optional<ResultMismatch>& FirstMismatch() const { return mismatch_; }

private:
    ReplayOptions options_;
    std::vector<ReplayedSurface> surfaces_;
    bool hadDcLines_ = false;
    int resultsChecked_ = 0;
    std::optional<ResultMismatch> mismatch_;
};

}  // namespace brimlox::gdi::replay
