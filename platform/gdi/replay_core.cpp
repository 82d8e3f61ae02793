// Replay handlers for the core GDI calls: DCs and their state, object selection and deletion,
// stock objects, bitmaps, pixels, pens, brushes, FillRect/FrameRect and system colours.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/gdi/trace_replay.h"

using namespace brimlox::gdi;
using namespace brimlox::gdi::replay;

namespace {

using Fn = void (*)(Context&, const Json&, const Json&);

LOGBRUSH LogBrushArg(Context& c, const Json& a, std::size_t i) {
    LOGBRUSH lb;
    lb.lbStyle = c.Field<UINT>(a, i, "lbStyle");
    lb.lbColor = c.Field<COLORREF>(a, i, "lbColor");
    lb.lbHatch = static_cast<std::uintptr_t>(c.Field<std::uint32_t>(a, i, "lbHatch"));
    // A pattern brush names its bitmap in lbHatch, which is a traced handle.
    if (lb.lbStyle == BS_PATTERN)
        lb.lbHatch = reinterpret_cast<std::uintptr_t>(c.Live(static_cast<std::uint32_t>(lb.lbHatch)));
    return lb;
}

// The "set a DC value, return the previous one" calls share one shape.
template <typename T, T (*Set)(HDC, T)>
void SetDcValue(Context& c, const Json& a, const Json&) {
    Set(c.Dc(a, 0), static_cast<T>(c.Int(a, 1)));
}

const HandlerEntry kDcHandlers[] = {
    {"CreateCompatibleDC", [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, CreateCompatibleDC(c.Dc(a, 0))); }},
    {"DeleteDC",
     [](Context& c, const Json& a, const Json&) {
         if (DeleteDC(c.Dc(a, 0))) c.Unbind(c.HandleArg(a, 0));
     }},
    {"SetROP2", SetDcValue<int, SetROP2>},
    {"SetBkMode", SetDcValue<int, SetBkMode>},
    {"SetBkColor", SetDcValue<COLORREF, SetBkColor>},
    {"SetTextColor", SetDcValue<COLORREF, SetTextColor>},
    {"SetPolyFillMode", SetDcValue<int, SetPolyFillMode>},
    {"SetStretchBltMode", SetDcValue<int, SetStretchBltMode>},
    {"SetDCBrushColor", SetDcValue<COLORREF, SetDCBrushColor>},
    {"SetDCPenColor", SetDcValue<COLORREF, SetDCPenColor>},
    {"MoveToEx", [](Context& c, const Json& a, const Json&) { MoveToEx(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), nullptr); }},
    {"SetBrushOrgEx",
     [](Context& c, const Json& a, const Json&) { SetBrushOrgEx(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), nullptr); }},
};

const HandlerEntry kObjectHandlers[] = {
    {"GetStockObject", [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, GetStockObject(c.I(a, 0))); }},
    {"GetSysColorBrush", [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, GetSysColorBrush(c.I(a, 0))); }},
    {"SelectObject",
     [](Context& c, const Json& a, const Json& ret) {
         // The previous object may be one the trace never named (a DC's first bitmap).
         c.BindIfNew(ret, SelectObject(c.Dc(a, 0), c.Object(a, 1)));
     }},
    {"DeleteObject",
     [](Context& c, const Json& a, const Json&) {
         if (DeleteObject(c.Object(a, 0))) c.Unbind(c.HandleArg(a, 0));
     }},
};

// The bits were recorded with the length CreateBitmap reads; fewer bytes would make the
// replayed call read past them, so a short list is refused.
void ReplayCreateBitmap(Context& c, const Json& a, const Json& ret) {
    int width = c.I(a, 0);
    int height = c.I(a, 1);
    UINT bpp = c.U(a, 3);
    c.CheckBitmapSize(width, height);
    std::vector<std::uint8_t> bits = c.Bytes(a, 4);
    if (!bits.empty() && width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide) {
        std::size_t need = static_cast<std::size_t>(DeviceBitmapStride(width, static_cast<int>(bpp))) *
                           static_cast<std::size_t>(height);
        if (bits.size() < need)
            throw ReplayError("argument 5 holds " + std::to_string(bits.size()) + " bytes where " +
                              std::to_string(need) + " are needed");
    }
    c.Bind(ret, CreateBitmap(width, height, c.U(a, 2), bpp, bits.empty() ? nullptr : bits.data()));
}

