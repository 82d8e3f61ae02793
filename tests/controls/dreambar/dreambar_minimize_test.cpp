// DreamBar's minimise behaviour around the bar: the form's other controls and the form itself
// taking up the change, the accordion of bars in one container, the click that minimises, and
// auto-hide under the mouse on the virtual clock.
#include "controls/command/command.h"
#include "controls/dreambar/dreambar_test.h"
#include "menus/popup_menu.h"

namespace brimlox::test {
namespace {

using controls::DreamBar;

class DreamBarMinimizeTest : public DreamBarTest {};

TEST_F(DreamBarMinimizeTest, ATopBarMovesTheFormsControlsAndABottomBarResizesTheForm) {
    MakeForm();
    auto bar = AddBar(0, 0, 400, 100);
    bar->SetCaption("Top");
    bar->SetAlign(host::kAlignTop);
    bar->SetHeight(1500);
    bar->SetAutoAdjust(true);
    auto below = form->Add("Probe");
    below->Move(30 * kTwips, 2010, 20 * kTwips, 20 * kTwips);
    Record(*bar, {"Changed"});
    const int strip = bar->CaptionHeight() * kTwips;
    bar->SetMinimized(true);
    EXPECT_EQ(bar->Height(), strip);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "Changed(True," + std::to_string(-(1500 - strip)) + ")");
    EXPECT_EQ(below->Top(), 2010 - (1500 - strip));
    bar->SetMinimized(false);
    EXPECT_EQ(below->Top(), 2010);

    auto bottom = AddBar(0, 0, 400, 60);
    bottom->SetAlign(host::kAlignBottom);
    bottom->SetAutoAdjustForm(true);
    const std::int32_t formHeight = form->Height();
    bottom->SetMinimized(true);
    EXPECT_EQ(form->Height(), formHeight - (60 * kTwips - bottom->CaptionHeight() * kTwips));
    EXPECT_EQ(below->Top(), 2010) << "the form shrinks instead";

    // AutoSize moves the form's controls only for a bar at the top, by the size it reached.
    bottom->SetMinimized(false);
    auto child = AddChild(*bottom, 4, 4);
    child->SetHeight(80 * kTwips);
    bottom->SetAutoSize(true);
    EXPECT_EQ(below->Top(), 2010) << "a bottom bar that grows pushes nothing";
}

// A bar docked left works across: it minimises to a strip of its caption's height in width, the
// form's controls move left and back, and resizing it while minimised keeps its full size.
TEST_F(DreamBarMinimizeTest, ALeftBarMovesTheFormsControlsSideways) {
    MakeForm();
    auto bar = AddBar(0, 0, 120, 300);
    bar->SetCaption("Side");
    bar->SetAlign(host::kAlignLeft);
    bar->SetAutoAdjust(true);
    auto right = form->Add("Probe");
    right->Move(200 * kTwips, 10 * kTwips, 20 * kTwips, 20 * kTwips);
    const int strip = bar->CaptionHeight() * kTwips;
    bar->SetMinimized(true);
    EXPECT_EQ(bar->Width(), strip);
    EXPECT_EQ(right->Left(), 200 * kTwips - (120 * kTwips - strip));
    bar->SetHeight(200 * kTwips);
    EXPECT_FLOAT_EQ(bar->FullSize(), 120 * kTwips) << "a resize while minimised is not the full size";
    bar->SetMinimized(false);
    EXPECT_EQ(bar->Width(), 120 * kTwips);
    EXPECT_EQ(right->Left(), 200 * kTwips);
}

// Three bars stacked in one container: expanding one minimises the others and moves the ones
// below it; every bar keeps its own full size to come back to, and each raises Changed once.
TEST_F(DreamBarMinimizeTest, BarsInOneContainerFormAnAccordion) {
    MakeForm();
    auto box = form->Add("PictureBox");
    box->Move(0, 0, 200 * kTwips, 300 * kTwips);
    std::vector<std::shared_ptr<DreamBar>> bars;
    for (int i = 0; i < 3; ++i) {
        auto bar = std::static_pointer_cast<DreamBar>(form->Add("DreamBar", "", box.get()));
        bar->Move(0, i * 80 * kTwips, 200 * kTwips, 80 * kTwips);
        bar->SetCaption("Bar " + std::to_string(i));
        bars.push_back(bar);
    }
    for (auto& bar : bars) bar->SetAutoAdjust(true);
    for (auto& bar : bars) Record(*bar, {"Changed"});
    const int strip = bars[0]->CaptionHeight() * kTwips;

    bars[1]->SetMinimized(true);
    EXPECT_TRUE(bars[0]->Minimized() && bars[1]->Minimized() && bars[2]->Minimized());
    for (auto& bar : bars) EXPECT_FLOAT_EQ(bar->FullSize(), 80 * kTwips) << "never the strip";
    EXPECT_EQ(events.size(), 3u) << "one Changed each";

    events.clear();
    bars[1]->SetMinimized(false);
    EXPECT_FALSE(bars[1]->Minimized());
    EXPECT_TRUE(bars[0]->Minimized() && bars[2]->Minimized());
    EXPECT_EQ(bars[1]->Height(), 80 * kTwips);
    EXPECT_EQ(bars[2]->Top(), 2 * strip + (80 * kTwips - strip)) << "the lowest bar moved down by the size change";
    EXPECT_EQ(events.size(), 1u);

    bars[0]->SetMinimized(false);
    EXPECT_TRUE(bars[1]->Minimized()) << "one open at a time";
    EXPECT_EQ(bars[1]->Height(), strip);
    bars[1]->SetMinimized(false);
    EXPECT_EQ(bars[1]->Height(), 80 * kTwips) << "it still expands to its full size";

    // A bar loaded minimised takes its strip without minimising the bar that is open, even
    // when its stored height is a pixel off the strip.
    host::PropertyBag saved;
    saved.WriteProperty("Minimized", true);
    saved.WriteProperty("StdHeight", 80.0f * kTwips);
    saved.WriteProperty("AutoAdjust", true);
    saved.WriteProperty("Caption", std::string("Loaded"));
    auto loaded = std::static_pointer_cast<DreamBar>(form->Add("DreamBar", "", box.get()));
    loaded->Move(0, 250 * kTwips, 200 * kTwips, strip + kTwips);
    loaded->ReadProperties(saved);
    loaded->Refresh();
    EXPECT_TRUE(loaded->Minimized());
    EXPECT_EQ(loaded->Height(), strip);
    EXPECT_FALSE(bars[1]->Minimized()) << "the open bar stays open";
}

TEST_F(DreamBarMinimizeTest, ClicksMinimiseAndAutoHideFollowsTheMouse) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 80);
    bar->SetCaption("Click");
    Play("wait 300ms\n");
    Play("at 0ms move 50 50\nclick right\nwait 50ms\n");
    EXPECT_FALSE(bar->Minimized()) << "a right click without MinimizeAuto does nothing";
    bar->SetMinimizeAuto(true);
    Play("at 0ms move 50 50\nclick right\nwait 50ms\n");
    EXPECT_TRUE(bar->Minimized());
    Play("at 0ms move 50 5\nclick left\nwait 50ms\n");
    EXPECT_FALSE(bar->Minimized()) << "any click on the strip expands it";

    bar->SetAutoHideDelay(300);
    bar->SetAutoHide(true);
    Play("at 0ms move 300 250\nwait 350ms\n");
    EXPECT_TRUE(bar->Minimized()) << "hidden once the mouse is away";
    Play("at 0ms move 50 5\nwait 150ms\n");
    EXPECT_FALSE(bar->Minimized()) << "shown at the next tick after the mouse came";
    Play("at 0ms move 50 50\ndown left\nmove 300 250\nwait 600ms\n");
    EXPECT_FALSE(bar->Minimized()) << "not while the button is held";
    Play("at 0ms up left\nwait 350ms\n");
    EXPECT_TRUE(bar->Minimized()) << "hidden at the first tick after the release";

    // A bar made at run time hides without its delay ever being set.
    auto fresh = AddBar(0, 150, 200, 60);
    fresh->SetAutoHide(true);
    Play("at 0ms move 300 280\nwait 350ms\n");
    EXPECT_TRUE(fresh->Minimized());
    // Hidden, it looks every 100 ms without painting itself again.
    Record(*fresh, {"Refreshed"});
    Play("wait 1000ms\n");
    EXPECT_TRUE(fresh->Minimized());
    EXPECT_TRUE(events.empty()) << events.size() << " paints of a hidden bar";
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

