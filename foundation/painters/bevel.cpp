#include "foundation/painters/bevel.h"

#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

RECT workRect{};

namespace {

void Edge(HDC hdc, UINT edge, UINT flags) { DrawEdge(hdc, &workRect, edge, flags); }
void Shrink(int by) { InflateRect(&workRect, -by, -by); }

// Two edges, one inside the other.
void Nested(HDC hdc, UINT outer, int outerWidth, UINT inner, int innerWidth, UINT flags) {
    Edge(hdc, outer, flags);
    Shrink(outerWidth);
    Edge(hdc, inner, flags);
    Shrink(innerWidth);
}

// A flat raised edge with a single-pixel edge drawn over it on the same rectangle.
void FlatWithOverlay(HDC hdc, UINT overlay, UINT flags) {
    Edge(hdc, EDGE_RAISED, flags | BF_FLAT);
    Edge(hdc, overlay, flags);
    Shrink(4);
}

}  // namespace

void DrawBevel(HDC hdc, int style, UINT flags) {
    switch (style) {
        case Inset: Edge(hdc, EDGE_SUNKEN, flags), Shrink(4); break;
        case Outlined: Nested(hdc, BDR_RAISEDINNER, 1, BDR_SUNKENOUTER, 3, flags); break;
        case Bump: Nested(hdc, EDGE_RAISED, 2, EDGE_SUNKEN, 2, flags); break;
        case Raised: Edge(hdc, EDGE_RAISED, flags), Shrink(4); break;
        case Dip: Nested(hdc, EDGE_SUNKEN, 2, EDGE_RAISED, 2, flags); break;
        case Etched: Edge(hdc, EDGE_ETCHED, flags), Shrink(4); break;
        case SoftRaised: FlatWithOverlay(hdc, BDR_RAISEDINNER, flags); break;
        case SoftInset: FlatWithOverlay(hdc, BDR_SUNKENOUTER, flags); break;
        case FlatOutline: Edge(hdc, EDGE_RAISED, flags | BF_FLAT), Shrink(4); break;
        case MonoOutline: Edge(hdc, EDGE_RAISED, flags | BF_MONO), Shrink(4); break;
        default: break;  // NoBevel and unknown styles draw nothing
    }
}

}  // namespace brimlox::foundation
