// The divider's Alt-drag, driven by scripted mouse and keyboard input on the host's event
// loop: moving, Escape, a capture taken away, a second press in the middle of a drag. The
// fixture fails any test that leaves the keyboard hook behind.
#include "controls/divider/divider_test.h"

namespace brimlox::test {
namespace {

using controls::Divider;

class DividerInputTest : public DividerTest {
protected:
    // A Moveable dip divider of 60 x 8 pixels at (50, 50) of the form.
    std::shared_ptr<Divider> MoveableDip() {
        MakeForm();
        auto d = AddDivider(50, 50, 60, 8);
        d->SetStyle(controls::DipDivider);
        d->SetMoveable(true);
        return d;
    }
};

TEST_F(DividerInputTest, AltDragMovesTheDividerAsABumpAndEscapePutsItBack) {
    auto d = MoveableDip();
    bool dragging = false;
    std::int16_t style = -1;
    user::HostTimer probe([&] { dragging = dragging || d->Dragging(), style = d->Dragging() ? d->Style() : style; });
    probe.SetInterval(30);
    probe.SetEnabled(true);
    // Grabbed 5 pixels in and 4 down, the divider follows the mouse.
    Play("at 10ms move 55 54\nkey down VK_MENU\ndown left\nat 50ms move 75 64\nat 90ms move 95 84\nup left\n"
         "key up VK_MENU\n");
    EXPECT_TRUE(dragging);
    EXPECT_EQ(style, controls::BumpDivider) << "shown as a bump while dragged";
    EXPECT_EQ(d->Left(), 90 * 15);
    EXPECT_EQ(d->Top(), 80 * 15);
    EXPECT_EQ(d->Style(), controls::DipDivider) << "its own style again when dropped";
    EXPECT_FALSE(d->Dragging());

    // Escape: the next move puts it back where the drag began, with its style.
    Play("at 10ms move 95 84\nkey down VK_MENU\ndown left\nat 50ms move 150 150\nkey press VK_ESCAPE\n"
         "at 90ms move 170 160\nat 120ms move 180 170\nup left\nkey up VK_MENU\n");
    EXPECT_EQ(d->Left(), 90 * 15);
    EXPECT_EQ(d->Top(), 80 * 15);
    EXPECT_EQ(d->Style(), controls::DipDivider);
    EXPECT_FALSE(d->Dragging());

    // Escape just before the release: the release puts it back.
    Play("at 10ms move 95 84\nkey down VK_MENU\ndown left\nat 50ms move 150 150\nkey press VK_ESCAPE\nup left\n"
         "key up VK_MENU\n");
    EXPECT_EQ(d->Left(), 90 * 15);
    EXPECT_EQ(d->Top(), 80 * 15);
    EXPECT_EQ(d->Style(), controls::DipDivider);
}

TEST_F(DividerInputTest, OnlyAnAltLeftPressOnAMoveableDividerDrags) {
    auto d = MoveableDip();
    const std::string drag = "at 10ms move 60 54\ndown left\nat 50ms move 100 100\nup left\n";
    Play(drag);
    EXPECT_EQ(d->Left(), 50 * 15) << "no Alt";
    Play("at 10ms key down VK_MENU\nkey down VK_CONTROL\n" + drag + "key up VK_CONTROL\nkey up VK_MENU\n");
    EXPECT_EQ(d->Left(), 50 * 15) << "Alt with Ctrl";
    Play("at 10ms key down VK_MENU\nmove 60 54\ndown right\nat 50ms move 100 100\nup right\nkey up VK_MENU\n");
    EXPECT_EQ(d->Left(), 50 * 15) << "the right button";
    d->SetMoveable(false);
    Play("at 10ms key down VK_MENU\n" + drag + "key up VK_MENU\n");
    EXPECT_EQ(d->Left(), 50 * 15) << "not Moveable";
    EXPECT_EQ(d->Top(), 50 * 15);

    // A grab far along a long divider is taken as 7 pixels (105 twips) in.
    d->SetMoveable(true);
    Play("at 10ms move 80 52\nkey down VK_MENU\ndown left\nat 50ms move 90 52\nup left\nkey up VK_MENU\n");
    EXPECT_EQ(d->Left(), (90 - 7) * 15);
    EXPECT_EQ(d->Top(), 50 * 15);
}

TEST_F(DividerInputTest, ALostCaptureEndsTheDragWhereTheDividerIs) {
    auto d = MoveableDip();
    user::HostTimer thief([&] { SetCapture(form->hWnd()); });
    thief.SetInterval(60);
    thief.SetEnabled(true);
    Play("at 10ms move 55 54\nkey down VK_MENU\ndown left\nat 40ms move 65 64\nat 80ms move 120 120\nup left\n"
         "key up VK_MENU\nat 150ms move 200 200\n");
    thief.SetEnabled(false);
    ReleaseCapture();
    EXPECT_FALSE(d->Dragging());
    EXPECT_EQ(d->Left(), 60 * 15) << "it stopped where the capture went";
    EXPECT_EQ(d->Top(), 60 * 15);
    EXPECT_EQ(d->Style(), controls::DipDivider);
}

// A press delivered in the middle of a drag (posted by code here) neither starts a second
// drag over the first nor changes what Escape goes back to.
TEST_F(DividerInputTest, ASecondAltPressDuringADragIsIgnored) {
    auto d = MoveableDip();
    user::HostTimer second([&] {
        PostMessageA(d->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    });
    second.SetInterval(70);
    second.SetEnabled(true);
    Play("at 10ms move 55 54\nkey down VK_MENU\ndown left\nat 40ms move 75 74\nat 100ms move 85 84\n"
         "key press VK_ESCAPE\nat 130ms move 90 90\nup left\nkey up VK_MENU\n");
    second.SetEnabled(false);
    EXPECT_FALSE(d->Dragging());
    EXPECT_EQ(d->Left(), 50 * 15) << "back where the first press began";
    EXPECT_EQ(d->Top(), 50 * 15);
    EXPECT_EQ(d->Style(), controls::DipDivider) << "the style from before the drag, not the bump";
}

TEST_F(DividerInputTest, InsideAToolBarADividerIsMoveableAndTheBarRepaintsAfterADrag) {
    MakeForm();
    auto bar = AddToolBar(20, 20, 300, 40);
    auto d = AddDivider(100, 10, 8, 24, bar.get());
    EXPECT_TRUE(d->Moveable());
    d->SetStyle(controls::BumpDivider);
    bar->refreshes_ = 0;
    Play("at 10ms move 124 40\nkey down VK_MENU\ndown left\nat 40ms move 144 40\nup left\nkey up VK_MENU\n");
    EXPECT_EQ(d->Left(), 120 * 15);
    EXPECT_GE(bar->refreshes_, 1);
    EXPECT_EQ(d->Style(), controls::BumpDivider);
}

}  // namespace
}  // namespace brimlox::test
