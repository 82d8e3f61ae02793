#include "platform/gdi/raster/line.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "platform/gdi/raster/rop.h"

namespace brimlox::gdi::raster {

namespace {

using i128 = __int128;

std::int64_t FloorDiv(i128 num, i128 den) {
    // Lines on any surface fit 64 bits; the 128-bit division (a library call) is left for
    // coordinates near the 32-bit limits.
    if (num >= INT64_MIN && num <= INT64_MAX && den >= INT64_MIN && den <= INT64_MAX && den != -1) {
        const auto n = static_cast<std::int64_t>(num), d = static_cast<std::int64_t>(den);
        std::int64_t q = n / d;
        if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
        return q;
    }
    i128 q = num / den;
    if ((num % den != 0) && ((num < 0) != (den < 0))) --q;
    return static_cast<std::int64_t>(q);
}

// Steps along the minor axis of a line, one major step at a time. Windows puts the minor
// coordinate at the exact value rounded to nearest with halves going towards negative
// infinity, in every octant (checked against Windows for all eight octants and the ties).
class MinorStepper {
public:
    MinorStepper(std::int64_t major, std::int64_t minor, std::int64_t firstStep)
        : twoMajor_(2 * major), twoMinor_(2 * (minor < 0 ? -minor : minor)), negative_(minor < 0) {
        // Positive direction: offset = ceil((2 i m - M) / 2M); negative: -floor((2 i m + M) / 2M).
        i128 n = static_cast<i128>(firstStep) * twoMinor_;
        if (!negative_) {
            n -= major;
            offset_ = -FloorDiv(-n, twoMajor_);
            rest_ = static_cast<std::int64_t>(static_cast<i128>(offset_) * twoMajor_ - n);
        } else {
            n += major;
            offset_ = FloorDiv(n, twoMajor_);
            rest_ = static_cast<std::int64_t>(n - static_cast<i128>(offset_) * twoMajor_);
        }
    }
    std::int64_t Offset() const { return negative_ ? -offset_ : offset_; }
    // The way Offset moves when a step carries: +1 or -1.
    int Sign() const { return negative_ ? -1 : 1; }
    // Advances one major step; true when the minor coordinate moved.
    bool Step() {
        if (!negative_) {
            rest_ -= twoMinor_;
            if (rest_ < 0) { ++offset_; rest_ += twoMajor_; return true; }
        } else {
            rest_ += twoMinor_;
            if (rest_ >= twoMajor_) { ++offset_; rest_ -= twoMajor_; return true; }
        }
        return false;
    }

private:
    std::int64_t twoMajor_;
    std::int64_t twoMinor_;
    bool negative_;
    std::int64_t offset_ = 0;
    std::int64_t rest_ = 0;
};

// Walks a dash pattern pixel by pixel from any starting position.
class DashWalker {
public:
    DashWalker(const std::vector<int>& dashes, std::int64_t position) : dashes_(dashes) {
        total_ = std::accumulate(dashes.begin(), dashes.end(), std::int64_t{0});
        if (total_ <= 0) return;
        std::int64_t p = position % total_;
        index_ = 0;
        while (p >= dashes_[index_]) p -= dashes_[index_++];
        left_ = dashes_[index_] - p;
    }
    // A pattern with no length (all zeros) draws solid.
    bool On() const { return total_ <= 0 || index_ % 2 == 0; }
    void Step() {
        if (total_ <= 0) return;
        if (--left_ > 0) return;
        do { index_ = (index_ + 1) % dashes_.size(); } while (dashes_[index_] == 0);
        left_ = dashes_[index_];
    }

private:
    const std::vector<int>& dashes_;
    std::int64_t total_ = 0;
    std::size_t index_ = 0;
    std::int64_t left_ = 0;
};

}  // namespace

void PutRop2(Surface& target, int x, int y, std::uint32_t value, int rop2) {
    if (rop2 == 13) {
        target.Put(x, y, value);
        return;
    }
    target.Put(x, y, ApplyRop2(rop2, value, target.Get(x, y)));
}

namespace {

// Where a line's pixels go: straight into the rows of a 32-bpp surface, through Get and Put
// on every other layout. The masks carry the ROP2 with the pen's value folded in.
class PixelWriter {
public:
    explicit PixelWriter(Surface& s)
        : surface_(s), direct_(s.Format() == PixelFormat::Bgrx32), base_(s.Row(0)),
          pitch_(s.Height() > 1 ? s.Row(1) - s.Row(0) : 0) {}
    bool Direct() const { return direct_; }
    std::uint32_t* Base() const { return reinterpret_cast<std::uint32_t*>(base_); }
    // Rows apart in pixels (negative for a bottom-up layout).
    std::ptrdiff_t PitchPixels() const { return pitch_ / static_cast<std::ptrdiff_t>(sizeof(std::uint32_t)); }
    void Copy(int x, int y, std::uint32_t value) {
        if (direct_) *Pixel(x, y) = value;
        else surface_.Put(x, y, value);
    }
    void Combine(int x, int y, Rop2Masks m) {
        if (direct_) {
            std::uint32_t* p = Pixel(x, y);
            *p = m.Apply(*p);
        } else {
            surface_.Put(x, y, m.Apply(surface_.Get(x, y)));
        }
    }

private:
    std::uint32_t* Pixel(int x, int y) { return reinterpret_cast<std::uint32_t*>(base_ + y * pitch_) + x; }
    Surface& surface_;
    bool direct_;
    std::uint8_t* base_;
    std::ptrdiff_t pitch_;
};

// The steps of a line after clipping on its major axis: first..last from the start point.
struct LineWalk {
    bool xMajor;
    int dir;
    std::int64_t m0, n0;       // start on the major and minor axes
    std::int64_t minorLo, minorHi;
    std::int64_t first, last;
};

// Visits every pixel of the walk that lies inside the clip on the minor axis, with its index.
template <typename Visit>
void WalkPixels(const LineWalk& w, MinorStepper minor, Visit&& visit) {
    for (std::int64_t i = w.first; i <= w.last; ++i) {
        const std::int64_t a = w.m0 + w.dir * i, b = w.n0 + minor.Offset();
        if (b >= w.minorLo && b < w.minorHi) {
            if (w.xMajor) visit(static_cast<int>(a), static_cast<int>(b), i);
            else visit(static_cast<int>(b), static_cast<int>(a), i);
        }
        minor.Step();
    }
}

// A solid copy into 32-bpp rows: one store per pixel, the position kept as an index that
// moves by one pixel or one row per step instead of being worked out from the coordinates.
void DrawSolidCopy32(PixelWriter& out, const LineWalk& w, MinorStepper minor, std::uint32_t value,
                     bool wholeMinorInside) {
    const std::ptrdiff_t pitch = out.PitchPixels();
    const std::ptrdiff_t majorStep = w.xMajor ? w.dir : w.dir * pitch;
    const std::ptrdiff_t minorStep = (w.xMajor ? pitch : 1) * minor.Sign();
    const std::int64_t a = w.m0 + w.dir * w.first;
    std::int64_t b = w.n0 + minor.Offset();
    std::ptrdiff_t at = w.xMajor ? static_cast<std::ptrdiff_t>(b * pitch + a) : static_cast<std::ptrdiff_t>(a * pitch + b);
    std::uint32_t* base = out.Base();
    if (wholeMinorInside) {
        // The minor coordinate only moves one way, so with both ends inside the clip every
        // pixel is: no test per pixel.
        for (std::int64_t i = w.first; i <= w.last; ++i) {
            base[at] = value;
            at += majorStep;
            if (minor.Step()) at += minorStep;
        }
        return;
    }
    for (std::int64_t i = w.first; i <= w.last; ++i) {
        if (b >= w.minorLo && b < w.minorHi) base[at] = value;
        at += majorStep;
        if (minor.Step()) at += minorStep, b += minor.Sign();
    }
}

// A solid pen writes every pixel with one value or one pair of masks; no dash walker runs.
void DrawSolid(PixelWriter& out, const LineWalk& w, const MinorStepper& minor, const CosmeticPen& pen,
               bool wholeMinorInside) {
    if (pen.rop2 == 13 && out.Direct()) {
        DrawSolidCopy32(out, w, minor, pen.color, wholeMinorInside);
        return;
    }
    if (pen.rop2 == 13) {  // R2_COPYPEN
        const std::uint32_t value = pen.color;
        WalkPixels(w, minor, [&](int x, int y, std::int64_t) { out.Copy(x, y, value); });
        return;
    }
    const Rop2Masks m = MasksOfRop2(pen.rop2, pen.color);
    WalkPixels(w, minor, [&](int x, int y, std::int64_t) { out.Combine(x, y, m); });
}

// A styled pen: dashes in the pen's masks, gaps in the background's when they are painted.
void DrawDashed(PixelWriter& out, const LineWalk& w, const MinorStepper& minor, const CosmeticPen& pen,
                std::int64_t start) {
    const Rop2Masks on = MasksOfRop2(pen.rop2, pen.color), gap = MasksOfRop2(pen.rop2, pen.gapColor);
    DashWalker walker(pen.dashes, start + w.first);
    std::int64_t at = w.first;
    WalkPixels(w, minor, [&](int x, int y, std::int64_t i) {
        for (; at < i; ++at) walker.Step();
        if (walker.On()) out.Combine(x, y, on);
        else if (pen.paintGaps) out.Combine(x, y, gap);
    });
}

}  // namespace

void DrawCosmeticLine(Surface& target, const RECT& clip, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                      std::int64_t y1, const CosmeticPen& pen, DashPosition& dash, bool includeLast) {
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const std::int64_t major = xMajor ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
    const std::int64_t count = major + (includeLast ? 1 : 0);
    const std::int64_t start = dash.pixels;
    dash.pixels += major;
    if (count <= 0 || pen.rop2 == 11) return;  // R2_NOP
    // Clip the range of steps on the major axis; the minor axis is checked per pixel.
    LineWalk w{xMajor, (xMajor ? dx : dy) < 0 ? -1 : 1, xMajor ? x0 : y0, xMajor ? y0 : x0,
               xMajor ? clip.top : clip.left, xMajor ? clip.bottom : clip.right, 0, count - 1};
    const std::int64_t lo = xMajor ? clip.left : clip.top, hi = (xMajor ? clip.right : clip.bottom) - 1;
    if (w.dir > 0) {
        w.first = std::max(w.first, lo - w.m0);
        w.last = std::min(w.last, hi - w.m0);
    } else {
        w.first = std::max(w.first, w.m0 - hi);
        w.last = std::min(w.last, w.m0 - lo);
    }
    if (w.first > w.last) return;
    MinorStepper minor(major == 0 ? 1 : major, xMajor ? dy : dx, w.first);
    const std::int64_t minorFirst = w.n0 + minor.Offset();
    const std::int64_t minorLast = w.n0 + MinorStepper(major == 0 ? 1 : major, xMajor ? dy : dx, w.last).Offset();
    const bool wholeMinorInside = std::min(minorFirst, minorLast) >= w.minorLo && std::max(minorFirst, minorLast) < w.minorHi;
    PixelWriter out(target);
    // A pattern with no length draws solid, as the dash walker treats it.
    bool solid = true;
    for (int d : pen.dashes) solid = solid && d == 0;
    if (solid) DrawSolid(out, w, minor, pen, wholeMinorInside);
    else DrawDashed(out, w, minor, pen, start);
}

}  // namespace brimlox::gdi::raster