// A header with room for the largest colour table, which follows it in memory.
struct FullBitmapInfo {
    BITMAPINFO info;
    DWORD more[256] = {};
};

// The colour table or bit fields a trace keeps after the header (older traces have none).
void ReadTraceColours(const Json& a, std::size_t i, FullBitmapInfo& full) {
    if (a.size() <= i || !a[i].is_object() || !a[i].contains("bmiColors")) return;
    const Json& colours = a[i]["bmiColors"];
    const std::string arg = "argument " + std::to_string(i + 1);
    if (!colours.is_array() || colours.size() > 256) throw ReplayError(arg + " has a bad bmiColors table");
    auto* words = reinterpret_cast<DWORD*>(full.info.bmiColors);
    for (std::size_t k = 0; k < colours.size(); ++k) {
        if (!colours[k].is_number_unsigned()) throw ReplayError(arg + " has a bad bmiColors entry");
        words[k] = colours[k].get<DWORD>();
    }
}

// A BITMAPINFO argument: the header's fields and what follows it.
void ReadBitmapInfo(Context& c, const Json& a, std::size_t i, FullBitmapInfo& full) {
    BITMAPINFOHEADER& h = full.info.bmiHeader;
    h.biSize = c.Field<DWORD>(a, i, "biSize");
    h.biWidth = c.Field<LONG>(a, i, "biWidth");
    h.biHeight = c.Field<LONG>(a, i, "biHeight");
    h.biPlanes = c.Field<WORD>(a, i, "biPlanes");
    h.biBitCount = c.Field<WORD>(a, i, "biBitCount");
    h.biCompression = c.Field<DWORD>(a, i, "biCompression");
    h.biSizeImage = c.Field<DWORD>(a, i, "biSizeImage");
    h.biXPelsPerMeter = c.Field<LONG>(a, i, "biXPelsPerMeter");
    h.biYPelsPerMeter = c.Field<LONG>(a, i, "biYPelsPerMeter");
    h.biClrUsed = c.Field<DWORD>(a, i, "biClrUsed");
    h.biClrImportant = c.Field<DWORD>(a, i, "biClrImportant");
    c.CheckBitmapSize(h.biWidth, h.biHeight);
    // The trace keeps only the plain header: a larger one replays as that.
    if (h.biSize > sizeof(BITMAPINFOHEADER)) h.biSize = sizeof(BITMAPINFOHEADER);
    ReadTraceColours(a, i, full);
}

void ReplayCreateDibSection(Context& c, const Json& a, const Json& ret) {
    FullBitmapInfo full;
    ReadBitmapInfo(c, a, 1, full);
    // The bits pointer goes nowhere: writes through it reach the trace as #bits lines.
    void* bits = nullptr;
    c.Bind(ret, CreateDIBSection(c.Dc(a, 0), &full.info, c.U(a, 2), &bits, nullptr, c.U(a, 5)));
}

// The bits were recorded with the length the call reads (whole rows of the band, up to the
// DIB's last scan); fewer bytes would make the replayed call read past them.
void ReplaySetDIBitsToDevice(Context& c, const Json& a, const Json&) {
    FullBitmapInfo full;
    ReadBitmapInfo(c, a, 10, full);
    const BITMAPINFOHEADER& h = full.info.bmiHeader;
    const UINT first = c.U(a, 7), lines = c.U(a, 8);
    std::vector<std::uint8_t> bits = c.Bytes(a, 9);
    const std::int64_t scans = h.biHeight < 0 ? -std::int64_t{h.biHeight} : std::int64_t{h.biHeight};
    if (!bits.empty() && h.biWidth > 0 && h.biWidth <= kMaxSurfaceSide && h.biBitCount <= 32) {
        const std::int64_t rows = std::clamp<std::int64_t>(scans - first, 0, lines);
        const std::size_t need = static_cast<std::size_t>(DibStride(static_cast<int>(h.biWidth), h.biBitCount)) *
                                 static_cast<std::size_t>(rows);
        if (bits.size() < need)
            throw ReplayError("argument 10 holds " + std::to_string(bits.size()) + " bytes where " +
                              std::to_string(need) + " are needed");
    }
    SetDIBitsToDevice(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.U(a, 3), c.U(a, 4), c.I(a, 5), c.I(a, 6), first, lines,
                      bits.empty() ? nullptr : bits.data(), &full.info, c.U(a, 11));
}

