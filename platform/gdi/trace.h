// The drawing trace: when BRIMLOX_GDI_TRACE names a file, every drawing call appends one JSON
// line with its name, arguments in Windows order, return value and output parameters (the
// format is described in docs/trace-format.md). A drawing call records itself like this:
//
//     WINBOOL Rectangle(HDC hdc, int l, int t, int r, int b) {
//         TraceCall tc("Rectangle");
//         if (tc) tc.Args(hdc, l, t, r, b);   // before drawing: may record the DC's pixels
//         ...
//         return tc.Return(result);
//     }
//
// Only the outermost traced call is recorded, so a call implemented through other public
// calls appears once. When tracing is off a TraceCall costs one branch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/gdi/wintypes.h"

namespace brimlox::gdi {

// Raw bytes recorded as base64 (bits passed to CreateBitmap and similar).
struct TraceBytes {
    const void* data;
    std::size_t size;
};

// A text argument with an explicit length (-1: up to the terminating NUL).
struct TraceText {
    const char* text;
    int length;
};

// What every traced call looks at first. It is inline so that a call made while no trace is
// being written costs a counter and one branch, without leaving the caller.
struct TraceGate {
    int depth = 0;     // nesting of traced calls: only the outermost is recorded
    bool open = true;  // the environment is still to be checked, or a trace file is open
};
inline TraceGate g_traceGate;

class TraceCall {
public:
    explicit TraceCall(const char* op) {
        if (++g_traceGate.depth == 1 && g_traceGate.open) Begin(op);
    }
    ~TraceCall() {
        if (active_) End();
        --g_traceGate.depth;
    }
    TraceCall(const TraceCall&) = delete;
    TraceCall& operator=(const TraceCall&) = delete;

    explicit operator bool() const { return active_; }

    template <typename... A>
    TraceCall& Args(const A&... args) {
        if (active_) (Arg(args), ...);
        return *this;
    }
    // Records an output parameter under "out".
    template <typename T>
    TraceCall& Out(const T& value) {
        if (active_) {
            BeginOut();
            Arg(value);
        }
        return *this;
    }
    // Records the return value, writes the line and hands the value back.
    template <typename T>
    T Return(T value) {
        if (active_) {
            BeginReturn();
            Arg(value);
            Finish();
        }
        return value;
    }

    void Arg(int v);
    void Arg(unsigned v);
    void Arg(long v);
    void Arg(unsigned long v);
    void Arg(long long v);
    void Arg(unsigned long long v);
    void Arg(double v);
    void Arg(std::nullptr_t);
    void Arg(const char* text);
    void Arg(TraceText text);
    void Arg(TraceBytes bytes);
    void Arg(const RECT* r);
    void Arg(const RECT& r);
    void Arg(const POINT& p);
    void Arg(const POINT* p);
    void Arg(const SIZE& s);
    void Arg(std::span<const POINT> points);
    void Arg(std::span<const INT> values);
    void Arg(std::span<const DWORD> values);
    void Arg(const LOGFONTA* lf);
    void Arg(const LOGBRUSH* lb);
    void Arg(const LOGPEN* lp);
    void Arg(const BITMAPINFO* bi);
    void Arg(const TEXTMETRICA& tm);
    void Arg(HDC h);
    void Arg(HBITMAP h);
    void Arg(HPEN h);
    void Arg(HBRUSH h);
    void Arg(HFONT h);
    void Arg(HPALETTE h);
    void Arg(HGDIOBJ h);
    void Arg(HWND h);
    template <typename T, std::size_t N>
    void Arg(std::span<T, N> s) {
        Arg(std::span<const std::remove_const_t<T>>(s.data(), s.size()));
    }

private:
    void Begin(const char* op);
    void End();
    void Separator();
    void BeginOut();
    void BeginReturn();
    void Finish();
    void Handle(std::uint32_t value, int kindHint);

    bool active_ = false;
    bool first_ = true;
    int stage_ = 0;  // 0 arguments, 1 out, 2 return
    std::string line_;
};

// Tracing control. Tracing starts on its own when BRIMLOX_GDI_TRACE is set; tests and tools
// may also start it explicitly. Stopping writes the final pixels of every recorded surface.
bool TraceStart(const std::string& path, std::string* error = nullptr);
// Writes the current pixels of every recorded surface (#result) and flushes the file;
// tracing goes on.
void TraceFlush();
void TraceStop();
bool TraceActive();

}  // namespace brimlox::gdi
