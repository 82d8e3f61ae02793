// The grip, the sizing zones and the tool-bar arrangement are measured in pixels, so they keep
// their size on the screen at any twips per pixel: the same presses in pixels do the same
// things at 15 and at 8 twips a pixel.
#include <gtest/gtest.h>

#include "controls/splitwindow/splitwindow_dock_test.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;

class SplitWindowDockScaleTest : public DockTest, public ::testing::WithParamInterface<int> {
protected:
    int tpp = 15;
    std::int32_t T(int pixels) const { return pixels * tpp; }

    void SetUp() override {
        DockTest::SetUp();
        tpp = GetParam();
        desktop::Desktop::Instance().Configure({1024, 768, tpp, true});
        form = host::Form::Create("frmScale");
        form->SetBorderStyle(0);
        form->Move(0, 0, T(400), T(300));
        form->Show();
    }
    std::shared_ptr<SplitWindow> Bar(int x, int y, int w, int h) {
        auto bar = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow"));
        bar->SetStyle(controls::ToolBarWindow);
        bar->SetDockable(true);
        bar->SetSizeable(true);
        bar->Move(T(x), T(y), T(w), T(h));
        bar->SetFloatWidth(static_cast<float>(bar->Width()));
        bar->SetFloatHeight(static_cast<float>(bar->Height()));
        return bar;
    }
};

TEST_P(SplitWindowDockScaleTest, GripSizingZonesAndLayoutKeepTheirPixels) {
    auto bar = Bar(100, 100, 120, 29);
    auto button = form->Add("Command", "", bar.get());
    button->Move(0, 0, T(23), T(23));
    bar->Refresh();
    EXPECT_EQ(button->Left(), T(13)) << "grip 10 and border gap 3 pixels";
    EXPECT_EQ(button->Top(), T(3));
    // A bar is never thinner than 300 twips, which is more than 29 pixels at 8 twips a pixel.
    const int minPixels = (300 + tpp - 1) / tpp;
    EXPECT_EQ(bar->Height(), T(std::max(29, minPixels)));

    // Pixel 17 is past the grip (8 + 3 border gaps): no move. (The presses go above the
    // button, which covers the grip's end.)
    Play("at 10ms move 117 101\ndown left\nat 50ms move 150 150\nat 90ms up left\n");
    EXPECT_EQ(bar->Left(), T(100));
    // Pixel 16 is on it.
    Play("at 10ms move 116 101\ndown left\nat 50ms move 136 121\nat 90ms up left\n");
    EXPECT_EQ(bar->Left(), T(120));
    EXPECT_EQ(bar->Top(), T(120));

    // The corner zone is 3 border gaps (9 pixels) deep at any scale.
    Play("at 10ms move 231 140\ndown left\nat 50ms move 251 160\nat 90ms up left\n");
    EXPECT_EQ(bar->Width(), T(140));
    Play("at 10ms move 249 140\ndown left\nat 50ms move 229 140\nat 90ms up left\n");
    EXPECT_EQ(bar->Width(), T(140)) << "10 pixels from the right end is outside the zone";
}

INSTANTIATE_TEST_SUITE_P(TwipsPerPixel, SplitWindowDockScaleTest, ::testing::Values(15, 8));

}  // namespace
}  // namespace brimlox::test
