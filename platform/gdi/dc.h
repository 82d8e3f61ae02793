// Device context objects: where drawing goes and the state that shapes it. A memory DC draws
// on the bitmap selected into it; a surface DC draws on a surface owned by someone else (a
// window's backing store or the screen), shifted by an origin and limited by a clip rectangle.
#pragma once

#include <vector>

#include "platform/gdi/handles.h"
#include "platform/gdi/surface.h"

namespace brimlox::gdi {

// One figure of a path: points in logical coordinates, closed or open.
struct PathFigure {
    std::vector<POINT> points;
    bool closed = false;
};

class DcObject : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Dc;
    DcObject() : GdiObject(ObjectKind::Dc) {}

    bool memory = true;
    Surface* external = nullptr;  // surface DCs only
    POINT origin{};               // logical (0,0) in surface coordinates
    RECT clip{};                  // surface coordinates; memory DCs clip to the bitmap

    HBITMAP bitmap = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;

    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = 0;
    POINT currentPos{};
    POINT brushOrg{};
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    int textCharacterExtra = 0;

    // Path bracket: open between BeginPath and EndPath; a closed path waits for StrokePath.
    bool pathOpen = false;
    bool pathReady = false;
    std::vector<PathFigure> path;

    // The surface drawing lands on, or nullptr (a memory DC with nothing drawable selected
    // still has the 1x1 stock bitmap, so this is only null for a dead surface DC).
    Surface* Target() const;
    // The rectangle of the target that may be written, in surface coordinates.
    RECT Clip() const;
    // Logical to surface coordinates.
    POINT ToSurface(POINT p) const { return POINT{p.x + origin.x, p.y + origin.y}; }
    RECT ToSurface(const RECT& r) const {
        return RECT{r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
    }
};

// The DC behind a handle, or nullptr.
DcObject* LookupDc(HDC hdc);

// Creates a DC that draws on a surface the caller owns (window or screen). The caller keeps
// the surface alive until DeleteDC, or retargets the DC when the surface is replaced.
HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip);
void RetargetSurfaceDC(HDC hdc, Surface* surface, POINT origin, RECT clip);

}  // namespace brimlox::gdi