using host::Variant;

class DreamBarMenuTest : public DreamBarTest {};

// File's menu opens; the mouse goes over Edit and stays: Edit's menu takes over and the keys
// choose from it. Resting on File's own button changes nothing.
TEST_F(DreamBarMenuTest, MovingOntoAnotherMenuButtonHandsTheOpenMenuOver) {
    MakeForm();
    auto bar = AddBar(0, 0, 300, 40);
    auto file = std::static_pointer_cast<controls::Command>(form->Add("Command", "cmdFile", bar.get()));
    auto edit = std::static_pointer_cast<controls::Command>(form->Add("Command", "cmdEdit", bar.get()));
    file->Move(15 * kTwips, 8 * kTwips, 60 * kTwips, 20 * kTwips);
    edit->Move(100 * kTwips, 8 * kTwips, 60 * kTwips, 20 * kTwips);
    file->Menu().AddMenu("New", Variant("new"));
    file->Menu().AddMenu("Open", Variant("open"));
    edit->Menu().AddMenu("Copy", Variant("copy"));
    edit->Menu().AddMenu("Paste", Variant("paste"));
    host::DoEvents();
    std::vector<std::string> chosen;
    for (auto* b : {file.get(), edit.get()})
        b->Connect("MenuClick", [&](std::span<Variant> a) { chosen.push_back(a[0].ToString()); });
    Play("at 10ms move 40 18\nclick left\nat 300ms move 130 18\nat 320ms move 131 18\n"
         "at 900ms key press VK_DOWN\nkey press VK_DOWN\nkey press VK_RETURN\n");
    EXPECT_EQ(chosen, (std::vector<std::string>{"paste"}));
    EXPECT_FALSE(menus::Popup().menuShowing);

    chosen.clear();
    Play("at 10ms move 40 18\nclick left\nat 300ms move 50 18\nat 320ms move 51 18\nat 900ms move 52 18\n"
         "at 1000ms key press VK_DOWN\nkey press VK_RETURN\n");
    EXPECT_EQ(chosen, (std::vector<std::string>{"new"}));
}

}  // namespace
}  // namespace brimlox::test
