// Rectangle arithmetic. These calls touch no DC and are not traced.
#include <algorithm>

#include "platform/gdi/gdi.h"

BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
    if (!r) return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT r) {
    if (!r) return FALSE;
    *r = RECT{};
    return TRUE;
}

BOOL CopyRect(LPRECT dest, const RECT* src) {
    if (!dest || !src) return FALSE;
    *dest = *src;
    return TRUE;
}

BOOL InflateRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left -= dx;
    r->top -= dy;
    r->right += dx;
    r->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left += dx;
    r->top += dy;
    r->right += dx;
    r->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

// An empty intersection leaves an all-zero rectangle, as Windows does.
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest) return FALSE;
    if (!a || !b || IsRectEmpty(a) || IsRectEmpty(b) || a->left >= b->right || b->left >= a->right ||
        a->top >= b->bottom || b->top >= a->bottom) {
        *dest = RECT{};
        return FALSE;
    }
    *dest = RECT{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                 std::min(a->bottom, b->bottom)};
    return TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b) return FALSE;
    bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
    if (ea && eb) {
        *dest = RECT{};
        return FALSE;
    }
    if (ea) { *dest = *b; return TRUE; }
    if (eb) { *dest = *a; return TRUE; }
    *dest = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                 std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL PtInRect(const RECT* r, POINT p) {
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }
