// LineTo and Polyline, and the pen painter that every outline drawing call shares.
#include "platform/gdi/line.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/brush.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"

namespace brimlox::gdi {

namespace {

// Widest pen drawn; anything wider covers every surface anyway.
constexpr int kMaxPenWidth = 1 << 17;

// Entries alternate dash and gap; an odd count therefore repeats with the roles swapped
// (checked against Windows: {2,3,4} is dash 2, gap 3, dash 4, gap 2, dash 3, gap 4).
template <typename T>
std::vector<T> Alternating(std::vector<T> entries) {
    if (entries.size() % 2) entries.insert(entries.end(), entries.begin(), entries.end());
    return entries;
}

// Dash patterns of cosmetic pens in pixels (checked against Windows: dash 18 on 6 off, dot
// 3 and 3, dash-dot 9 6 3 6, dash-dot-dot 9 3 3 3 3 3, alternate 1 and 1).
std::vector<int> CosmeticDashes(const PenObject& pen) {
    switch (pen.Style()) {
        case PS_DASH: return {18, 6};
        case PS_DOT: return {3, 3};
        case PS_DASHDOT: return {9, 6, 3, 6};
        case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
        case PS_ALTERNATE: return {1, 1};
        case PS_USERSTYLE: {
            // User style entries of a cosmetic pen count in style units of three pixels
            // (checked against Windows: {2,3,4} draws 6 on, 9 off, 12 on, 6 off ...).
            std::vector<int> out;
            for (DWORD v : pen.userStyle) out.push_back(static_cast<int>(std::min<DWORD>(v, 1u << 20)) * 3);
            return Alternating(out);
        }
        default: return {};
    }
}

// Dash patterns of geometric pens scale with the width (a width-3 PS_DASH pen draws 9 on,
// 3 off, checked against Windows); user styles are in logical units.
std::vector<double> GeometricDashes(const PenObject& pen, int width) {
    std::vector<double> units;
    switch (pen.Style()) {
        case PS_DASH: units = {3, 1}; break;
        case PS_DOT: units = {1, 1}; break;
        case PS_DASHDOT: units = {3, 1, 1, 1}; break;
        case PS_DASHDOTDOT: units = {3, 1, 1, 1, 1, 1}; break;
        case PS_USERSTYLE:
            for (DWORD v : pen.userStyle) units.push_back(static_cast<double>(v));
            return Alternating(units);
        default: return {};
    }
    for (double& u : units) u *= width;
    return units;
}

raster::BrushPattern PenBrush(const DcObject& dc, const Surface& target, const PenObject& pen, COLORREF color) {
    raster::BrushPattern p;
    const LOGBRUSH& lb = pen.brush;
    if (pen.Extended() && lb.lbStyle == BS_NULL) return p;
    p.null = false;
    p.originX = dc.origin.x + dc.brushOrg.x;
    p.originY = dc.origin.y + dc.brushOrg.y;
    if (pen.Extended() && lb.lbStyle == BS_HATCHED) {
        // A hatched wide pen paints its hatch, with the background as the DC's mode says.
        std::uint32_t fore = raster::DeviceColor(target, lb.lbColor), back = raster::DeviceColor(target, dc.bkColor);
        for (int i = 0; i < 64; ++i) {
            bool line = HatchBit(static_cast<int>(lb.lbHatch), i % 8, i / 8);
            p.values[i] = line ? fore : back;
            p.opaque[i] = line || dc.bkMode != TRANSPARENT;
        }
        return p;
    }
    p.solid = true;
    p.solidValue = raster::DrawingColor(target, color, dc.bkColor);
    return p;
}

}  // namespace

PenPainter::PenPainter(DcObject& dc) : dc_(dc), target_(dc.Target()) {
    const PenObject* pen = LookupPen(dc.pen);
    if (!target_ || !pen || pen->Style() == PS_NULL) return;
    if (pen->Extended() && pen->brush.lbStyle == BS_NULL) return;
    COLORREF color = pen->dcPen ? dc.dcPenColor : pen->color;
    insideFrame_ = pen->Style() == PS_INSIDEFRAME;
    bool wide = pen->Extended() ? pen->Geometric() && pen->width > 1 : pen->width > 1;
    if (wide) ResolveGeometric(*pen, color);
    else ResolveCosmetic(*pen, color);
}

void PenPainter::ResolveCosmetic(const PenObject& pen, COLORREF color) {
    kind_ = Kind::Cosmetic;
    cosmetic_.color = raster::DrawingColor(*target_, color, dc_.bkColor);
    cosmetic_.rop2 = dc_.rop2;
    if (pen.Extended() && pen.Geometric()) {
        // A geometric pen one unit wide is a thin line that keeps its end pixel (checked
        // against Windows); its dashes are in logical units.
        includeLast_ = true;
        for (double d : GeometricDashes(pen, 1)) cosmetic_.dashes.push_back(static_cast<int>(d));
        return;
    }
    cosmetic_.dashes = CosmeticDashes(pen);
    // Only CreatePen pens paint their gaps with the background colour; the gaps of
    // ExtCreatePen pens stay untouched (checked against Windows).
    if (!pen.Extended() && !cosmetic_.dashes.empty() && dc_.bkMode == OPAQUE) {
        cosmetic_.paintGaps = true;
        cosmetic_.gapColor = raster::DeviceColor(*target_, dc_.bkColor);
    }
}

void PenPainter::ResolveGeometric(const PenObject& pen, COLORREF color) {
    kind_ = Kind::Geometric;
    geometric_.width = std::min(pen.width, kMaxPenWidth);
    paint_ = PenBrush(dc_, *target_, pen, color);
    if (!pen.Extended()) return;  // CreatePen: round caps and joins, styles draw solid
    switch (pen.EndCap()) {
        case PS_ENDCAP_SQUARE: geometric_.cap = raster::CapStyle::Square; break;
        case PS_ENDCAP_FLAT: geometric_.cap = raster::CapStyle::Flat; break;
        default: geometric_.cap = raster::CapStyle::Round; break;
    }
    switch (pen.Join()) {
        case PS_JOIN_BEVEL: geometric_.join = raster::JoinStyle::Bevel; break;
        case PS_JOIN_MITER: geometric_.join = raster::JoinStyle::Miter; break;
        default: geometric_.join = raster::JoinStyle::Round; break;
    }
    geometric_.dashes = GeometricDashes(pen, geometric_.width);
}

void PenPainter::DrawCosmetic(const LogicalFigure& figure) {
    const RECT clip = dc_.Clip();
    raster::DashPosition dash;
    const std::size_t n = figure.points.size();
    const std::int64_t ox = dc_.origin.x, oy = dc_.origin.y;
    const std::size_t segments = figure.closed && n > 1 ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const POINT& a = figure.points[i];
        const POINT& b = figure.points[(i + 1) % n];
        raster::DrawCosmeticLine(*target_, clip, a.x + ox, a.y + oy, b.x + ox, b.y + oy, cosmetic_, dash, includeLast_);
    }
}

