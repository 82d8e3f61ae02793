#include "foundation/painters/soft_edge.h"

#include <algorithm>

#include "foundation/helpers/colour.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

// Draws two sides of a ring in one solid pen: from the current position through `a` to `b`.
void TwoSides(HDC hdc, COLORREF colour, POINT a, POINT b) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(hdc, pen);
    LineTo(hdc, a.x, a.y);
    LineTo(hdc, b.x, b.y);
    SelectObject(hdc, old);
    DeleteObject(pen);
}

}  // namespace

void DrawSoftEdge(HDC hdc, const RECT& rect, COLORREF color, int width, bool sunken) {
    RECT ring = rect;
    InflateRect(&ring, -width, -width);
    HLS hls = RGBToHLS(GetRValue(color), GetGValue(color), GetBValue(color));
    float light = hls.L, dark = hls.L;
    for (int i = 0; i < width; ++i) {
        InflateRect(&ring, 1, 1);
        light = std::min(light + 0.04f, 1.0f);
        dark = std::max(dark - 0.03f, 0.0f);
        const POINT topLeft{ring.left, ring.top}, topRight{ring.right, ring.top};
        const POINT bottomLeft{ring.left, ring.bottom}, bottomRight{ring.right, ring.bottom};
        // The light sides end at the top-right corner, where the dark sides begin.
        MoveToEx(hdc, bottomLeft.x, bottomLeft.y, nullptr);
        TwoSides(hdc, HLSToRGB(hls.H, hls.S, light), sunken ? bottomRight : topLeft, topRight);
        TwoSides(hdc, HLSToRGB(hls.H, hls.S, dark), sunken ? topLeft : bottomRight, bottomLeft);
    }
}

}  // namespace brimlox::foundation
