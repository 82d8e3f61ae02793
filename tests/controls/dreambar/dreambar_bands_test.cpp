// DreamBar's tool windows: overlapping windows placed side by side, a window that no longer
// fits wrapped to a new row, the arrangement packed back to the margin, and AlignControls
// pulling every control inside the margin.
#include "controls/dreambar/dreambar_test.h"
#include "controls/splitwindow/splitwindow.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;

class DreamBarBandsTest : public DreamBarTest {
protected:
    std::shared_ptr<SplitWindow> AddToolWindow(controls::DreamBar& bar, int x, int y, int w, int h) {
        auto t = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow", "", &bar));
        t->SetStyle(controls::ToolBarWindow);
        t->Move(x * kTwips, y * kTwips, w * kTwips, h * kTwips);
        return t;
    }
};

TEST_F(DreamBarBandsTest, OverlappingToolWindowsGoSideBySideAndWrapWhenTheyNoLongerFit) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 80);  // 3000 twips wide
    auto first = AddToolWindow(*bar, 10, 4, 50, 24);
    auto second = AddToolWindow(*bar, 20, 4, 50, 24);
    bar->Refresh();
    const std::int32_t w1 = first->Width();
    EXPECT_EQ(second->Left(), first->Left() + w1) << "directly right of the earlier one";
    EXPECT_EQ(second->Top(), first->Top());

    // Pushed to start less than 20 pixels before the right edge: a new row below instead.
    first->Move(4 * kTwips, 4 * kTwips, 185 * kTwips, first->Height());
    second->Move(150 * kTwips, 4 * kTwips, second->Width(), second->Height());
    bar->Refresh();
    EXPECT_EQ(second->Left(), first->Left());
    EXPECT_EQ(second->Top(), first->Top() + first->Height());
}

TEST_F(DreamBarBandsTest, TheArrangementIsPackedBackToTheMargin) {
    MakeForm();
    auto bar = AddBar(0, 0, 390, 80);
    bar->SetAlignControls(false);
    auto first = AddToolWindow(*bar, 0, 4, 100, 24);
    auto second = AddToolWindow(*bar, 0, 40, 60, 24);
    first->SetLeft(2000);
    second->SetLeft(2000 + 300);
    const std::int32_t widest = std::max(first->Width(), second->Width());
    ASSERT_LT(widest, 2000);
    bar->SetAlignControls(true);
    EXPECT_EQ(first->Left(), 4 * kTwips) << "the first starts at the margin";
    EXPECT_EQ(second->Left(), 4 * kTwips + 300) << "the others keep their distance";

    // AlignControls pulls every control inside the margin, tool window or not.
    bar->SetAlignControls(false);
    auto probe = AddChild(*bar, 0, 0);
    bar->SetAlignControls(true);
    EXPECT_EQ(probe->Left(), 4 * kTwips);
    EXPECT_EQ(probe->Top(), 4 * kTwips);
}

}  // namespace
}  // namespace brimlox::test
