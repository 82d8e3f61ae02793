// Reloading a form file into an existing form: the window stays, the controls are made anew
// from the file, and a refused file changes nothing.
#include "host_test.h"

#include "platform/host/form_file.h"
#include "platform/host/picture.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using FormReloadTest = HostTest;

TEST_F(FormReloadTest, ReloadKeepsTheWindowAndReplacesTheControls) {
    auto form = Form::Create("frmOne", true);
    form->Move(600, 600, 4800, 3600);
    auto box = form->Add("ProbeContainer", "boxOuter");
    std::static_pointer_cast<Probe>(form->Add("Probe", "prbIn", box.get()))->SetCaption("first");
    const OrderedJson first = SaveFormJson(*form);
    const HWND window = form->hWnd();

    form->Remove(*box);
    form->Add("Probe", "prbOther");
    form->SetCaption("changed");
    form->SetIcon(LoadPicture(SourceDir() + "/fuzz/seeds/picture/icon.ico"));
    form->Font()->SetBold(true);
    form->Move(900, 900, 6000, 4000);
    ProbeLog().clear();
    ReloadFormJson(*form, first, "one.json");

    EXPECT_EQ(form->hWnd(), window);
    EXPECT_EQ(SaveFormJson(*form), first);
    EXPECT_EQ(form->Icon()->Type(), PictureType::None);
    EXPECT_FALSE(form->Font()->Bold());
    ASSERT_EQ(form->Controls().size(), 2u);
    auto inner = std::static_pointer_cast<Probe>(form->Find("prbIn"));
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->Caption(), "first");
    EXPECT_EQ(inner->ContainerControl(), form->Find("boxOuter").get());
    EXPECT_TRUE(IsWindow(inner->hWnd()));
    EXPECT_EQ(GetParent(inner->hWnd()), form->Find("boxOuter")->hWnd());
    // The old control was terminated, the file's ones read their bags.
    EXPECT_EQ(ProbeLog().front(), "prbOther:Terminate");
    EXPECT_NE(std::find(ProbeLog().begin(), ProbeLog().end(), "prbIn:ReadProperties"), ProbeLog().end());
    form->Discard();
}

TEST_F(FormReloadTest, RefusedFileChangesNothingAndRefusedValueLeavesNoControls) {
    auto form = Form::Create("frmTwo", true);
    form->Add("Probe", "prbKeep");
    const OrderedJson before = SaveFormJson(*form);

    OrderedJson unknownType = before;
    unknownType["controls"][0]["type"] = "NoSuchType";
    try {
        ReloadFormJson(*form, unknownType, "two.json");
        ADD_FAILURE() << "an unknown type was accepted";
    } catch (const FormFileError& e) {
        EXPECT_EQ(e.Path(), "two.json: controls[0](prbKeep).type");
    }
    EXPECT_EQ(SaveFormJson(*form), before);

    // A value the control refuses while reading comes after the old controls went: the form is
    // left without controls (and still has its window), and the error names the control.
    OrderedJson refused = before;
    refused["controls"][0]["bag"]["Value"] = -1;
    EXPECT_THROW(ReloadFormJson(*form, refused, "two.json"), FormFileError);
    EXPECT_TRUE(form->Controls().empty());
    EXPECT_TRUE(IsWindow(form->hWnd()));
    form->Discard();
}

}  // namespace
}  // namespace brimlox::test
