// SplitWindow and the keyboard: a focused splitter moves its gap with the arrow keys exactly as
// a drag of the same distance does (panes, children's resizes, Changed), Home and End reach the
// drag's limits, Escape undoes a move made with the keys (without the cancel button taking the
// key), F6 chooses the gap, and the focus frame round the gap shows only with the focus cue.
#include <algorithm>

#include "controls/command/command.h"
#include "controls/splitwindow/splitwindow_test.h"
#include "platform/host/keyboard.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;
using Texts = std::vector<std::string>;

class SplitWindowKeysTest : public SplitWindowTest {
protected:
    // An active vertical splitter of 300 x 200 pixels at the screen's origin with `count` Probe
    // children spread evenly; with two, the gap covers pixels 148 to 150.
    std::shared_ptr<SplitWindow> Splitter(int count = 2) {
        MakeForm();
        auto s = AddSplitter(0, 0, 300, 200);
        children = AddChildren(*s, count);
        s->SetActive(true);
        Settle();
        Record(*s, {"Changed", "MouseDown", "MouseUp"});
        return s;
    }

    // The children's resizes the last script caused, and the splitter's events.
    Texts Effects() {
        Texts out = events;
        for (const auto& e : ProbeLog())
            if (e.ends_with(":Resize")) out.push_back(e);
        return out;
    }

    void Keys(const std::string& script) {
        events.clear();
        ProbeLog().clear();
        Play(script);
    }

    void TearDown() override {
        children.clear();
        SplitWindowTest::TearDown();
    }

    std::vector<std::shared_ptr<host::Control>> children;
};

