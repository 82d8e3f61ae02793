#include "foundation/painters/soft_edge.h"

#include <algorithm>

#include "foundation/helpers/colour.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

void DrawSoftEdge(HDC hdc, const RECT& rect, COLORREF color, int width, bool sunken) {
    RECT ring = rect;
    InflateRect(&ring, -width, -width);
    HLS hls = RGBToHLS(GetRValue(color), GetGValue(color), GetBValue(color));
    float light = hls.L, dark = hls.L;
    for (int i = 0; i < width; ++i) {
        InflateRect(&ring, 1, 1);
        light = std::min(light + 0.04f, 1.0f);
        dark = std::max(dark - 0.03f, 0.0f);

        HPEN pen = CreatePen(PS_SOLID, 1, HLSToRGB(hls.H, hls.S, light));
        HGDIOBJ old = SelectObject(hdc, pen);
        MoveToEx(hdc, ring.left, ring.bottom, nullptr);
        if (sunken) {
            LineTo(hdc, ring.right, ring.bottom);
        } else {
            LineTo(hdc, ring.left, ring.top);
        }
        LineTo(hdc, ring.right, ring.top);
        SelectObject(hdc, old);
        DeleteObject(pen);

        pen = CreatePen(PS_SOLID, 1, HLSToRGB(hls.H, hls.S, dark));
        old = SelectObject(hdc, pen);
        if (sunken) {
            LineTo(hdc, ring.left, ring.top);
        } else {
            LineTo(hdc, ring.right, ring.bottom);
        }
        LineTo(hdc, ring.left, ring.bottom);
        SelectObject(hdc, old);
        DeleteObject(pen);
    }
}

}  // namespace brimlox::foundation
