// Paths: between BeginPath and EndPath the outline calls record figures instead of drawing;
// StrokePath draws them with the pen and FillPath fills them with the brush.
#include "platform/gdi/gdi.h"
#include "platform/gdi/line.h"
#include "platform/gdi/raster/polygon.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

template <typename Fn>
BOOL WithDc(const char* op, HDC hdc, Fn fn) {
    TraceCall tc(op);
    if (tc) tc.Args(hdc);
    DcObject* dc = LookupDc(hdc);
    return tc.Return(dc ? fn(*dc) : FALSE);
}

void Discard(DcObject& dc) {
    dc.path.clear();
    dc.pathOpen = false;
    dc.pathReady = false;
}

}  // namespace

BOOL BeginPath(HDC hdc) {
    // A second BeginPath discards the figures recorded so far and starts again.
    return WithDc("BeginPath", hdc, [](DcObject& dc) {
        Discard(dc);
        dc.pathOpen = true;
        return TRUE;
    });
}

BOOL EndPath(HDC hdc) {
    return WithDc("EndPath", hdc, [](DcObject& dc) {
        if (!dc.pathOpen) return FALSE;
        dc.pathOpen = false;
        dc.pathReady = true;
        return TRUE;
    });
}

BOOL AbortPath(HDC hdc) {
    return WithDc("AbortPath", hdc, [](DcObject& dc) {
        Discard(dc);
        return TRUE;
    });
}

BOOL CloseFigure(HDC hdc) {
    return WithDc("CloseFigure", hdc, [](DcObject& dc) {
        if (!dc.pathOpen) return FALSE;
        if (!dc.path.empty()) dc.path.back().closed = true;
        return TRUE;
    });
}

BOOL StrokePath(HDC hdc) {
    return WithDc("StrokePath", hdc, [](DcObject& dc) {
        if (dc.pathOpen || !dc.pathReady) return FALSE;
        std::vector<LogicalFigure> figures;
        // A lone MoveToEx leaves a one-point figure, which draws nothing.
        for (const PathFigure& f : dc.path)
            if (f.points.size() > 1) figures.push_back(LogicalFigure{f.points, f.closed});
        PenPainter pen(dc);
        pen.Draw(figures);
        Discard(dc);
        return TRUE;
    });
}

BOOL FillPath(HDC hdc) {
    return WithDc("FillPath", hdc, [](DcObject& dc) {
        if (dc.pathOpen || !dc.pathReady) return FALSE;
        if (Surface* target = dc.Target()) {
            // Every figure is closed for filling, and all of them form one polygon set.
            std::vector<raster::Ring> rings;
            for (const PathFigure& f : dc.path) {
                if (f.points.size() < 3) continue;
                raster::Ring ring;
                for (const POINT& p : f.points) ring.Add(std::int64_t{p.x} + dc.origin.x, std::int64_t{p.y} + dc.origin.y);
                rings.push_back(std::move(ring));
            }
            raster::CoverageMask mask(dc.Clip());
            raster::FillRings(mask, rings, dc.polyFillMode);
            mask.Paint(*target, raster::RealizeBrush(dc, dc.brush), dc.rop2);
        }
        Discard(dc);
        return TRUE;
    });
}
