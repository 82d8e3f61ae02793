// The scroll bar's arithmetic without a window: range rules, geometry and the thumb.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/scrollbar/scrollbar_model.h"

namespace brimlox::controls {
namespace {

constexpr std::int32_t kLowest32 = std::numeric_limits<std::int32_t>::min();

ScrollGeometry Bar(double width, double height, double tpp, bool extended = false) {
    ScrollGeometry g;
    double longSide = 0;
    EXPECT_TRUE(ComputeGeometry(g, width, height, extended, tpp, &longSide));
    return g;
}

// The pixel column where the drawn thumb ends (exclusive), as the painter divides.
int ThumbEndPixel(const ScrollGeometry& g) { return static_cast<int>(std::floor((g.thumbPos + g.thumbLen) / g.pixelStep)); }

TEST(ScrollBarModel, RangeRulesResetTheOtherEndOnOverflowAndKeepValueInside) {
    ScrollRange r;
    RangeChanges c = r.SetMax(kLowest32);  // the lowest 32-bit value is not storable
    EXPECT_EQ(r.Max, -2147483647);
    EXPECT_TRUE(c.min);  // 0 > Max pulls Min down
    EXPECT_EQ(r.Min, -2147483647);

    r = ScrollRange{};  // Max at its default
    c = r.SetMin(-10);  // Max - Min no longer fits in 32 bits
    EXPECT_TRUE(c.max);
    EXPECT_EQ(r.Max, 0);
    EXPECT_EQ(r.Min, -10);

    r = ScrollRange{};
    r.Max = 10;
    r.Value = 7;
    c = r.SetMin(50);
    EXPECT_EQ(r.Max, 50);
    EXPECT_EQ(r.Value, 50);
    EXPECT_TRUE(c.max && c.value);

    r = ScrollRange{};
    r.Value = 100;
    r.SetMax(10);
    EXPECT_EQ(r.Value, 10);
    EXPECT_FALSE(r.SetValue(1000));  // clamped to Max, which it already is
    EXPECT_TRUE(r.SetValue(std::int64_t{kLowest32} - 5));
    EXPECT_EQ(r.Value, 0);

    // Value above a Max that an overflow reset to 0 is pulled down too.
    r = ScrollRange{};
    r.Value = 100;
    r.SetMin(-5);
    EXPECT_EQ(r.Max, 0);
    EXPECT_EQ(r.Value, 0);
    EXPECT_EQ(r.Clamp(std::int64_t{1} << 40), 0);
    EXPECT_EQ(r.Clamp(-(std::int64_t{1} << 40)), -5);
}

TEST(ScrollBarModel, GeometryFollowsTheShapeAndIgnoresTinySizes) {
    ScrollGeometry g = Bar(4500, 255, 15);
    double longSide = 0;
    EXPECT_FALSE(ComputeGeometry(g, 400, 400, false, 15, &longSide));  // kept as it was
    EXPECT_EQ(g.barLength, 4500);
    EXPECT_FALSE(g.vertical);

    ScrollGeometry shortBar;
    ASSERT_TRUE(ComputeGeometry(shortBar, 600, 200, false, 15, &longSide));
    EXPECT_EQ(longSide, 675);
    EXPECT_FALSE(shortBar.vertical);
    EXPECT_EQ(shortBar.minThumb, 195);

    ScrollGeometry tall = Bar(255, 3000, 15, true);  // the filler comes off the length
    EXPECT_TRUE(tall.vertical);
    EXPECT_EQ(tall.barLength, 2745);
    EXPECT_EQ(tall.heightPixels, 200 - 17);
    EXPECT_EQ(tall.minThumb, 435);
}

TEST(ScrollBarModel, ThumbLengthHasItsMinimumAndCapsBelowTheWholeTrack) {
    ScrollGeometry g = Bar(4500, 255, 15);
    ScrollRange r;  // a new control: 0..2147483647 with LargeChange 10
    ComputeThumb(g, r, 10);
    EXPECT_EQ(g.thumbLen, g.minThumb);
    EXPECT_EQ(g.thumbPos, 255);

    r.Max = 10;
    ComputeThumb(g, r, 10);  // LargeChange >= the range: 0.99 of the track, not all of it
    double track = g.TrackLength();
    EXPECT_LT(g.thumbLen, track);
    EXPECT_EQ(g.thumbLen, 15 + 2 * g.Snap(std::nearbyint(track * 0.99 / 2)));

    ComputeThumb(g, r, -50);  // a negative LargeChange gives the minimum thumb, nothing odd
    EXPECT_EQ(g.thumbLen, g.minThumb);

    r.Max = r.Min;  // no range: ratio 1, the thumb takes the whole track
    ComputeThumb(g, r, 10);
    EXPECT_EQ(g.thumbLen, track);
}

// A thumb start past 32767 twips: 16-bit geometry wrapped it negative on bars longer than
// about 2,200 pixels.
TEST(ScrollBarModel, LongBarsKeepTheThumbAtTheFarEnd) {
    ScrollGeometry g = Bar(2400 * 15, 255, 15);
    ScrollRange r;
    r.Max = 1000;
    r.Value = 1000;
    ComputeThumb(g, r, 10);
    EXPECT_GT(g.thumbPos, 32767);
    EXPECT_EQ(ThumbEndPixel(g), 2400 - 17);
    EXPECT_EQ(ValueFromThumb(g, r, g.LastThumbStart(), true), 1000);
    EXPECT_EQ(ValueFromThumb(g, r, g.trackStart, true), 0);
}

// At 7.5 twips per pixel a 16-bit step holds 8, and the thumb at Max stopped about a
// sixteenth of the length short of the far arrow. Exact steps put it right against it.
TEST(ScrollBarModel, FractionalTwipsPerPixelKeepsThumbAndArrowsAligned) {
    ScrollGeometry g = Bar(2250, 120, 7.5);  // 300 x 16 pixels in whole twips
    EXPECT_EQ(g.pixelStep, 7.5);
    EXPECT_EQ(g.widthPixels, 300);
    ScrollRange r;
    r.Max = 100;
    r.Value = 100;
    ComputeThumb(g, r, 10);
    EXPECT_EQ(ThumbEndPixel(g), 300 - 16);
    r.Value = 0;
    ComputeThumb(g, r, 10);
    EXPECT_EQ(static_cast<int>(std::floor(g.thumbPos / g.pixelStep)), 16);
    // Thumb lengths are whole pixels.
    EXPECT_EQ(std::fmod(g.thumbLen, g.pixelStep), 0);
}

// With less track than the minimum thumb, the thumb used to reach over the second arrow
// (a press there started a drag) and the drag divided by a negative length.
TEST(ScrollBarModel, ShortTrackCapsTheThumbAndNoTrackHidesIt) {
    ScrollGeometry g = Bar(675, 255, 15);
    ASSERT_LT(g.TrackLength(), g.minThumb);
    ScrollRange r;
    r.Max = 10;
    for (std::int32_t v : {0, 5, 10}) {
        r.Value = v;
        ComputeThumb(g, r, 1);
        EXPECT_TRUE(g.thumbVisible);
        EXPECT_EQ(g.thumbLen, g.TrackLength());
        EXPECT_LE(g.thumbPos + g.thumbLen, g.barLength - g.buttonSize);
        EXPECT_FALSE(g.OnThumb(g.barLength - g.buttonSize / 2)) << "the second arrow is no thumb";
    }
    EXPECT_EQ(g.ThumbRoom(), 0);
    EXPECT_EQ(ValueFromThumb(g, r, g.trackStart, true), 10);
    EXPECT_EQ(ValueFromThumb(g, r, g.trackStart, false), 0);

    ScrollGeometry none = Bar(675, 400, 15);  // thicker than a third of the length
    ASSERT_LT(none.TrackLength(), 0);
    ComputeThumb(none, r, 1);
    EXPECT_FALSE(none.thumbVisible);
    EXPECT_FALSE(none.OnThumb(none.barLength / 2));
    EXPECT_TRUE(none.OnFirstArrow(10));
    EXPECT_TRUE(none.OnSecondArrow(none.barLength - 10));
}

}  // namespace
}  // namespace brimlox::controls
