// Colour, pixel and naming helpers.
#include <gtest/gtest.h>

#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "foundation/helpers/pixels.h"
#include "platform/gdi/gdi.h"
#include "platform/host/picture.h"
#include "platform/host/host_test.h"

namespace brimlox::test {
namespace {

using namespace brimlox::foundation;

TEST(ColourHelpers, HlsConversionsKeepColoursAndClampLuminance) {
    EXPECT_EQ(AdjustLuminance(RGB(255, 255, 255), 0.5f), RGB(255, 255, 255));
    EXPECT_EQ(AdjustLuminance(RGB(0, 0, 0), -0.5f), RGB(0, 0, 0));
    // Magenta has red as its first maximum, so its hue is (G - B) / d = -1.
    HLS magenta = RGBToHLS(255, 0, 255);
    EXPECT_FLOAT_EQ(magenta.H, -1.0f);
    EXPECT_FLOAT_EQ(magenta.S, 1.0f);
    EXPECT_FLOAT_EQ(magenta.L, 0.5f);
    EXPECT_EQ(HLSToRGB(magenta), RGB(255, 0, 255));
    // Every hue sextant, light and dark, converts back to the colour it came from.
    for (int r = 0; r <= 255; r += 51)
        for (int g = 0; g <= 255; g += 51)
            for (int b = 0; b <= 255; b += 51) ASSERT_EQ(HLSToRGB(RGBToHLS(r, g, b)), RGB(r, g, b)) << r << "," << g << "," << b;
    // A lighter silver: (192,192,192) at L 0.753 plus 0.2.
    EXPECT_EQ(AdjustLuminance(RGB(192, 192, 192), 0.2f), RGB(243, 243, 243));
    EXPECT_EQ(AdjustLuminance(RGB(0, 0, 255), -0.25f), RGB(0, 0, 128));
}

TEST(ColourHelpers, TranslateColorReadsSystemColoursAndRefusesUnknownOnes) {
    EXPECT_EQ(TranslateColor(0x8000000F), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(TranslateColor(0x80000012), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(TranslateColor(RGB(1, 2, 3)), RGB(1, 2, 3));
    // A stored index past the table gives 0, as GetSysColor does for it.
    EXPECT_EQ(TranslateColor(0x800000FF), 0u);
    EXPECT_EQ(TranslateColor(0x7F000000), 0u);
}

TEST(PixelHelpers, SnapRoundsTowardZeroAndSurvivesAZeroScale) {
    EXPECT_EQ(SnapToPixels(100, 15), 90);
    EXPECT_EQ(SnapToPixels(-100, 15), -90);
    EXPECT_EQ(SnapToPixels(105, 15), 105);
    EXPECT_EQ(SnapToPixels(110, 12.5f), 100);
    EXPECT_EQ(SnapToPixels(123, 0), 123);
    EXPECT_EQ(SnapToPixels(123, -4), 123);
    EXPECT_EQ(SnapToPixelsX(1000), 990);
    EXPECT_EQ(SnapToPixelsY(14), 0);
}

class NamingTest : public HostTest {};

TEST_F(NamingTest, UniqueNameTakesTheFirstFreeNumberAndRestartsAfterEachClash) {
    RegisterProbes();
    auto form = host::Form::Create("frmNames");
    // cmd1 before cmd: a single pass would settle on cmd1, which is taken.
    form->Add("Probe", "cmd1");
    form->Add("Probe", "cmd");
    form->Add("Probe", "cmd3");
    auto fresh = form->Add("Probe", "Probe9");
    EXPECT_EQ(UniqueName("cmd", *fresh), "cmd2");
    EXPECT_EQ(UniqueName("dbr", *fresh), "dbr");
    // Names compare case-sensitively.
    form->Add("Probe", "Spl");
    EXPECT_EQ(UniqueName("spl", *fresh), "spl");
    Probe loose;
    EXPECT_EQ(UniqueName("cmd", loose), "cmd");
    form->Unload();
}

TEST_F(NamingTest, HasPictureNeedsAnObjectWithAHandle) {
    EXPECT_FALSE(HasPicture(nullptr));
    EXPECT_FALSE(HasPicture(std::make_shared<host::StdPicture>()));
    // A 1x1 24-bit BMP file.
    std::vector<std::uint8_t> bmp = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                                     0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                     0, 0, 0, 0, 0, 0, 255, 0};
    EXPECT_TRUE(HasPicture(host::StdPicture::FromBytes(bmp)));
}

}  // namespace
}  // namespace brimlox::test
