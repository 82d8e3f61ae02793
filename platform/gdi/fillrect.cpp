// FillRect and FrameRect: brush fills that ignore the pen and the ROP2 mode.
#include "platform/gdi/brush.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

// A brush argument of 1..31 names a system colour (index + 1), as window classes use it.
HBRUSH ResolveBrush(HBRUSH brush) {
    auto v = HandleValue(brush);
    if (v >= 1 && v <= static_cast<std::uint32_t>(SYSCOLOR_COUNT)) return GetSysColorBrush(static_cast<int>(v) - 1);
    return brush;
}

void FillLogical(DcObject& dc, RECT r, const raster::BrushPattern& pattern) {
    r = dc.ToSurface(r);
    if (!raster::ClipToDc(dc, r)) return;
    raster::FillRop2(*dc.Target(), r, pattern, R2_COPYPEN);
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    TraceCall tc("FillRect");
    if (tc) tc.Args(hdc, rect, brush);
    DcObject* dc = LookupDc(hdc);
    HBRUSH real = ResolveBrush(brush);
    if (!dc || !rect || !HandleTable::Instance().Get<BrushObject>(real) || !dc->Target()) return tc.Return(0);
    if (IsRectEmpty(rect)) return tc.Return(1);
    FillLogical(*dc, *rect, raster::RealizeBrush(*dc, real));
    return tc.Return(1);
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    TraceCall tc("FrameRect");
    if (tc) tc.Args(hdc, rect, brush);
    DcObject* dc = LookupDc(hdc);
    HBRUSH real = ResolveBrush(brush);
    if (!dc || !rect || !HandleTable::Instance().Get<BrushObject>(real) || !dc->Target()) return tc.Return(0);
    if (IsRectEmpty(rect)) return tc.Return(1);
    raster::BrushPattern pattern = raster::RealizeBrush(*dc, real);
    const RECT& r = *rect;
    FillLogical(*dc, RECT{r.left, r.top, r.right, r.top + 1}, pattern);
    FillLogical(*dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, pattern);
    FillLogical(*dc, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, pattern);
    FillLogical(*dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, pattern);
    return tc.Return(1);
}
