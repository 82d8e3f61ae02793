// Docking a SplitWindow by code: the Dock setter on the form's edges (through the host's
// Align) and inside a container, the edges and containers that refuse, the form growing with
// AutoAdjustForm, and layout records that name impossible containers.
#include <gtest/gtest.h>

#include "controls/splitwindow/splitwindow_dock_test.h"
#include "foundation/persistence/layout_restore.h"
#include "platform/host/form_file.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;
using host::kAlignBottom;
using host::kAlignLeft;
using host::kAlignNone;
using host::kAlignRight;
using host::kAlignTop;

class SplitWindowDockTest : public DockTest {};

TEST_F(SplitWindowDockTest, DockPutsTheBarOnAnEdgeTurnedToSuitItAndBackToItsFloatSize) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    bar->SetDock(kAlignTop);
    EXPECT_EQ(bar->Dock(), kAlignTop);
    EXPECT_EQ(bar->Align(), kAlignTop) << "the host keeps it on the form's edge";
    EXPECT_EQ(bar->Left(), 0);
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Width(), Px(400));
    EXPECT_FALSE(bar->Vertical());

    // Another edge: off the top first, then on the left, turned into a column.
    bar->SetDock(kAlignLeft);
    EXPECT_EQ(bar->Dock(), kAlignLeft);
    EXPECT_EQ(bar->Align(), kAlignLeft);
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(bar->Height(), Px(300));
    EXPECT_LT(bar->Width(), bar->Height());
    // Turning for the edge does not change the floating shape.
    EXPECT_EQ(bar->FloatWidth(), Px(120));
    EXPECT_EQ(bar->FloatHeight(), Px(28));

    bar->SetDock(kAlignNone);
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Align(), kAlignNone);
    EXPECT_EQ(bar->Width(), Px(120));
    EXPECT_EQ(bar->Height(), Px(28));
}

TEST_F(SplitWindowDockTest, EdgesThatAreNotAllowedOrOutOfRangeLeaveTheBarFloating) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    bar->SetDockLeft(false);
    bar->SetDock(kAlignLeft);
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Align(), kAlignNone);
    EXPECT_EQ(bar->Left(), Px(100));
    EXPECT_EQ(bar->Width(), Px(120));

    bar->SetDock(7);
    EXPECT_EQ(bar->ConfiguredDock(), kAlignNone) << "an edge outside 0 to 4 is none";
    EXPECT_EQ(bar->Align(), kAlignNone);
    bar->SetDock(-3);
    EXPECT_EQ(bar->ConfiguredDock(), kAlignNone);

    bar->SetDockable(false);
    bar->SetDock(kAlignBottom);
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->ConfiguredDock(), kAlignNone);
    EXPECT_EQ(bar->Align(), kAlignNone);
}

TEST_F(SplitWindowDockTest, InsideAContainerABarDocksOnlyWhenDockableContainedAndStacks) {
    MakeForm();
    auto frame = form->Add("PictureBox", "picHost");
    frame->Move(Px(50), Px(40), Px(300), Px(200));
    auto first = AddToolBar(20, 20, 100, 28, frame.get());
    first->SetDock(kAlignTop);
    EXPECT_EQ(first->Dock(), kAlignNone) << "not DockableContained";
    EXPECT_EQ(first->Top(), Px(20));

    first->SetDockableContained(true);
    first->SetDock(kAlignTop);
    EXPECT_EQ(first->Dock(), kAlignTop);
    EXPECT_EQ(first->Align(), kAlignNone) << "the host aligns only controls on the form";
    EXPECT_EQ(first->Left(), 0);
    EXPECT_EQ(first->Top(), 0);
    RECT client{};
    GetClientRect(frame->hWnd(), &client);
    EXPECT_EQ(first->Width(), Px(client.right));

    // A second bar docked to the same edge goes below the first; one docked to the bottom
    // sits on the container's bottom.
    auto second = AddToolBar(20, 120, 100, 28, frame.get());
    second->SetDockableContained(true);
    second->SetDock(kAlignTop);
    EXPECT_EQ(second->Top(), first->Top() + first->Height());
    auto third = AddToolBar(20, 120, 100, 28, frame.get());
    third->SetDockableContained(true);
    third->SetDock(kAlignBottom);
    EXPECT_EQ(third->Top() + third->Height(), Px(client.bottom));

    // A resize settled by the timer keeps the edge a bar in a container was given (the host
    // aligns only bars on the form, so the bar's Align stays none).
    Idle(250);
    first->SetHeight(first->Height() + Px(6));
    Idle(500);
    EXPECT_EQ(first->ConfiguredDock(), kAlignTop);
    EXPECT_EQ(first->Dock(), kAlignTop);
}

