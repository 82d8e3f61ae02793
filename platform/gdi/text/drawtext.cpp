// DrawTextA: lays the text out (layout.cpp), then places each line in the rectangle.
// Placement checked against Windows: DT_CALCRECT keeps left and top and sets right to left
// plus the widest line and bottom to the last line's bottom, whatever the horizontal
// alignment; DT_VCENTER puts the line at top + height / 2 - tmHeight / 2 (each halved on
// its own); with DT_VCENTER or DT_BOTTOM the result is the bottom of the text measured from
// the rectangle's top; an empty text gives an empty rectangle and returns tmHeight. The
// mnemonic underline is one pixel high, one row below the baseline, advance - 1 pixels wide.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/pattern.h"
#include "platform/gdi/text.h"
#include "platform/gdi/text/layout.h"
#include "platform/gdi/text/text_draw.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;
using namespace brimlox::gdi::text;

namespace {

int LineLeft(const RECT& r, int width, UINT format) {
    if (format & DT_CENTER) return r.left + (r.right - r.left) / 2 - width / 2;
    if (format & DT_RIGHT) return r.right - width;
    return r.left;
}

int FirstLineTop(const RECT& r, int lineHeight, UINT format) {
    if (!(format & DT_SINGLELINE)) return r.top;
    if (format & DT_VCENTER) return r.top + (r.bottom - r.top) / 2 - lineHeight / 2;
    if (format & DT_BOTTOM) return r.bottom - lineHeight;
    return r.top;
}

void DrawLine(DcObject& dc, Typeface& face, const LaidText& laid, const LaidLine& line, POINT topLeft,
              const RECT& clip, UINT format) {
    std::string chars = laid.chars.substr(line.begin, line.end - line.begin);
    if (format & DT_EXPANDTABS) std::replace(chars.begin(), chars.end(), '\t', ' ');
    PlacedRun run;
    run.chars = chars;
    run.pens = line.pens;
    run.width = line.width;
    RunFrame frame = AnchorRun(dc, face, topLeft, run.width, TA_LEFT | TA_TOP);
    DrawRun(dc, face, run, frame, clip, dc.bkMode == OPAQUE);
    if (line.mnemonicPen >= 0)
        FillBand(*dc.Target(), clip, frame, line.mnemonicPen, line.mnemonicPen + line.mnemonicWidth - 1, 1, 2,
                 raster::DeviceColor(*dc.Target(), dc.textColor));
}

int DrawTextImpl(DcObject& dc, std::string_view text, RECT& rect, UINT format) {
    Typeface* face = TypefaceOf(dc.font);
    if (!face) return 0;
    const TEXTMETRICA& tm = face->Metrics();
    int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    if (text.empty()) {
        if (format & DT_CALCRECT) rect.right = rect.left, rect.bottom = rect.top;
        return lineHeight;
    }
    LaidText laid = LayoutText(*face, text, format, rect.right - rect.left);
    long long total = static_cast<long long>(laid.lines.size()) * lineHeight;
    int top = FirstLineTop(rect, lineHeight, format);
    bool fromTop = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
    int result = static_cast<int>(std::min<long long>(fromTop ? top + total - rect.top : total, 1 << 30));
    if (format & DT_CALCRECT) {
        rect.right = rect.left + laid.maxWidth;
        rect.bottom = static_cast<LONG>(std::min<long long>(top + total, 1 << 30));
        return result;
    }
    if (!dc.Target()) return result;
    RECT clip = dc.Clip();
    if (!(format & DT_NOCLIP)) clip = Intersect(clip, dc.ToSurface(rect));
    long long y = top;
    bool upright = face->AngleTenths() == 0;
    for (const LaidLine& line : laid.lines) {
        // Upright lines below the clip cannot show; a long text stops costing time there.
        if (upright && y + dc.origin.y >= clip.bottom) break;
        DrawLine(dc, *face, laid, line, POINT{LineLeft(rect, line.width, format), static_cast<LONG>(y)}, clip, format);
        y += lineHeight;
    }
    return result;
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    TraceCall tc("DrawTextA");
    std::size_t length = 0;
    if (text) length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    if (tc) tc.Args(hdc, TraceText{text, static_cast<int>(std::min<std::size_t>(length, kMaxTextLength))}, count, rect, format);
    DcObject* dc = LookupDc(hdc);
    if (!dc || !rect || (!text && count != 0) || length > static_cast<std::size_t>(kMaxTextLength)) return tc.Return(0);
    int result = DrawTextImpl(*dc, std::string_view(text ? text : "", length), *rect, format);
    if (tc) tc.Out(rect);
    return tc.Return(result);
}