TEST_F(SplitWindowKeysTest, ArrowsMoveTheGapAsADragDoesAndEscapeUndoesTheMove) {
    auto s = Splitter();
    const Texts start = PaneText(*s);
    ASSERT_EQ(start, (Texts{"45+2175", "2265+2190"}));
    // The reference: a drag of 8 pixels to the right.
    Keys("move 148 100\ndown left\nmove 156 100\nup left\n");
    const Texts dragged = PaneText(*s), dragEffects = Effects();
    ASSERT_EQ(dragged, (Texts{"45+2295", "2385+2070"}));
    ASSERT_EQ(dragEffects[0], "Changed");
    EXPECT_TRUE(host::HasFocus(*s)) << "a press on the gap focuses the splitter";

    // Dragged back where it started, then one Right: the same panes, resizes and Changed.
    Keys("move 156 100\ndown left\nmove 148 100\nup left\n");
    ASSERT_EQ(PaneText(*s), start);
    Keys("key press VK_RIGHT\n");
    EXPECT_EQ(PaneText(*s), dragged);
    EXPECT_EQ(Effects(), dragEffects);
    EXPECT_EQ(children[1]->Left(), 2385);
    EXPECT_TRUE(s->KeyMoving());

    // Shift moves a pixel, Ctrl 32; Up and Down are across this splitter and do nothing.
    Keys("key down VK_SHIFT\nkey press VK_LEFT\nkey up VK_SHIFT\nkey down VK_CONTROL\nkey press VK_RIGHT\n"
         "key up VK_CONTROL\nkey press VK_UP\nkey press VK_DOWN\n");
    EXPECT_EQ(PaneText(*s), (Texts{"45+2760", "2850+1605"}));
    EXPECT_EQ(events, (Texts{"Changed", "Changed"}));

    // Escape puts back the panes from before the first key, with one Changed.
    Keys("key press VK_ESCAPE\n");
    EXPECT_EQ(PaneText(*s), start);
    EXPECT_EQ(events, (Texts{"Changed"}));
    EXPECT_FALSE(s->KeyMoving());
    Keys("key press VK_ESCAPE\n");
    EXPECT_TRUE(events.empty()) << "nothing to undo";

    // Home and End stop where a drag stops: the held minimum pane from each far end.
    Keys("move 148 100\ndown left\nmove 0 100\nup left\n");
    const Texts dragLow = PaneText(*s);
    Keys("move 8 100\ndown left\nmove 399 100\nup left\n");
    const Texts dragHigh = PaneText(*s);
    Keys("key press VK_HOME\n");
    EXPECT_EQ(PaneText(*s), dragLow);
    EXPECT_EQ(dragLow, (Texts{"45+75", "165+4290"}));
    Keys("key press VK_END\nkey press VK_RIGHT\n");
    EXPECT_EQ(PaneText(*s), dragHigh);
    EXPECT_EQ(events, (Texts{"Changed"})) << "a step past the limit changes nothing";
    // A held key keeps moving it.
    Keys("key down VK_LEFT\nkey down VK_LEFT\nkey down VK_LEFT\nkey up VK_LEFT\n");
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(SplitWindowKeysTest, EnterAndEscapeBelongToAMoveAndThenToTheFormsButtons) {
    auto s = Splitter();
    auto button = [&](const char* name, int x, const char* label) {
        auto b = std::static_pointer_cast<controls::Command>(form->Add("Command", name));
        b->Move(x * 15, 210 * 15, 75 * 15, 25 * 15);
        b->Connect("Click", [this, label](std::span<host::Variant>) { events.push_back(label); });
        return b;
    };
    auto cancel = button("cmdCancel", 0, "cancel");
    cancel->SetCancel(true);
    auto ok = button("cmdOK", 100, "ok");
    ok->SetDefault(true);
    const Texts start = PaneText(*s);
    ASSERT_TRUE(host::SetFocus(*s));

    // During a move Escape undoes it and the cancel button stays up.
    Keys("key press VK_RIGHT\nkey press VK_ESCAPE\n");
    EXPECT_EQ(events, (Texts{"Changed", "Changed"}));
    EXPECT_EQ(PaneText(*s), start);
    // Without a move, Escape is the cancel button's.
    Keys("key press VK_ESCAPE\n");
    EXPECT_EQ(events, (Texts{"cancel"}));
    // Enter keeps a move and is not the default button's meanwhile; then it is.
    ASSERT_TRUE(host::SetFocus(*s));
    Keys("key press VK_RIGHT\nkey press VK_RETURN\n");
    EXPECT_EQ(events, (Texts{"Changed"}));
    EXPECT_FALSE(s->KeyMoving());
    Keys("key press VK_RETURN\n");
    EXPECT_EQ(events, (Texts{"ok"}));
    EXPECT_EQ(PaneText(*s), (Texts{"45+2295", "2385+2070"}));
    // The focus leaving ends a move where it stands: Escape afterwards is the cancel button's.
    ASSERT_TRUE(host::SetFocus(*s));
    Keys("key press VK_RIGHT\nkey press VK_TAB\nkey press VK_ESCAPE\n");
    EXPECT_FALSE(s->KeyMoving());
    EXPECT_EQ(events, (Texts{"Changed", "cancel"}));
    EXPECT_EQ(PaneText(*s), (Texts{"45+2415", "2505+1950"}));
}

TEST_F(SplitWindowKeysTest, F6ChoosesTheGapAndTheFrameShowsOnlyWithTheFocusCue) {
    auto s = Splitter(3);
    // Three panes of 96 pixels from 3: gaps at pixels 99 to 101 and 198 to 200.
    ASSERT_EQ(s->KeyGap(), std::optional<std::size_t>(1));
    const auto plain = ScreenPixels();
    const int width = desktop::Desktop::Instance().Screen().Width();

    // Focus by code, cues hidden: no frame.
    ASSERT_TRUE(host::SetFocus(*s));
    EXPECT_EQ(ScreenPixels(), plain);
    // Alt shows the cues: the frame round the first gap, dots on its border and nowhere else.
    Play("key press VK_MENU\n");
    auto framed = ScreenPixels();
    int changed = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (framed[i] == plain[i]) continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        ++changed;
        EXPECT_TRUE((x == 99 || x == 101) ? y >= 3 && y < 197 : x == 100 && (y == 3 || y == 196)) << x << "," << y;
        EXPECT_EQ(framed[i], ~plain[i] & 0xFFFFFFu) << "inverted";
    }
    EXPECT_GT(changed, 150);

    // F6: the second gap takes the keys and the frame.
    Keys("key press VK_F6\nkey press VK_LEFT\n");
    EXPECT_EQ(s->KeyGap(), std::optional<std::size_t>(2));
    EXPECT_EQ(PaneText(*s), (Texts{"45+1440", "1530+1320", "2895+1560"}));
    framed = ScreenPixels();
    EXPECT_NE(framed[99 * width + 190], plain[99 * width + 190]) << "a dot at the moved gap's first pixel";
    EXPECT_EQ(framed[99 * width + 99], plain[99 * width + 99]) << "none at the first gap";
    // Shift+F6 goes back round; the first gap moves again.
    Keys("key down VK_SHIFT\nkey press VK_F6\nkey up VK_SHIFT\nkey press VK_RIGHT\n");
    EXPECT_EQ(s->KeyGap(), std::optional<std::size_t>(1));
    EXPECT_EQ(PaneText(*s), (Texts{"45+1560", "1650+1200", "2895+1560"}));

    // A tool bar is no splitter: it takes no focus.
    s->SetStyle(controls::ToolBarWindow);
    EXPECT_FALSE(host::CanGetFocus(*s));
}

}  // namespace
}  // namespace brimlox::test