TEST_F(SplitWindowDockTest, AutoAdjustFormGrowsTheFormByTheDockedBarAndShrinksItAgain) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    Idle(250);  // the first paint and tick record where the bar is
    bar->SetAutoAdjustForm(true);
    const std::int32_t height = form->Height(), width = form->Width();
    bar->SetDock(kAlignTop);
    Idle(250);
    EXPECT_EQ(form->Height(), height + bar->Height()) << "the area below the bar keeps its size";
    EXPECT_EQ(form->Width(), width);

    bar->SetDock(kAlignNone);
    Idle(250);
    EXPECT_EQ(form->Height(), height);

    // Docked to a side, the form grows in width.
    bar->SetDock(kAlignRight);
    Idle(250);
    EXPECT_EQ(form->Width(), width + bar->Width());
    EXPECT_EQ(form->Height(), height);
    EXPECT_EQ(bar->Left() + bar->Width(), static_cast<std::int32_t>(form->ScaleWidth()));
}

TEST_F(SplitWindowDockTest, DockedAndFloatingBarsComeBackFromAFormFileAsTheyWereSaved) {
    MakeForm();
    auto top = AddToolBar(100, 100, 120, 29, nullptr, "tbrTop");
    AddButton(*top);
    top->SetDock(kAlignTop);
    auto right = AddToolBar(100, 150, 120, 29, nullptr, "tbrRight");
    right->SetDock(kAlignRight);
    auto floating = AddToolBar(100, 200, 120, 29, nullptr, "tbrFloat");
    floating->SetDockBottom(false);
    const std::string text = host::SaveFormText(*form);
    form->Unload();

    form = host::LoadFormText(text, "saved.json");
    form->Show();
    Idle(250);
    auto find = [&](const char* name) { return std::static_pointer_cast<SplitWindow>(form->Find(name)); };
    EXPECT_EQ(find("tbrTop")->Dock(), kAlignTop);
    EXPECT_EQ(find("tbrTop")->Align(), kAlignTop);
    EXPECT_EQ(find("tbrTop")->Height(), Px(29));
    EXPECT_EQ(find("tbrRight")->Dock(), kAlignRight);
    EXPECT_EQ(find("tbrRight")->Align(), kAlignRight);
    EXPECT_TRUE(find("tbrRight")->Vertical());
    EXPECT_EQ(find("tbrRight")->FloatWidth(), Px(120)) << "the floating shape survives a docked save";
    EXPECT_EQ(find("tbrFloat")->Dock(), kAlignNone);
    EXPECT_FALSE(find("tbrFloat")->DockBottom());
    EXPECT_EQ(find("tbrFloat")->Left(), Px(100));
    EXPECT_EQ(find("tbrFloat")->Top(), Px(200));
}

