// The scroll bar's model, free of any window: the Min/Max/Value rules of the setters, the
// geometry that Resize derives from the control's shape, the thumb's size and position for a
// value, and the value for a thumb position. The control (scrollbar.h) keeps one of each and
// does the host's part (signalling, painting, input).
//
// Lengths are twips held in doubles: a pixel may be a fractional number of twips (7.5 at
// 192 DPI), and a long bar runs past what 16 bits hold. Values are 32-bit, and every sum of a
// value and a change is formed in 64 bits and clamped, so nothing wraps near the limits.
#pragma once

#include <cstdint>
#include <limits>

namespace brimlox::controls {

constexpr std::int32_t kLongMax = std::numeric_limits<std::int32_t>::max();
// The lowest value Min and Max may hold: -2147483648 itself is stored as this.
constexpr std::int32_t kLongLowest = -kLongMax;

// Which of the range's fields a rule changed besides the one being set.
struct RangeChanges {
    bool min = false;
    bool max = false;
    bool value = false;
};

// Min, Max and Value. Invariants after any rule: Min <= Max, |Max - Min| fits in 32 bits, and
// Value lies in Min..Max.
struct ScrollRange {
    std::int32_t Min = 0;
    std::int32_t Max = kLongMax;
    std::int32_t Value = 0;

    // The Min and Max setters: store (the 32-bit lowest becomes kLowest), reset the other end
    // to 0 when the difference overflows, pull the other end along when they cross, and clamp
    // Value.
    RangeChanges SetMin(std::int32_t v);
    RangeChanges SetMax(std::int32_t v);
    // Value clamped first to at most Max, then to at least Min; true when it changed.
    bool SetValue(std::int64_t v);
    // `v` clamped into Min..Max (first the upper limit, then the lower).
    std::int32_t Clamp(std::int64_t v) const;
    // Max - Min, which the rules keep within 32 bits.
    std::int64_t Span() const { return static_cast<std::int64_t>(Max) - Min; }
};

// The geometry Resize computes, along the bar's axis unless said (twips).
struct ScrollGeometry {
    bool vertical = false;
    double buttonSize = 0;     // the bar's thickness; each arrow button is this square
    double barLength = 0;      // the long side, less the filler square when Extended
    std::int32_t trackStart = 0;  // buttonSize rounded
    double minThumb = 195;
    double pixelStep = 15;     // twips per pixel along the axis, exact
    double crossStep = 15;     // twips per pixel across it
    std::int32_t widthPixels = 0;   // the control in pixels, the filler left out along the axis
    std::int32_t heightPixels = 0;
    double thumbPos = 0;       // the thumb's start along the axis
    double thumbLen = 0;       // its length; 0 when the thumb is hidden
    bool thumbVisible = false;

    // Track length between the arrow buttons (may be negative on a tiny bar).
    double TrackLength() const { return barLength - trackStart - buttonSize; }
    // The largest thumb start: the thumb then ends where the second arrow begins.
    double LastThumbStart() const { return barLength - buttonSize - thumbLen; }
    // The thumb's travel; a thumb that fills the track has none.
    double ThumbRoom() const { return barLength - buttonSize - trackStart - thumbLen; }
    // Whole pixels towards zero, in twips.
    double Snap(double v) const;
    // Thickness and length of the bar in pixels (the length without the filler).
    std::int32_t ThicknessPixels() const { return vertical ? widthPixels : heightPixels; }
    std::int32_t LengthPixels() const { return vertical ? heightPixels : widthPixels; }

    // Where a coordinate along the axis falls.
    bool OnFirstArrow(double along) const { return along < buttonSize && !OnSecondArrow(along); }
    bool OnSecondArrow(double along) const { return along > barLength - buttonSize; }
    bool InTrack(double along) const { return along >= buttonSize && along <= barLength - buttonSize; }
    bool OnThumb(double along) const { return thumbVisible && thumbPos < along && along < thumbPos + thumbLen; }
};

// The smallest side Resize accepts (below it in both directions the geometry is kept), and
// the shortest length it gives a bar.
constexpr double kMinControlSide = 525;
constexpr double kMinBarLength = 675;

// Resize's arithmetic for a control of `width` by `height` twips at `twipsPerPixel`; returns
// false (geometry untouched) when the control is below the minimum in both directions. The
// long side is raised to kMinBarLength; `longSide` receives the value the control must take.
bool ComputeGeometry(ScrollGeometry& g, double width, double height, bool extended, double twipsPerPixel,
                     double* longSide);

// The thumb's length and start for the range's Value (Refresh's first steps). The thumb never
// exceeds the track, and is hidden when no track pixel is left.
void ComputeThumb(ScrollGeometry& g, ScrollRange& range, std::int32_t largeChange);

// The value for a thumb starting at `start`. When the thumb has no travel, the pointer's
// direction decides: Max when it moved forward, else Min.
std::int32_t ValueFromThumb(const ScrollGeometry& g, const ScrollRange& range, double start, bool movedForward);

// `start` kept between the track's start and the last thumb start.
double ClampThumbStart(const ScrollGeometry& g, double start);

// The stored form of DeadZone: ten times the value, clamped to 10..90.
std::int16_t DeadZoneTenths(std::int64_t value);

}  // namespace brimlox::controls