void PenPainter::Draw(std::span<const LogicalFigure> figures) {
    if (kind_ == Kind::Cosmetic) {
        for (const LogicalFigure& f : figures)
            if (!f.points.empty()) DrawCosmetic(f);
        return;
    }
    if (kind_ != Kind::Geometric) return;
    if (geometric_.dashes.empty()) {
        StrokeSolid(figures);
        return;
    }
    const double off = CentreOffset();
    std::vector<ContinuousFigure> continuous;
    for (const LogicalFigure& f : figures) {
        ContinuousFigure c{{}, f.closed};
        for (const POINT& p : f.points)
            c.points.push_back(raster::PointD{static_cast<double>(p.x) + dc_.origin.x + off,
                                              static_cast<double>(p.y) + dc_.origin.y + off});
        continuous.push_back(std::move(c));
    }
    StrokeContinuous(continuous);
}

RECT PenPainter::StrokeBounds(std::span<const ContinuousFigure> figures) const {
    // The mask only needs the rows and columns the stroke can reach: the points' bounds
    // grown by the pen (a miter reaches at most miterLimit half-widths out).
    double pad = geometric_.width * (geometric_.join == raster::JoinStyle::Miter ? geometric_.miterLimit : 1.0) + 2;
    double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
    for (const ContinuousFigure& f : figures)
        for (const raster::PointD& p : f.points) {
            l = std::min(l, p.x);
            t = std::min(t, p.y);
            r = std::max(r, p.x);
            b = std::max(b, p.y);
        }
    RECT clip = dc_.Clip();
    if (l > r) return RECT{};
    auto clamp = [](double v, LONG lo, LONG hi) {
        return static_cast<LONG>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
    };
    return RECT{clamp(std::floor(l - pad), clip.left, clip.right), clamp(std::floor(t - pad), clip.top, clip.bottom),
                clamp(std::ceil(r + pad), clip.left, clip.right), clamp(std::ceil(b + pad), clip.top, clip.bottom)};
}

