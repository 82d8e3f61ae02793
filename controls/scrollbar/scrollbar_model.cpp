#include "controls/scrollbar/scrollbar_model.h"

#include <algorithm>
#include <cmath>

namespace brimlox::controls {

namespace {

// Halves to even, the rule for every float that becomes an integer in the control.
double RoundEven(double v) { return std::nearbyint(v); }

bool DifferenceOverflows(std::int32_t a, std::int32_t b) {
    std::int64_t d = static_cast<std::int64_t>(a) - b;
    return d > kLongMax || d < -static_cast<std::int64_t>(kLongMax) - 1;
}

std::int32_t StorableEnd(std::int32_t v) { return v == std::numeric_limits<std::int32_t>::min() ? kLongLowest : v; }

}  // namespace

std::int32_t ScrollRange::Clamp(std::int64_t v) const {
    v = std::min<std::int64_t>(v, Max);
    v = std::max<std::int64_t>(v, Min);
    return static_cast<std::int32_t>(v);
}

RangeChanges ScrollRange::SetMin(std::int32_t v) {
    RangeChanges c;
    Min = StorableEnd(v);
    if (DifferenceOverflows(Min, Max)) {
        Max = 0;
        c.max = true;
    }
    if (Min > Max) {
        Max = Min;
        c.max = true;
    }
    if (Value < Min) {
        Value = Min;
        c.value = true;
    }
    // A reset Max can leave Value above it; the invariant holds for every rule.
    if (Value > Max) {
        Value = Max;
        c.value = true;
    }
    return c;
}

RangeChanges ScrollRange::SetMax(std::int32_t v) {
    RangeChanges c;
    Max = StorableEnd(v);
    if (DifferenceOverflows(Min, Max)) {
        Min = 0;
        c.min = true;
    }
    if (Min > Max) {
        Min = Max;
        c.min = true;
    }
    if (Value > Max) {
        Value = Max;
        c.value = true;
    }
    if (Value < Min) {
        Value = Min;
        c.value = true;
    }
    return c;
}

bool ScrollRange::SetValue(std::int64_t v) {
    std::int32_t clamped = Clamp(v);
    if (clamped == Value) return false;
    Value = clamped;
    return true;
}

double ScrollGeometry::Snap(double v) const {
    if (!(pixelStep > 0)) return v;
    return std::trunc(v / pixelStep) * pixelStep;
}

bool ComputeGeometry(ScrollGeometry& g, double width, double height, bool extended, double twipsPerPixel,
                     double* longSide) {
    if (width < kMinControlSide && height < kMinControlSide) return false;
    if (!(twipsPerPixel > 0)) twipsPerPixel = 15;
    g.vertical = width < height;
    double shortSide = g.vertical ? width : height;
    double length = std::max(g.vertical ? height : width, kMinBarLength);
    if (longSide) *longSide = length;
    g.buttonSize = shortSide;
    g.barLength = length - (extended ? shortSide : 0);
    auto shortPixels = static_cast<std::int32_t>(std::trunc(shortSide / twipsPerPixel));
    auto longPixels = static_cast<std::int32_t>(std::trunc(length / twipsPerPixel)) - (extended ? shortPixels : 0);
    g.widthPixels = g.vertical ? shortPixels : longPixels;
    g.heightPixels = g.vertical ? longPixels : shortPixels;
    g.pixelStep = twipsPerPixel;
    g.crossStep = twipsPerPixel;
    g.trackStart = static_cast<std::int32_t>(RoundEven(g.buttonSize));
    g.minThumb = g.barLength < 2000 ? 195 : 435;
    return true;
}

void ComputeThumb(ScrollGeometry& g, ScrollRange& range, std::int32_t largeChange) {
    range.Value = range.Clamp(range.Value);
    double span = static_cast<double>(range.Span());
    double ratio = span < 1 ? 1.0 : std::min(static_cast<double>(largeChange) / span, 0.99);
    double track = g.TrackLength();
    double usable = track < 1 ? 1 : track;
    double length = g.pixelStep + 2 * g.Snap(RoundEven(usable * ratio / 2));
    length = std::max(length, g.minThumb);
    // The thumb stays inside the track: on a bar too short for the minimum thumb it takes the
    // whole track, and with less than a pixel of track there is no thumb at all.
    if (track < g.pixelStep) {
        g.thumbVisible = false;
        g.thumbLen = 0;
        g.thumbPos = g.trackStart;
        return;
    }
    g.thumbVisible = true;
    g.thumbLen = std::min(length, track);
    double fraction = span == 0 ? 0 : static_cast<double>(static_cast<std::int64_t>(range.Value) - range.Min) / span;
    g.thumbPos = g.Snap(std::trunc(g.trackStart + fraction * (track - g.thumbLen)));
}

std::int32_t ValueFromThumb(const ScrollGeometry& g, const ScrollRange& range, double start, bool movedForward) {
    double room = g.ThumbRoom();
    if (!(room > 0)) return movedForward ? range.Max : range.Min;
    double fraction = (start - g.trackStart) / room;
    double value = RoundEven(static_cast<double>(range.Span()) * fraction + range.Min);
    // Clamp in doubles first: the value is about to become an integer.
    value = std::clamp(value, static_cast<double>(range.Min), static_cast<double>(range.Max));
    return range.Clamp(static_cast<std::int64_t>(value));
}

double ClampThumbStart(const ScrollGeometry& g, double start) {
    start = std::min(start, g.LastThumbStart());
    return std::max(start, static_cast<double>(g.trackStart));
}

std::int16_t DeadZoneTenths(std::int64_t value) {
    // Multiplying first could overflow for a huge value; clamp the value, then scale.
    value = std::clamp<std::int64_t>(value, 1, 9);
    return static_cast<std::int16_t>(value * 10);
}

}  // namespace brimlox::controls