TEST_F(SplitWindowDockTest, ARestoredRecordNeverMakesTheBarContainItselfAndDocksIt) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28, nullptr, "tbrTools");
    auto inner = form->Add("PictureBox", "picInner", bar.get());
    inner->Move(Px(20), Px(2), Px(40), Px(20));
    // A record that puts the bar inside its own child, and one that docks it to the right.
    const std::vector<std::pair<std::string, std::string>> tampered = {
        {"Window1", "tbrTools, 0, 1500, 1500, 1800, 420, 1800, 420, 0, 0, 0, 0, picInner, 0"},
    };
    foundation::typPersistForm record;
    foundation::SavedAutoAdjust saved;
    foundation::ApplyLayout(form, false, tampered, record, saved, foundation::ClassifyByTypeName);
    EXPECT_EQ(bar->ContainerControl(), nullptr) << "a bar is never its own container";
    EXPECT_EQ(inner->ContainerControl(), bar.get());

    const std::vector<std::pair<std::string, std::string>> docked = {
        {"Window1", "tbrTools, 0, 1500, 1500, 1800, 420, 1800, 420, 0, 0, 1, 4, frmDock, 0"},
    };
    foundation::ApplyLayout(form, false, docked, record, saved, foundation::ClassifyByTypeName);
    saved.GiveBack();
    EXPECT_EQ(bar->Dock(), kAlignRight);
    EXPECT_EQ(bar->Align(), kAlignRight);
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(bar->FloatWidth(), 1800);
    EXPECT_EQ(bar->FloatHeight(), 420);
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

class SplitWindowAdjustTest : public DockTest {};

TEST_F(SplitWindowAdjustTest, AutoAdjustShiftsFixedPositionsAndStretchesSideBarsInAContainer) {
    MakeForm();
    auto panel = form->Add("PictureBox", "picPanel");
    panel->Move(Px(20), Px(20), Px(340), Px(240));
    RECT client{};
    GetClientRect(panel->hWnd(), &client);
    auto side = AddToolBar(100, 60, 29, 120, panel.get());
    side->SetDockableContained(true);
    side->SetDock(host::kAlignLeft);
    ASSERT_EQ(side->Dock(), host::kAlignLeft);
    EXPECT_EQ(side->Top(), 0);
    EXPECT_EQ(side->Height(), Px(client.bottom));
    // A window lower down keeps a fixed position; one above the docking bar keeps its own.
    auto low = AddToolBar(150, 150, 100, 29, panel.get());
    low->SetFixedY(static_cast<float>(Px(150)));
    auto high = AddToolBar(150, 0, 60, 29, panel.get());
    high->SetFixedY(static_cast<float>(Px(1)));

    auto top = AddToolBar(120, 40, 120, 29, panel.get());
    top->SetDockableContained(true);
    top->SetAutoAdjust(true);
    top->SetDock(host::kAlignTop);
    ASSERT_EQ(top->Dock(), host::kAlignTop);
    ASSERT_EQ(top->Top(), 0);
    Idle(250);
    EXPECT_EQ(low->FixedY(), Px(150) + top->Height()) << "the window beyond moved with the docked bar";
    EXPECT_EQ(high->FixedY(), Px(1));
    EXPECT_EQ(side->Top(), top->Height()) << "the side bar starts below the top bar";
    EXPECT_EQ(side->Top() + side->Height(), Px(client.bottom));

    // Floating again, the fixed position moves back.
    top->SetDock(host::kAlignNone);
    Idle(250);
    EXPECT_EQ(low->FixedY(), Px(150));
    EXPECT_EQ(side->Top(), 0);
}

TEST_F(SplitWindowAdjustTest, AWindowLoadedWithoutAFloatSizeUndocksAtASizeNotAtZero) {
    MakeForm();
    // A form file that never stored a float size: FloatWidth and FloatHeight read back 0.
    auto win = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow"));
    host::PropertyBag empty;
    win->ReadProperties(empty);
    ASSERT_EQ(win->FloatWidth(), 0);
    win->SetDockable(true);
    win->SetDock(host::kAlignTop);
    win->Move(0, 0, Px(400), Px(40));
    win->SetDock(host::kAlignNone);
    EXPECT_EQ(win->Align(), host::kAlignNone);
    EXPECT_EQ(win->Width(), Px(400)) << "the size it had stands in for the float size";
    EXPECT_EQ(win->Height(), Px(40));
}

}  // namespace
}  // namespace brimlox::test