void PenPainter::StrokeSolid(std::span<const LogicalFigure> figures) {
    // The mask only needs the rows and columns the stroke can reach: the points' bounds
    // grown by the pen (a miter reaches at most miterLimit half-widths out).
    const double pad = geometric_.width * (geometric_.join == raster::JoinStyle::Miter ? geometric_.miterLimit : 1.0) + 2;
    std::vector<std::vector<raster::PointI>> surfaceFigures;
    double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
    for (const LogicalFigure& f : figures) {
        std::vector<raster::PointI> pts;
        for (const POINT& p : f.points) {
            pts.push_back(raster::PointI{static_cast<std::int64_t>(p.x) + dc_.origin.x, static_cast<std::int64_t>(p.y) + dc_.origin.y});
            l = std::min(l, static_cast<double>(pts.back().x));
            t = std::min(t, static_cast<double>(pts.back().y));
            r = std::max(r, static_cast<double>(pts.back().x));
            b = std::max(b, static_cast<double>(pts.back().y));
        }
        surfaceFigures.push_back(std::move(pts));
    }
    if (l > r) return;
    const RECT clip = dc_.Clip();
    auto clamp = [](double v, LONG lo, LONG hi) {
        return static_cast<LONG>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
    };
    raster::CoverageMask mask(RECT{clamp(std::floor(l - pad), clip.left, clip.right), clamp(std::floor(t - pad), clip.top, clip.bottom),
                                   clamp(std::ceil(r + pad), clip.left, clip.right), clamp(std::ceil(b + pad), clip.top, clip.bottom)});
    for (std::size_t i = 0; i < surfaceFigures.size(); ++i)
        raster::StrokeIntegerFigure(mask, surfaceFigures[i], figures[i].closed, geometric_);
    mask.Paint(*target_, paint_, dc_.rop2);
}

void PenPainter::StrokeContinuous(std::span<const ContinuousFigure> figures) {
    if (kind_ != Kind::Geometric) return;
    raster::CoverageMask mask(StrokeBounds(figures));
    for (const ContinuousFigure& f : figures) raster::StrokeFigure(mask, f.points, f.closed, geometric_);
    mask.Paint(*target_, paint_, dc_.rop2);
}
}  // namespace brimlox::gdi

using namespace brimlox::gdi;

namespace {
// Most points one Polyline, Polygon or path may hold; more is refused as bad input.
constexpr int kMaxPoints = 1 << 24;
}  // namespace

BOOL LineTo(HDC hdc, int x, int y) {
    TraceCall tc("LineTo");
    if (tc) tc.Args(hdc, x, y);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(FALSE);
    const POINT points[2] = {dc->currentPos, POINT{x, y}};
    dc->currentPos = POINT{x, y};
    if (dc->pathOpen) {
        // A line after CloseFigure (or first in the path) starts a new figure.
        if (dc->path.empty() || dc->path.back().closed) dc->path.push_back(PathFigure{{points[0]}, false});
        dc->path.back().points.push_back(points[1]);
        return tc.Return(TRUE);
    }
    PenPainter painter(*dc);
    const LogicalFigure figure{points, false};
    painter.Draw(std::span<const LogicalFigure>(&figure, 1));
    return tc.Return(TRUE);
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    TraceCall tc("Polyline");
    if (tc) tc.Args(hdc, std::span<const POINT>(points, points && count > 0 && count <= kMaxPoints ? count : 0), count);
    DcObject* dc = LookupDc(hdc);
    if (!dc || !points || count < 2 || count > kMaxPoints) return tc.Return(FALSE);
    std::span<const POINT> pts(points, static_cast<std::size_t>(count));
    if (dc->pathOpen) {
        dc->path.push_back(PathFigure{std::vector<POINT>(pts.begin(), pts.end()), false});
        return tc.Return(TRUE);
    }
    PenPainter painter(*dc);
    const LogicalFigure figure{pts, false};
    painter.Draw(std::span<const LogicalFigure>(&figure, 1));
    return tc.Return(TRUE);
}
