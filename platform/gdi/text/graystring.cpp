// GrayStringA: text drawn through a 50 % checkerboard in the brush's colour, the look of
// disabled text on displays without a solid grey. The text (or what the output callback
// draws) is first rendered into a monochrome mask of the given size.
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/pattern.h"
#include "platform/gdi/text.h"
#include "platform/gdi/text/text_draw.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;
using namespace brimlox::gdi::text;

namespace {

// A mask of the text: set where text ink falls, drawn with the DC's font.
std::unique_ptr<Surface> TextMask(DcObject& dc, std::string_view text, int width, int height) {
    auto mask = Surface::Create(width, height, PixelFormat::Mono1);
    Typeface* face = TypefaceOf(dc.font);
    if (!mask || !face) return mask;
    mask->Clear(0);
    PlacedRun run = PlaceRun(*face, text, nullptr, dc.textCharacterExtra);
    RunFrame frame{0, face->Metrics().tmAscent, face->Cos(), face->Sin()};
    PaintGlyphs(*mask, mask->Bounds(), *face, run, frame, 0xFFFFFF);
    return mask;
}

// A mask of what an output callback draws, black on white, on a monochrome memory DC.
std::unique_ptr<Surface> CallbackMask(HDC hdc, GRAYSTRINGPROC output, LPARAM data, int count, int width, int height) {
    auto mask = Surface::Create(width, height, PixelFormat::Mono1);
    if (!mask) return mask;
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HGDIOBJ oldFont = SelectObject(memory, GetCurrentObject(hdc, OBJ_FONT));
    RECT all{0, 0, width, height};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(memory, RGB(0, 0, 0));
    SetBkColor(memory, RGB(255, 255, 255));
    bool drawn = output(memory, data, count) != FALSE;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) mask->Put(x, y, drawn && GetPixel(memory, x, y) == 0 ? 0xFFFFFF : 0);
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return mask;
}

}  // namespace

BOOL GrayStringA(HDC hdc, HBRUSH brush, GRAYSTRINGPROC output, LPARAM data, int count, int x, int y, int width,
                 int height) {
    TraceCall tc("GrayStringA");
    const char* text = output ? nullptr : reinterpret_cast<const char*>(data);
    if (text && count <= 0) count = static_cast<int>(std::min<std::size_t>(std::strlen(text), kMaxTextLength));
    if (tc) tc.Args(hdc, brush, TraceText{text, text ? count : 0}, count, x, y, width, height);
    DcObject* dc = LookupDc(hdc);
    if (!dc || !dc->Target() || (!output && !text) || count > kMaxTextLength) return tc.Return(FALSE);
    if ((width == 0 || height == 0) && text) {
        SIZE extent{};
        GetTextExtentPoint32A(hdc, text, count, &extent);
        if (width == 0) width = extent.cx;
        if (height == 0) height = extent.cy;
    }
    width = std::clamp(width, 0, kMaxSurfaceSide);
    height = std::clamp(height, 0, kMaxSurfaceSide);
    if (width == 0 || height == 0) return tc.Return(TRUE);
    auto mask = output ? CallbackMask(hdc, output, data, count, width, height)
                       : TextMask(*dc, std::string_view(text, static_cast<std::size_t>(count)), width, height);
    if (!mask) return tc.Return(FALSE);
    // Checked against Windows: set pixels land where x + y is even, in the brush's colour; a
    // null brush means the brush selected in the DC (white by default, so nothing shows).
    raster::BrushPattern pattern = raster::RealizeBrush(*dc, brush ? brush : dc->brush);
    RECT clip = dc->Clip();
    POINT at = dc->ToSurface(POINT{x, y});
    for (int my = 0; my < height; ++my) {
        for (int mx = 0; mx < width; ++mx) {
            int sx = at.x + mx, sy = at.y + my;
            if (sx < clip.left || sx >= clip.right || sy < clip.top || sy >= clip.bottom) continue;
            if (((sx + sy) & 1) || !mask->Get(mx, my)) continue;
            if (!pattern.null) dc->Target()->Put(sx, sy, pattern.At(sx, sy));
        }
    }
    return tc.Return(TRUE);
}
