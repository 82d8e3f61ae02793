// TraceCall: formats one call as a JSON line while the call runs. Arguments are formatted
// before the call draws, so the recorder can write what the replay needs first (#dc, #bitmap,
// #bits) ahead of the line; the line itself is written when the return value arrives.
#include "platform/gdi/trace.h"

#include <cstdio>

#include "platform/gdi/trace_base64.h"
#include "platform/gdi/trace_recorder.h"
#include "platform/gdi/trace_surface.h"

namespace brimlox::gdi {

// JSON has no 8-bit strings: each byte becomes the code point of the same value, which the
// replay turns back into that byte (Context::Text).
void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c >= 0x80) {
                    // 8-bit text is kept as code points U+0000..U+00FF.
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

void AppendLogFont(std::string& out, const LOGFONTA& lf) {
    auto field = [&](const char* name, long v) {
        out += '"';
        out += name;
        out += "\":" + std::to_string(v) + ',';
    };
    out += '{';
    field("lfHeight", lf.lfHeight);
    field("lfWidth", lf.lfWidth);
    field("lfEscapement", lf.lfEscapement);
    field("lfOrientation", lf.lfOrientation);
    field("lfWeight", lf.lfWeight);
    field("lfItalic", lf.lfItalic);
    field("lfUnderline", lf.lfUnderline);
    field("lfStrikeOut", lf.lfStrikeOut);
    field("lfCharSet", lf.lfCharSet);
    field("lfOutPrecision", lf.lfOutPrecision);
    field("lfClipPrecision", lf.lfClipPrecision);
    field("lfQuality", lf.lfQuality);
    field("lfPitchAndFamily", lf.lfPitchAndFamily);
    out += "\"lfFaceName\":";
    std::size_t n = 0;
    while (n < LF_FACESIZE && lf.lfFaceName[n]) ++n;
    AppendJsonString(out, std::string_view(lf.lfFaceName, n));
    out += '}';
}

void AppendLogBrush(std::string& out, const LOGBRUSH& lb) {
    out += "{\"lbStyle\":" + std::to_string(lb.lbStyle) + ",\"lbColor\":" + std::to_string(lb.lbColor) +
           ",\"lbHatch\":" + std::to_string(lb.lbHatch) + '}';
}

bool TraceStart(const std::string& path, std::string* error) { return TraceRecorder::Instance().Start(path, error); }
void TraceFlush() { TraceRecorder::Instance().Flush(); }
void TraceStop() { TraceRecorder::Instance().Stop(); }

void TraceSurfaceChanged(const Surface& surface) {
    TraceRecorder& r = TraceRecorder::Instance();
    if (r.Active()) r.NoteSurfaceChanged(surface);
}

bool TraceActive() {
    TraceRecorder& r = TraceRecorder::Instance();
    r.CheckEnvironment();
    return r.Active();
}

// The outermost call while the gate is open: the environment is checked once, and the line
// is built only while a file is open.
void TraceCall::Begin(const char* op) {
    TraceRecorder& r = TraceRecorder::Instance();
    r.CheckEnvironment();
    if (!r.Active()) return;
    active_ = true;
    r.BeginCall(op);
    line_ = "{\"op\":";
    AppendJsonString(line_, op);
    line_ += ",\"args\":[";
}

// A call that returns without Return (a void call) is written without "ret".
void TraceCall::End() {
    line_ += stage_ == 0 ? "]}\n" : "}\n";
    TraceRecorder::Instance().WriteCall(line_);
}

void TraceCall::Separator() {
    if (!first_) line_ += ',';
    first_ = false;
}

void TraceCall::BeginOut() {
    line_ += stage_ == 0 ? "],\"out\":" : ",\"out\":";
    stage_ = 1;
    first_ = true;
}

void TraceCall::BeginReturn() {
    line_ += stage_ == 0 ? "],\"ret\":" : ",\"ret\":";
    stage_ = 2;
    first_ = true;
}

void TraceCall::Finish() {
    line_ += "}\n";
    active_ = false;
    TraceRecorder::Instance().WriteCall(line_);
}

void TraceCall::Arg(int v) { Separator(); line_ += std::to_string(v); }
void TraceCall::Arg(unsigned v) { Separator(); line_ += std::to_string(v); }
void TraceCall::Arg(long v) { Separator(); line_ += std::to_string(v); }
void TraceCall::Arg(unsigned long v) { Separator(); line_ += std::to_string(v); }
void TraceCall::Arg(long long v) { Separator(); line_ += std::to_string(v); }
void TraceCall::Arg(unsigned long long v) { Separator(); line_ += std::to_string(v); }
void TraceCall::Arg(double v) {
    Separator();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    line_ += buf;
}
void TraceCall::Arg(std::nullptr_t) { Separator(); line_ += "null"; }
void TraceCall::Arg(const char* text) {
    Separator();
    if (!text) { line_ += "null"; return; }
    AppendJsonString(line_, text);
}
void TraceCall::Arg(TraceText t) {
    Separator();
    if (!t.text) { line_ += "null"; return; }
    AppendJsonString(line_, t.length < 0 ? std::string_view(t.text) : std::string_view(t.text, t.length));
}
void TraceCall::Arg(TraceBytes b) {
    Separator();
    if (!b.data) { line_ += "null"; return; }
    line_ += '"';
    AppendBase64(line_, b.data, b.size);
    line_ += '"';
}
void TraceCall::Arg(const RECT* r) {
    if (!r) { Separator(); line_ += "null"; return; }
    Arg(*r);
}
void TraceCall::Arg(const RECT& r) {
    Separator();
    line_ += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
             std::to_string(r.right) + ',' + std::to_string(r.bottom) + ']';
}
void TraceCall::Arg(const POINT& p) {
    Separator();
    line_ += '[' + std::to_string(p.x) + ',' + std::to_string(p.y) + ']';
}
void TraceCall::Arg(const POINT* p) {
    if (!p) { Separator(); line_ += "null"; return; }
    Arg(*p);
}
void TraceCall::Arg(const SIZE& s) {
    Separator();
    line_ += '[' + std::to_string(s.cx) + ',' + std::to_string(s.cy) + ']';
}
void TraceCall::Arg(std::span<const POINT> points) {
    Separator();
    line_ += '[';
    bool firstPoint = true;
    for (const POINT& p : points) {
        if (!firstPoint) line_ += ',';
        firstPoint = false;
        line_ += '[' + std::to_string(p.x) + ',' + std::to_string(p.y) + ']';
    }
    line_ += ']';
}
void TraceCall::Arg(std::span<const INT> values) {
    Separator();
    line_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) line_ += ',';
        line_ += std::to_string(values[i]);
    }
    line_ += ']';
}
void TraceCall::Arg(std::span<const DWORD> values) {
    Separator();
    line_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) line_ += ',';
        line_ += std::to_string(values[i]);
    }
    line_ += ']';
}
void TraceCall::Arg(const LOGFONTA* lf) {
    Separator();
    if (!lf) { line_ += "null"; return; }
    AppendLogFont(line_, *lf);
}
void TraceCall::Arg(const LOGBRUSH* lb) {
    Separator();
    if (!lb) { line_ += "null"; return; }
    AppendLogBrush(line_, *lb);
}
void TraceCall::Arg(const LOGPEN* lp) {
    Separator();
    if (!lp) { line_ += "null"; return; }
    line_ += "{\"lopnStyle\":" + std::to_string(lp->lopnStyle) + ",\"lopnWidth\":[" +
             std::to_string(lp->lopnWidth.x) + ',' + std::to_string(lp->lopnWidth.y) +
             "],\"lopnColor\":" + std::to_string(lp->lopnColor) + '}';
}
namespace {
// The colour table of an indexed DIB, or the bit fields of one that has them, as numbers.
void AppendColourTable(std::string& line, const BITMAPINFO& bi) {
    const BITMAPINFOHEADER& h = bi.bmiHeader;
    std::size_t count = 0;
    if (h.biBitCount <= 8 && h.biBitCount > 0) count = h.biClrUsed ? h.biClrUsed : std::size_t{1} << h.biBitCount;
    else if (h.biCompression == BI_BITFIELDS) count = 3;
    if (count == 0 || count > 256 || h.biSize != sizeof(BITMAPINFOHEADER)) return;
    const auto* words = reinterpret_cast<const DWORD*>(bi.bmiColors);
    line += ",\"bmiColors\":[";
    for (std::size_t i = 0; i < count; ++i) {
        if (i) line += ',';
        line += std::to_string(words[i]);
    }
    line += ']';
}
}  // namespace