const HandlerEntry kBitmapHandlers[] = {
    {"CreateCompatibleBitmap",
     [](Context& c, const Json& a, const Json& ret) {
         c.CheckBitmapSize(c.I(a, 1), c.I(a, 2));
         c.Bind(ret, CreateCompatibleBitmap(c.Dc(a, 0), c.I(a, 1), c.I(a, 2)));
     }},
    {"CreateBitmap", ReplayCreateBitmap},
    {"CreateDIBSection", ReplayCreateDibSection},
    {"SetDIBitsToDevice", ReplaySetDIBitsToDevice},
    {"SetPixel",
     [](Context& c, const Json& a, const Json&) { SetPixel(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.U(a, 3)); }},
};

const HandlerEntry kPenBrushHandlers[] = {
    {"CreatePen", [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, CreatePen(c.I(a, 0), c.I(a, 1), c.U(a, 2))); }},
    {"ExtCreatePen",
     [](Context& c, const Json& a, const Json& ret) {
         LOGBRUSH lb = LogBrushArg(c, a, 2);
         std::vector<DWORD> styles = c.Numbers<DWORD>(a, 4);
         DWORD count = c.U(a, 3);
         // The recorded count and list agree unless the trace was edited; trust the list.
         if (count > styles.size()) count = static_cast<DWORD>(styles.size());
         c.Bind(ret, ExtCreatePen(c.U(a, 0), c.U(a, 1), &lb, count, styles.empty() ? nullptr : styles.data()));
     }},
    {"CreateSolidBrush", [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, CreateSolidBrush(c.U(a, 0))); }},
    {"CreateHatchBrush",
     [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, CreateHatchBrush(c.I(a, 0), c.U(a, 1))); }},
    {"CreatePatternBrush",
     [](Context& c, const Json& a, const Json& ret) { c.Bind(ret, CreatePatternBrush(c.Bitmap(a, 0))); }},
    {"CreateBrushIndirect",
     [](Context& c, const Json& a, const Json& ret) {
         if (c.IsNull(a, 0)) {
             c.Bind(ret, CreateBrushIndirect(nullptr));
             return;
         }
         LOGBRUSH lb = LogBrushArg(c, a, 0);
         c.Bind(ret, CreateBrushIndirect(&lb));
     }},
};

// FillRect and FrameRect: a null rectangle is replayed as null so the call fails as it did;
// Context::Brush keeps 1..31 as system colour indices plus one.
void ReplayRectFill(Context& c, const Json& a, int (*fill)(HDC, const RECT*, HBRUSH)) {
    if (c.IsNull(a, 1)) {
        fill(c.Dc(a, 0), nullptr, c.Brush(a, 2));
        return;
    }
    RECT r = c.Rect(a, 1);
    fill(c.Dc(a, 0), &r, c.Brush(a, 2));
}

const HandlerEntry kFillHandlers[] = {
    {"FillRect", [](Context& c, const Json& a, const Json&) { ReplayRectFill(c, a, FillRect); }},
    {"FrameRect", [](Context& c, const Json& a, const Json&) { ReplayRectFill(c, a, FrameRect); }},
    {"SetSysColors",
     [](Context& c, const Json& a, const Json&) {
         std::vector<INT> indices = c.Numbers<INT>(a, 1);
         std::vector<COLORREF> colors = c.Numbers<COLORREF>(a, 2);
         int count = c.I(a, 0);
         if (count < 0 || static_cast<std::size_t>(count) > indices.size() || static_cast<std::size_t>(count) > colors.size())
             throw ReplayError("argument 1 counts more colours than arguments 2 and 3 hold");
         SetSysColors(count, indices.data(), colors.data());
     }},
};

}  // namespace

void brimlox::gdi::replay::AddCoreHandlers(HandlerTable& table) {
    for (const auto& entry : kDcHandlers) table[entry.op] = entry.handler;
    for (const auto& entry : kObjectHandlers) table[entry.op] = entry.handler;
    for (const auto& entry : kBitmapHandlers) table[entry.op] = entry.handler;
    for (const auto& entry : kPenBrushHandlers) table[entry.op] = entry.handler;
    for (const auto& entry : kFillHandlers) table[entry.op] = entry.handler;
}
