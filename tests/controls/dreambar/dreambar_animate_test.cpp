// DreamBar's AnimationTime: minimising and expanding spread over time on the virtual clock,
// ending exactly where the instant change ends (bar, form controls, accordion), a change of
// mind half way, and the property through the bag and a form file.
#include <filesystem>

#include "controls/dreambar/dreambar_test.h"
#include "platform/host/form_file.h"

namespace brimlox::test {
namespace {

using controls::DreamBar;

class DreamBarAnimateTest : public DreamBarTest {
protected:
    // Each Play then ends at its last wait, so the tests see the bars half way.
    void SetUp() override {
        DreamBarTest::SetUp();
        desktop::Desktop::Instance().SetSettleTime(0);
    }
    void TearDown() override {
        onBar.reset();
        below.reset();
        DreamBarTest::TearDown();
    }
    // A top bar 100 pixels high with a control on it and a control of the form below it.
    std::shared_ptr<DreamBar> TopBar(int animationMs) {
        auto bar = AddBar(0, 0, 400, 100);
        bar->SetCaption("Top");
        bar->SetAlign(host::kAlignTop);
        bar->SetAutoAdjust(true);
        bar->SetAnimationTime(animationMs);
        onBar = AddChild(*bar, 10, 40);
        below = form->Add("Probe");
        below->Move(30 * kTwips, 150 * kTwips, 20 * kTwips, 20 * kTwips);
        host::DoEvents();
        return bar;
    }
    std::shared_ptr<host::Control> onBar, below;
};

TEST_F(DreamBarAnimateTest, MinimisingTakesItsTimeAndEndsWhereTheInstantChangeEnds) {
    MakeForm();
    auto bar = TopBar(200);
    Record(*bar, {"Changed"});
    const int strip = bar->CaptionHeight() * kTwips;
    const int full = 100 * kTwips;

    bar->SetMinimized(true);
    EXPECT_TRUE(bar->Minimized()) << "the state is the new one at once";
    EXPECT_EQ(bar->Height(), full) << "the size is not";
    EXPECT_EQ(onBar->Top(), 40 * kTwips + strip) << "the controls on the bar moved at once";
    EXPECT_TRUE(events.empty());
    Play("wait 100ms\n");
    const int halfway = bar->Height();
    EXPECT_GT(halfway, strip);
    EXPECT_LT(halfway, full);
    EXPECT_EQ(below->Top(), 150 * kTwips - (full - halfway)) << "the form's controls follow each step";
    EXPECT_TRUE(events.empty());
    Play("wait 150ms\n");
    EXPECT_FALSE(bar->Animating());
    EXPECT_EQ(bar->Height(), strip);
    EXPECT_EQ(below->Top(), 150 * kTwips - (full - strip));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "Changed(True," + std::to_string(-(full - strip)) + ")");
    EXPECT_FLOAT_EQ(bar->FullSize(), full) << "the steps did not become the full size";

    events.clear();
    bar->SetMinimized(false);
    Play("wait 300ms\n");
    EXPECT_EQ(bar->Height(), full);
    EXPECT_EQ(below->Top(), 150 * kTwips);
    EXPECT_EQ(onBar->Top(), 40 * kTwips);
    EXPECT_EQ(events, (std::vector<std::string>{"Changed(False," + std::to_string(full - strip) + ")"}));

    // Expanding half way through minimising finishes the minimise first: the bar, its controls
    // and the form end as they began, and both changes are reported.
    events.clear();
    bar->SetMinimized(true);
    Play("wait 60ms\n");
    bar->SetMinimized(false);
    Play("wait 300ms\n");
    EXPECT_EQ(bar->Height(), full);
    EXPECT_EQ(below->Top(), 150 * kTwips);
    EXPECT_EQ(onBar->Top(), 40 * kTwips);
    EXPECT_EQ(events.size(), 2u);