void TraceCall::Arg(const BITMAPINFO* bi) {
    Separator();
    if (!bi) { line_ += "null"; return; }
    const BITMAPINFOHEADER& h = bi->bmiHeader;
    line_ += "{\"biSize\":" + std::to_string(h.biSize) + ",\"biWidth\":" + std::to_string(h.biWidth) +
             ",\"biHeight\":" + std::to_string(h.biHeight) + ",\"biPlanes\":" + std::to_string(h.biPlanes) +
             ",\"biBitCount\":" + std::to_string(h.biBitCount) + ",\"biCompression\":" +
             std::to_string(h.biCompression) + ",\"biSizeImage\":" + std::to_string(h.biSizeImage) +
             ",\"biXPelsPerMeter\":" + std::to_string(h.biXPelsPerMeter) + ",\"biYPelsPerMeter\":" +
             std::to_string(h.biYPelsPerMeter) + ",\"biClrUsed\":" + std::to_string(h.biClrUsed) +
             ",\"biClrImportant\":" + std::to_string(h.biClrImportant);
    AppendColourTable(line_, *bi);
    line_ += '}';
}
void TraceCall::Arg(const TEXTMETRICA& tm) {
    Separator();
    line_ += "{\"tmHeight\":" + std::to_string(tm.tmHeight) + ",\"tmAscent\":" + std::to_string(tm.tmAscent) +
             ",\"tmDescent\":" + std::to_string(tm.tmDescent) + ",\"tmInternalLeading\":" +
             std::to_string(tm.tmInternalLeading) + ",\"tmExternalLeading\":" +
             std::to_string(tm.tmExternalLeading) + ",\"tmAveCharWidth\":" + std::to_string(tm.tmAveCharWidth) +
             ",\"tmMaxCharWidth\":" + std::to_string(tm.tmMaxCharWidth) + ",\"tmWeight\":" +
             std::to_string(tm.tmWeight) + ",\"tmOverhang\":" + std::to_string(tm.tmOverhang) +
             ",\"tmItalic\":" + std::to_string(tm.tmItalic) + ",\"tmUnderlined\":" +
             std::to_string(tm.tmUnderlined) + ",\"tmStruckOut\":" + std::to_string(tm.tmStruckOut) +
             ",\"tmCharSet\":" + std::to_string(tm.tmCharSet) + '}';
}

// Argument handles may need describing before the call; handed-back handles become known.
void TraceCall::Handle(std::uint32_t value, int) {
    Separator();
    line_ += std::to_string(value);
    if (value == 0) return;
    if (stage_ == 0) TraceRecorder::Instance().NoteArgument(value);
    else TraceRecorder::Instance().NoteResult(value);
}
void TraceCall::Arg(HDC h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HBITMAP h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HPEN h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HBRUSH h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HFONT h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HPALETTE h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HGDIOBJ h) { Handle(HandleValue(h), 0); }
void TraceCall::Arg(HWND h) { Handle(HandleValue(h), 0); }

}  // namespace brimlox::gdi
