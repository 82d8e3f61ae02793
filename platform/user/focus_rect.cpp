// DrawFocusRect: the dotted focus frame. Every other pixel of the rectangle's one-pixel border
// is inverted, so drawing the same frame twice restores what was under it; the DC's colours,
// pen and ROP play no part. The dots run around the border from its top-right pixel, which is
// always one of them, as wine's Windows implementation draws them (tools/wine/).
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace {

void InvertPixel(HDC hdc, int x, int y) { PatBlt(hdc, x, y, 1, 1, DSTINVERT); }

// Inverts the border pixels whose distance (along x plus along y) from the top-right pixel is
// even: the dots of a dotted line walked around the frame.
void InvertDottedBorder(HDC hdc, const RECT& r) {
    const int startX = r.right - 1;
    const int startY = r.top;
    auto dot = [&](int x, int y) {
        if (((startX - x) + (y - startY)) % 2 == 0) InvertPixel(hdc, x, y);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        dot(r.right - 1, y);
    }
}

}  // namespace

WINBOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    const DWORD kind = GetObjectType(hdc);
    if (!rect || (kind != OBJ_DC && kind != OBJ_MEMDC)) return FALSE;
    RECT r{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
           std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return TRUE;
    if (width >= 2 && height >= 2) {
        InvertDottedBorder(hdc, r);
    } else if (width + height > 2) {
        // A frame one pixel thin folds onto itself: only its first dot stays inverted (a single
        // pixel is inverted twice and keeps its colour).
        InvertPixel(hdc, r.right - 1, r.top);
    }
    return TRUE;
}