    // A bar saved in the middle of an animation is saved in its final state.
    bar->SetMinimized(true);
    Play("wait 60ms\n");
    host::PropertyBag bag;
    bar->WriteProperties(bag);
    EXPECT_TRUE(bag.ReadProperty("Minimized").ToBool());
    EXPECT_FLOAT_EQ(bag.ReadProperty("StdHeight").ToSingle(), full);
    EXPECT_EQ(bar->Height(), strip);
    EXPECT_EQ(bag.ReadProperty("AnimationTime").ToLong(), 200);
}

// The accordion animated ends exactly as the accordion without animation: every bar's top and
// height, and one Changed per bar.
TEST_F(DreamBarAnimateTest, AnAnimatedAccordionEndsAsTheInstantOne) {
    struct Outcome {
        std::vector<std::int32_t> tops, heights;
        std::size_t changes;
    };
    auto run = [&](int animationMs) {
        MakeForm();
        auto box = form->Add("PictureBox");
        box->Move(0, 0, 200 * kTwips, 300 * kTwips);
        std::vector<std::shared_ptr<DreamBar>> bars;
        for (int i = 0; i < 3; ++i) {
            auto bar = std::static_pointer_cast<DreamBar>(form->Add("DreamBar", "", box.get()));
            bar->Move(0, i * 80 * kTwips, 200 * kTwips, 80 * kTwips);
            bar->SetCaption("Bar " + std::to_string(i));
            bar->SetAutoAdjust(true);
            bar->SetAnimationTime(animationMs);
            bars.push_back(bar);
        }
        host::DoEvents();
        events.clear();
        for (auto& bar : bars) Record(*bar, {"Changed"});
        bars[1]->SetMinimized(true);
        Play("wait 400ms\n");
        bars[2]->SetMinimized(false);
        Play("wait 400ms\n");
        bars[0]->SetMinimized(false);
        Play("wait 400ms\n");
        Outcome o;
        for (auto& bar : bars) {
            EXPECT_FALSE(bar->Animating());
            o.tops.push_back(bar->Top());
            o.heights.push_back(bar->Height());
        }
        o.changes = events.size();
        EXPECT_FALSE(bars[0]->Minimized());
        EXPECT_TRUE(bars[1]->Minimized() && bars[2]->Minimized());
        form->Unload();
        return o;
    };
    const Outcome instant = run(0);
    const Outcome animated = run(150);
    EXPECT_EQ(animated.tops, instant.tops);
    EXPECT_EQ(animated.heights, instant.heights);
    EXPECT_EQ(animated.changes, instant.changes);
    EXPECT_EQ(instant.heights[0], 80 * kTwips);
}

TEST_F(DreamBarAnimateTest, TheTimeIsKeptInRangeAndSurvivesAFormFile) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 80);
    EXPECT_EQ(bar->AnimationTime(), 0);
    host::PropertyBag defaults;
    bar->WriteProperties(defaults);
    EXPECT_FALSE(defaults.Contains("AnimationTime")) << "the default is not written";
    bar->SetAnimationTime(-40);
    EXPECT_EQ(bar->AnimationTime(), 0);
    bar->SetAnimationTime(1 << 30);
    EXPECT_EQ(bar->AnimationTime(), DreamBar::kMaxAnimationMs);
    host::LetProperty(*bar, "AnimationTime", host::Variant(std::int32_t{250}));
    EXPECT_EQ(host::GetProperty(*bar, "AnimationTime").ToLong(), 250);

    const std::string path = (std::filesystem::path(OutputDir()) / "dreambar_animation.json").string();
    host::SaveFormFile(*form, path);
    auto loaded = host::LoadFormFile(path);
    auto copy = std::dynamic_pointer_cast<DreamBar>(loaded->Find(bar->Name()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->AnimationTime(), 250);
    loaded->Unload();

    host::PropertyBag hostile;
    hostile.WriteProperty("AnimationTime", std::int32_t{-7});
    auto other = AddBar(0, 100, 200, 80);
    other->ReadProperties(hostile);
    EXPECT_EQ(other->AnimationTime(), 0);
}

}  // namespace
}  // namespace brimlox::test
