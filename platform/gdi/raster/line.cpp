#include "platform/gdi/raster/line.h"

#include <algorithm>
#include <numeric>

#include "platform/gdi/raster/rop.h"

namespace brimlox::gdi::raster {

namespace {

using i128 = __int128;

std::int64_t FloorDiv(i128 num, i128 den) {
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
    void Step() {
        if (!negative_) {
            rest_ -= twoMinor_;
            if (rest_ < 0) { ++offset_; rest_ += twoMajor_; }
        } else {
            rest_ += twoMinor_;
            if (rest_ >= twoMajor_) { ++offset_; rest_ -= twoMajor_; }
        }
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
    const std::int64_t m0 = xMajor ? x0 : y0;
    const int dir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t lo = xMajor ? clip.left : clip.top, hi = (xMajor ? clip.right : clip.bottom) - 1;
    std::int64_t first = 0, last = count - 1;
    if (dir > 0) {
        first = std::max(first, lo - m0);
        last = std::min(last, hi - m0);
    } else {
        first = std::max(first, m0 - hi);
        last = std::min(last, m0 - lo);
    }
    if (first > last) return;
    MinorStepper minor(major == 0 ? 1 : major, xMajor ? dy : dx, first);
    DashWalker walker(pen.dashes, start + first);
    const std::int64_t n0 = xMajor ? y0 : x0;
    const std::int64_t minorLo = xMajor ? clip.top : clip.left, minorHi = xMajor ? clip.bottom : clip.right;
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t a = m0 + dir * i, b = n0 + minor.Offset();
        if (b >= minorLo && b < minorHi && (walker.On() || pen.paintGaps)) {
            const int x = static_cast<int>(xMajor ? a : b), y = static_cast<int>(xMajor ? b : a);
            PutRop2(target, x, y, walker.On() ? pen.color : pen.gapColor, pen.rop2);
        }
        minor.Step();
        walker.Step();
    }
}

}  // namespace brimlox::gdi::raster
