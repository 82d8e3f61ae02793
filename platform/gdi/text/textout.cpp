// TextOutA, ExtTextOutA and the calls that measure text or set how it is anchored.
// Anchoring checked against Windows: TA_TOP puts the baseline tmAscent rows below y (glyph
// rows end just above it), TA_BOTTOM puts it tmDescent rows above y, TA_RIGHT ends the
// advance at x, TA_CENTER starts at x - width / 2; TA_UPDATECP moves the current position
// by the width (left), back by it (right) or not at all (centre); an opaque background
// covers the advance width by tmHeight; ETO_GRAYED changes nothing.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/raster/pattern.h"
#include "platform/gdi/text.h"
#include "platform/gdi/text/paint.h"
#include "platform/gdi/text/text_draw.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace brimlox::gdi::text {

RunFrame AnchorRun(const DcObject& dc, Typeface& face, POINT ref, int width, UINT align) {
    const TEXTMETRICA& tm = face.Metrics();
    int u = 0;
    switch (align & TA_CENTER) {
        case TA_RIGHT: u = -width; break;
        case TA_CENTER: u = -(width / 2); break;
        default: break;
    }
    int v = 0;
    switch (align & TA_BASELINE) {
        case TA_BASELINE: v = 0; break;
        case TA_BOTTOM: v = -tm.tmDescent; break;
        default: v = tm.tmAscent; break;
    }
    POINT s = dc.ToSurface(ref);
    RunFrame frame{s.x, s.y, face.Cos(), face.Sin()};
    RunFrame shifted = frame;
    shifted.originX = frame.ToX(u, v);
    shifted.originY = frame.ToY(u, v);
    return shifted;
}

void DrawRun(DcObject& dc, Typeface& face, const PlacedRun& run, const RunFrame& frame, const RECT& clip,
             bool opaque) {
    Surface& target = *dc.Target();
    const TEXTMETRICA& tm = face.Metrics();
    if (opaque)
        FillBand(target, clip, frame, 0, run.width, -tm.tmAscent, tm.tmDescent,
                 raster::DeviceColor(target, dc.bkColor));
    std::uint32_t ink = raster::DeviceColor(target, dc.textColor);
    PaintGlyphs(target, clip, face, run, frame, ink);
    const Decorations& lines = face.Lines();
    if (lines.underline)
        FillBand(target, clip, frame, 0, run.width, lines.underlineTop, lines.underlineTop + lines.underlineSize, ink);
    if (lines.strikeOut)
        FillBand(target, clip, frame, 0, run.width, lines.strikeTop, lines.strikeTop + lines.strikeSize, ink);
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) r = RECT{0, 0, 0, 0};
    return r;
}

}  // namespace brimlox::gdi::text

using namespace brimlox::gdi::text;

namespace {

// Normalises a rectangle so that left <= right and top <= bottom.
RECT Ordered(const RECT& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

BOOL ExtTextOutImpl(DcObject& dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx) {
    Typeface* face = TypefaceOf(dc.font);
    if (!face || !dc.Target()) return FALSE;
    RECT clip = dc.Clip();
    if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        RECT r = dc.ToSurface(Ordered(*rect));
        if (options & ETO_OPAQUE) {
            RECT fill = Intersect(r, clip);
            if (fill.right > fill.left) raster::FillSolid(*dc.Target(), fill, raster::DeviceColor(*dc.Target(), dc.bkColor));
        }
        if (options & ETO_CLIPPED) clip = Intersect(clip, r);
    }
    PlacedRun run = PlaceRun(*face, std::string_view(text, count), dx, dc.textCharacterExtra);
    bool updateCp = dc.textAlign & TA_UPDATECP;
    POINT ref = updateCp ? dc.currentPos : POINT{x, y};
    RunFrame frame = AnchorRun(dc, *face, ref, run.width, dc.textAlign);
    DrawRun(dc, *face, run, frame, clip, dc.bkMode == OPAQUE);
    if (updateCp) {
        int along = 0;
        if ((dc.textAlign & TA_CENTER) == TA_LEFT) along = run.width;
        else if ((dc.textAlign & TA_CENTER) == TA_RIGHT) along = -run.width;
        dc.currentPos.x += static_cast<LONG>(std::lround(along * face->Cos()));
        dc.currentPos.y -= static_cast<LONG>(std::lround(along * face->Sin()));
    }
    return TRUE;
}

}  // namespace

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx) {
    TraceCall tc("ExtTextOutA");
    if (tc) {
        tc.Args(hdc, x, y, options, rect, TraceText{text, text ? static_cast<int>(count) : 0}, count);
        if (dx && text) tc.Arg(std::span<const INT>(dx, count));
        else tc.Arg(nullptr);
    }
    DcObject* dc = LookupDc(hdc);
    if (!dc || (!text && count > 0) || count > static_cast<UINT>(kMaxTextLength)) return tc.Return(FALSE);
    return tc.Return(ExtTextOutImpl(*dc, x, y, options, rect, text ? text : "", count, dx));
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    TraceCall tc("TextOutA");
    if (tc) tc.Args(hdc, x, y, TraceText{text, text && count > 0 ? count : 0}, count);
    DcObject* dc = LookupDc(hdc);
    if (!dc || count < 0 || count > kMaxTextLength || (!text && count > 0)) return tc.Return(FALSE);
    return tc.Return(ExtTextOutImpl(*dc, x, y, 0, nullptr, text ? text : "", static_cast<UINT>(count), nullptr));
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    TraceCall tc("GetTextExtentPoint32A");
    if (tc) tc.Args(hdc, TraceText{text, text && count > 0 ? count : 0}, count);
    DcObject* dc = LookupDc(hdc);
    Typeface* face = dc ? TypefaceOf(dc->font) : nullptr;
    if (!face || !size || count < 0 || count > kMaxTextLength || (!text && count > 0)) return tc.Return(FALSE);
    const int* advances = face->AllAdvances();
    long long width = static_cast<long long>(dc->textCharacterExtra) * count;
    for (int i = 0; i < count; ++i) width += advances[static_cast<unsigned char>(text[i])];
    size->cx = static_cast<LONG>(std::clamp<long long>(width, -(1LL << 30), 1LL << 30));
    size->cy = face->Metrics().tmHeight;
    if (tc) tc.Out(*size);
    return tc.Return(TRUE);
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
    TraceCall tc("GetTextMetricsA");
    if (tc) tc.Args(hdc);
    DcObject* dc = LookupDc(hdc);
    Typeface* face = dc ? TypefaceOf(dc->font) : nullptr;
    if (!face || !metrics) return tc.Return(FALSE);
    *metrics = face->Metrics();
    if (tc) tc.Out(*metrics);
    return tc.Return(TRUE);
}

UINT GetTextAlign(HDC hdc) {
    DcObject* dc = LookupDc(hdc);
    return dc ? dc->textAlign : GDI_ERROR;
}

UINT SetTextAlign(HDC hdc, UINT align) {
    TraceCall tc("SetTextAlign");
    if (tc) tc.Args(hdc, align);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(GDI_ERROR);
    UINT previous = dc->textAlign;
    dc->textAlign = align & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
    return tc.Return(previous);
}
