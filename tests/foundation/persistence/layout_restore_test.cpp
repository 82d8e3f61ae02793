// Restoring a saved layout onto a form: the form's placement on the screen, controls found by
// name, index and container, the docking properties of splitters and bars, and the records
// that are missing or damaged.
#include <gtest/gtest.h>

#include "foundation/persistence/design_environment.h"
#include "foundation/persistence/form_persistence.h"
#include "persist_test.h"

namespace brimlox::test {

using foundation::FormPersistence;
using host::Variant;

using PersistRestore = PersistTest;

TEST_F(PersistRestore, PlacesTheFormOnTheScreenAndByItsBorderStyle) {
    Store("frmMain", "Form", "14000, 8000, 4000, 3000, 0");
    auto form = NewForm();
    FormPersistence p(Services());
    ASSERT_TRUE(p.PersistForm(form));
    EXPECT_TRUE(p.FormRestored());
    EXPECT_EQ(form->Left(), 8000) << "pulled back onto the 12000-twip screen";
    EXPECT_EQ(form->Top(), 6000);
    EXPECT_EQ(form->Width(), 4000);
    EXPECT_EQ(p.FormRecord().Left, 8000);

    // A sizable form gets its size and window state; a fixed dialog only its position.
    Store("frmSizable", "Form", "1200, 900, 6000, 4500, 2");
    Store("frmDialog", "Form", "1200, 900, 6000, 4500, 2");
    auto sizable = NewForm("frmSizable"), dialog = NewForm("frmDialog");
    dialog->SetBorderStyle(3);
    FormPersistence ps(Services()), pd(Services());
    ps.PersistForm(sizable);
    pd.PersistForm(dialog);
    EXPECT_EQ(sizable->WindowState(), 2);
    sizable->SetWindowState(0);
    EXPECT_EQ(sizable->Left(), 1200); EXPECT_EQ(sizable->Top(), 900);
    EXPECT_EQ(sizable->Width(), 6000); EXPECT_EQ(sizable->Height(), 4500);
    EXPECT_EQ(dialog->WindowState(), 0);
    EXPECT_EQ(dialog->Left(), 1200); EXPECT_EQ(dialog->Top(), 900);
    EXPECT_EQ(dialog->Width(), 4800); EXPECT_EQ(dialog->Height(), 3600);
}

TEST_F(PersistRestore, AMissingOrDamagedFormRecordCentresTheFormWithinTheScreen) {
    for (const char* value : {"", "1200, 900, 6000, 4500", "abc, 900, 6000, 4500, 0", "1e12, 900, 6000, 4500, 0",
                              "nan, 900, 6000, 4500, 0", "1200, 900, 6000, 4500, 0, 0"}) {
        Store("frmMain", "Form", value);
        auto form = NewForm();
        FormPersistence p(Services());
        ASSERT_TRUE(p.PersistForm(form));
        EXPECT_FALSE(p.FormRestored()) << value;
        EXPECT_EQ(form->Left(), 3600) << value;
        EXPECT_EQ(form->Top(), 2700) << value;
    }
    // Larger than the screen: at its origin, not at a negative position.
    auto big = NewForm("frmBig");
    big->Move(500, 500, 15000, 10000);
    FormPersistence p(Services());
    p.PersistForm(big);
    EXPECT_EQ(big->Left(), 0); EXPECT_EQ(big->Top(), 0);
    auto stay = NewForm("frmStay");
    stay->Move(500, 600, 4800, 3600);
    FormPersistence q(Services());
    q.PersistForm(stay, false);
    EXPECT_EQ(stay->Left(), 500); EXPECT_EQ(stay->Top(), 600);
}

TEST_F(PersistRestore, AFormThatStaysMaximisedKeepsItsNormalPlacement) {
    Store("frmMain", "Form", "14000, 900, 4000, 4500, 2");
    {
        auto form = NewForm();
        form->Load();
        FormPersistence p(Services());
        p.PersistForm(form);
        EXPECT_EQ(form->WindowState(), 2);
        ASSERT_TRUE(form->Unload());
        p.Terminate();
    }
    EXPECT_EQ(Stored("frmMain", "Form"), "8000, 900, 4000, 4500, 2") << "what was applied, not what was read";

    // A record without a size keeps the designed size, so un-maximising never gives 0 x 0.
    Store("frmMain", "Form", "300, 200, 0, 0, 2");
    auto form = NewForm();
    form->Load();
    FormPersistence p(Services());
    p.PersistForm(form);
    EXPECT_EQ(form->WindowState(), 2);
    form->SetWindowState(0);
    EXPECT_EQ(form->Left(), 300); EXPECT_EQ(form->Width(), 4800); EXPECT_EQ(form->Height(), 3600);
    form->SetWindowState(2);
    ASSERT_TRUE(form->Unload());
    p.Terminate();
    EXPECT_EQ(Stored("frmMain", "Form"), "300, 200, 4800, 3600, 2");
}

TEST_F(PersistRestore, AFormClosedMinimisedComesBackNormal) {
    Store("frmMain", "Form", "1200, 900, 6000, 4500, 1");
    auto form = NewForm();
    FormPersistence p(Services());
    p.PersistForm(form);
    EXPECT_EQ(form->WindowState(), 0);
    EXPECT_EQ(form->Left(), 1200); EXPECT_EQ(form->Width(), 6000);
    EXPECT_EQ(p.FormRecord().State, 0);
    EXPECT_EQ(Stored("frmMain", "Form"), "1200, 900, 6000, 4500, 1") << "the store is only written at the end";
}

TEST_F(PersistRestore, ControlsAreFoundByNameIndexAndContainer) {
    auto form = NewForm();
    auto renamed = form->Add("Label", "lblNew");
    auto box1 = form->Add("Frame", "fraBox", nullptr, 1), box2 = form->Add("Frame", "fraBox", nullptr, 2);
    auto inFrame = form->Add("Label", "lblInFrame");
    auto arr0 = form->Add("Label", "lblArr", nullptr, 0), arr1 = form->Add("Label", "lblArr", nullptr, 1);
    renamed->Move(300, 300, 1000, 300);
    arr0->Move(300, 600, 1000, 300);
    Store("frmMain", "Window1", "lblOld, 0, 5000, 5000, 1000, 300, 0, 0, 0, 0, 0, 0,frmMain, 0");
    Store("frmMain", "Window2", "lblArr, 1, nan, 0, 1000, 300, 0, 0, 0, 0, 0, 0,frmMain, 0");
    Store("frmMain", "Window3", "lblInFrame, 0, 60, 240, 900, 300, 0, 0, 0, 0, 0, 0,fraBox, 3");
    Store("frmMain", "Window4", "lblArr, 2, 2000, 1500, 800, 200, 0, 0, 0, 0, 0, 0,frmMain, 0");
    Store("frmMain", "Window6", "lblNew, 0, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0,frmMain, 0");
    FormPersistence p(Services());
    p.PersistForm(form);
    EXPECT_EQ(renamed->Left(), 300) << "a renamed control keeps its designed placement";
    EXPECT_EQ(arr0->Left(), 300) << "a damaged record is skipped";
    EXPECT_EQ(arr0->Top(), 600);
    EXPECT_EQ(inFrame->ContainerControl(), box2.get()) << "restored into the frame it was saved in";
    EXPECT_EQ(inFrame->Left(), 60); EXPECT_EQ(inFrame->Top(), 240);
    EXPECT_EQ(arr1->Left(), 2000); EXPECT_EQ(arr1->Top(), 1500); EXPECT_EQ(arr1->Width(), 800);
    EXPECT_EQ(renamed->Width(), 1000) << "records after the first missing number are not read";
    (void)box1;
}

TEST_F(PersistRestore, SplittersAndBarsGetTheirDockingPropertiesBack) {
    auto form = NewForm();
    auto bar = AddProbe(*form, kBarProbe, "dbr");
    auto spl = AddProbe(*form, kSplitProbe, "spl");
    auto tool = AddProbe(*form, kSplitProbe, "splTool", bar.get());
    auto odd = AddProbe(*form, kSplitProbe, "splOdd");
    Store("frmMain", "Window1", "dbr, 0, 0, 0, 12000, 600, 2500, 0, 0, 0, 1, 1,frmMain, 0");
    Store("frmMain", "Window2", "spl, 0, 0, 0, 1500, 3000, 2000, 1600, 30, 40, 1, 3,frmMain, 0");
    Store("frmMain", "Window3", "splTool, 0, 100, 50, 2000, 400, 0, 0, 0, 0, 0, 2,dbr, 0");
    Store("frmMain", "Window4", "splOdd, 0, 700, 800, 900, 1000, 0, 0, 0, 0, 0, 9,frmMain, 0");
    FormPersistence p(Services());
    p.PersistForm(form);
    EXPECT_EQ(bar->values["FullSize"].ToSingle(), 2500);
    EXPECT_EQ(bar->values["Minimized"].ToInteger(), -1) << "a bar saved minimised comes back minimised";
    EXPECT_EQ(spl->values["FloatWidth"].ToSingle(), 2000); EXPECT_EQ(spl->values["FloatHeight"].ToSingle(), 1600);
    EXPECT_EQ(spl->values["FixedX"].ToSingle(), 30); EXPECT_EQ(spl->values["FixedY"].ToSingle(), 40);
    EXPECT_EQ(spl->values["Vertical"].ToInteger(), -1) << "stored 1 is True, -1";
    EXPECT_EQ(spl->Align(), host::kAlignLeft);
    EXPECT_EQ(spl->values["Dock"].ToInteger(), 3);
    EXPECT_EQ(spl->Width(), 1500);
    EXPECT_EQ(tool->values["Docked"].ToInteger(), 2) << "inside a bar the dock is its Docked";
    EXPECT_EQ(tool->lets["Dock"], 0);
    EXPECT_EQ(tool->Left(), 100); EXPECT_EQ(tool->Width(), 2000);
    EXPECT_EQ(odd->lets["Dock"], 0) << "a dock value outside 0-4 is ignored";
    EXPECT_EQ(odd->Align(), host::kAlignNone);
    EXPECT_EQ(odd->Left(), 700); EXPECT_EQ(odd->Height(), 1000);
}

TEST_F(PersistRestore, TheDesignEnvironmentIsToldByItsWindowTitle) {
    EXPECT_FALSE(foundation::InDesignEnvironment()) << "a normal run";
    HWND ide = MakeTopLevel("Project1 - Brimlox Designer [design]", {0, 0, 100, 100});
    EXPECT_FALSE(foundation::InDesignEnvironment());
    Store("frmMain", "Form", "1200, 900, 6000, 4500, 0");
    auto form = NewForm();
    FormPersistence p(Services());
    p.PersistForm(form);
    p.RemovePersistenceIDE("frmMain");
    EXPECT_EQ(Stored("frmMain", "Form"), "1200, 900, 6000, 4500, 0");
    SetWindowTextA(ide, "project1 - BRIMLOX DESIGNER [Run]");
    EXPECT_TRUE(foundation::InDesignEnvironment());
    p.RemovePersistenceIDE("frmMain");
    EXPECT_EQ(Stored("frmMain", "Form"), "<none>");
    EXPECT_TRUE(p.FormRestored());
    EXPECT_FALSE(p.Established());
    FormPersistence idle(Services());
    idle.RemovePersistenceIDE("frmNothingSaved");
    EXPECT_FALSE(idle.FormRestored()) << "nothing was deleted";
    DestroyWindow(ide);
}

}  // namespace brimlox::test
