// Command: naming, setters and their refusals, persistence through a form file, and the size
// rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "controls/command/command_test.h"
#include "platform/host/form_file.h"
#include "platform/host/property_bag.h"

namespace brimlox::test {
namespace {

using controls::Command;
using host::Variant;

TEST_F(CommandTest, NewButtonsNameThemselvesAndSettersKeepTheirRules) {
    // Naming happens in the designer; at run time a name given by code stays.
    MakeForm();
    EXPECT_EQ(form->Add("Command", "cmdByCode")->Name(), "cmdByCode");
    form->Unload();
    form = host::Form::Create("frmDesigner", true);
    auto first = std::static_pointer_cast<Command>(form->Add("Command"));
    EXPECT_EQ(first->Name(), "cmd");
    form->Add("Probe", "cmd1");
    auto third = std::static_pointer_cast<Command>(form->Add("Command"));
    EXPECT_EQ(third->Name(), "cmd2");

    Command& b = *first;
    b.SetGradientPct(150);
    EXPECT_FLOAT_EQ(b.GradientPct(), 99);
    b.SetGradientPct(-150);
    EXPECT_FLOAT_EQ(b.GradientPct(), -99);
    b.SetGradientPct(12.345f);
    EXPECT_FLOAT_EQ(b.GradientPct(), 12.35f);  // 2 decimals of the stored fraction

    b.SetAutoDelay(300);
    EXPECT_EQ(b.AutoInterval(), 300);
    b.SetAutoInterval(50);
    b.SetAutoDelay(400);
    EXPECT_EQ(b.AutoInterval(), 50);

    host::ClearMessageBoxLog();
    b.SetActiveBorder(true);
    b.SetLocked(true);
    EXPECT_FALSE(b.Locked());
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].text, "A Locked control cannot have an Active Border");
    b.SetButton3D(false);
    EXPECT_TRUE(b.Button3D());
    EXPECT_EQ(host::MessageBoxLog().back().text, "ActiveBorder requires a 3D Button");
    b.SetActiveBorder(false);
    b.SetButton3D(false);
    b.SetActiveBorder(false);  // turning it off still makes the button 3D
    EXPECT_TRUE(b.Button3D());

    auto picture = host::StdPicture::FromBytes(std::vector<std::uint8_t>{
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
        0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0});
    b.SetPictureDown(picture);
    EXPECT_EQ(b.Picture(), picture);
    EXPECT_EQ(b.PictureDown(), picture);
    b.SetTransparent(true);
    b.SetPictureBg(picture);
    EXPECT_EQ(b.PictureBg(), nullptr);
    EXPECT_EQ(host::MessageBoxLog().back().text, "A Background Picture is not allowed if the control is Transparent!");
    EXPECT_EQ(host::MessageBoxLog().back().title, "cmd");
}

TEST_F(CommandTest, TheFormTellsListenersWhichButtonAndWhichPropertyChanged) {
    MakeForm();
    auto b = AddButton(*form, "cmdTold", 10, 10, 75, 25);
    std::vector<std::string> changes;
    form->AddPropertyChangedListener(
        [&](host::Control& c, const std::string& p) { changes.push_back(c.Name() + "." + p); });
    b->SetCaption("Go");
    b->SetBevelOuter(1);
    // Menu properties come through the item list's change sink.
    b->Menu().SetMenuItemCaption("First");
    b->Menu().SetMenuWindowList(true);
    host::LetProperty(*b, "Toggle", host::Variant(true));
    EXPECT_EQ(changes, (std::vector<std::string>{"cmdTold.Caption", "cmdTold.BevelOuter", "cmdTold.MenuItemCaption",
                                                 "cmdTold.MenuWindowList", "cmdTold.Toggle"}));
}

TEST_F(CommandTest, ValueOnAPlainButtonIsAClickAtRunTimeAndDefaultIsUniqueOnTheForm) {
    MakeForm();
    auto ok = AddButton(*form, "cmdOk", 10, 10, 75, 25);
    ok->SetValue(true);
    EXPECT_FALSE(ok->Value());
    EXPECT_EQ(events, (std::vector<std::string>{"cmdOk:Click"}));

    RegisterProbes();
    auto frame = form->Add("ProbeContainer", "fraInner");
    auto inner = std::static_pointer_cast<Command>(form->Add("Command", "cmdInner", frame.get()));
    inner->SetDefault(true);
    ok->SetDefault(true);
    EXPECT_TRUE(ok->Default());
    EXPECT_FALSE(inner->Default());
    inner->SetCancel(true);
    ok->SetCancel(true);
    EXPECT_FALSE(inner->Cancel());

    // In the designer Value only stores.
    auto design = host::Form::Create("frmDesign", true);
    auto designed = std::static_pointer_cast<Command>(design->Add("Command"));
    designed->SetValue(true);
    EXPECT_TRUE(designed->Value());
    design->Unload();
}

TEST_F(CommandTest, PropertiesAndMenuItemsSurviveAFormFile) {
    MakeForm("frmSaved");
    auto b = AddButton(*form, "cmdSave", 10, 10, 90, 30);
    b->SetCaption("&Save");
    b->SetBevelOuter(4);
    b->SetGradientPct(-25);
    b->SetButtonColor(0x00336699);
    b->SetToggle(true);
    b->SetValue(true);
    b->SetGroup(3);
    b->SetFont3D(controls::Raised3D);
    b->SetArrowType(controls::DoubleLeft);
    b->SetMenuButton(true);
    b->SetMoveable(true);
    b->SetAutoDelay(250);
    b->Menu().AddMenu("File", Variant("f"));
    b->Menu().AddMenu(">Open", Variant(std::int32_t{7}));
    b->Menu().AddMenu("Exit", Variant("x"), menus::AddMenuOptions{.MenuEnabled = false});
    const std::string path = OutputDir() + "/command_round_trip.json";
    host::SaveFormFile(*form, path);
    form->Unload();

    form = host::LoadFormFile(path);
    auto loaded = std::static_pointer_cast<Command>(form->Find("cmdSave"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Caption(), "&Save");
    EXPECT_EQ(loaded->BevelOuter(), 4);
    EXPECT_FLOAT_EQ(loaded->GradientPct(), -25);
    EXPECT_EQ(loaded->ButtonColor(), 0x00336699u);
    EXPECT_TRUE(loaded->Toggle());
    EXPECT_TRUE(loaded->Value());
    EXPECT_EQ(loaded->Group(), 3);
    EXPECT_EQ(loaded->Font3D(), controls::Raised3D);
    EXPECT_EQ(loaded->ArrowType(), controls::DoubleLeft);
    EXPECT_TRUE(loaded->MenuButton());
    EXPECT_TRUE(loaded->Moveable());
    EXPECT_EQ(loaded->AutoInterval(), 250);
    ASSERT_EQ(loaded->MenuItemCount(), 3);
    EXPECT_EQ(loaded->Menu().Items()[1].Caption, ">Open");
    EXPECT_EQ(loaded->Menu().Items()[1].Tag.ToLong(), 7);
    EXPECT_FALSE(loaded->Menu().Items()[2].Enabled);
    // Saving again gives the same file.
    const std::string again = OutputDir() + "/command_round_trip_again.json";
    host::SaveFormFile(*form, again);
    auto read = [](const std::string& p) {
        std::ifstream in(p);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    EXPECT_EQ(read(path), read(again));
}

TEST_F(CommandTest, StoredValuesAreNormalisedOnLoad) {
    MakeForm();
    auto b = AddButton(*form, "cmdBag", 10, 10, 75, 25);
    host::PropertyBag bag;
    // A huge gradient would give an endless soft edge; a plain button cannot load as down.
    bag.WriteProperty("GradientPct", Variant(1e30f));
    bag.WriteProperty("Value", Variant(true));
    bag.WriteProperty("Rounded", Variant(true));
    b->ReadProperties(bag);
    EXPECT_FLOAT_EQ(b->GradientPct(), 99);
    EXPECT_FALSE(b->Value());
    host::PropertyBag negative;
    negative.WriteProperty("GradientPct", Variant(-7.5f));
    b->ReadProperties(negative);
    EXPECT_FLOAT_EQ(b->GradientPct(), -99);
    b->Refresh();  // paints with the clamped width without trouble
}

TEST_F(CommandTest, SizesAreOddPixelsAndTheFaceFollowsBevelAndDefault) {
    MakeForm();
    auto b = AddButton(*form, "cmdSize", 10, 10, 75, 25);
    b->Move(0, 0, 3000, 100);
    EXPECT_EQ(b->Height(), 105);  // 7 pixels: already odd
    b->Move(0, 0, 181 * 15, 25 * 15);
    EXPECT_EQ(b->Width(), 181 * 15);
    b->Move(0, 0, 180 * 15, 24 * 15);
    EXPECT_EQ(b->Width(), 181 * 15);
    EXPECT_EQ(b->Height(), 25 * 15);
    b->Move(0, 0, 100, 50);
    EXPECT_EQ(b->Width(), 195);  // at least 180 twips, then 13 pixels
    EXPECT_EQ(b->Height(), 105);

    b->Move(0, 0, 75 * 15, 25 * 15);
    b->SetBevelOuter(4);
    b->SetDefault(true);
    EXPECT_EQ(b->GetLayout().faceLeftPx, 5);
    EXPECT_EQ(b->GetLayout().faceTopPx, 5);
    EXPECT_EQ(b->GetLayout().faceWidthPx, 75 - 8 - 2);
    b->SetMenuButton(true);
    EXPECT_EQ(b->GetLayout().menuWidthPx, 9);
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

TEST_F(CommandTest, APictureWithNoRoomOnTheFaceIsLeftOut) {
    MakeForm();
    auto b = AddButton(*form, "cmdTiny", 10, 10, 12, 25);
    // A 1 x 1 blue picture stretched over the face: the strip leaves a negative width.
    auto blue = host::StdPicture::FromBytes(std::vector<std::uint8_t>{
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
        0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0});
    b->SetMenuButton(true);
    b->SetPictureAlignment(controls::StretchFull);
    b->SetPicture(blue);  // without a mask it is copied at its own size to the corner
    b->Refresh();
    host::DoEvents();
    RECT r{};
    GetClientRect(b->hWnd(), &r);
    int bluePixels = 0;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) bluePixels += GetPixel(b->hDC(), x, y) == RGB(0, 0, 255) ? 1 : 0;
    EXPECT_EQ(bluePixels, 0);
    // With room again the picture shows.
    b->SetMenuButton(false);
    b->Move(b->Left(), b->Top(), 60 * 15, 25 * 15);
    b->Refresh();
    host::DoEvents();
    EXPECT_EQ(GetPixel(b->hDC(), 3, 5), RGB(0, 0, 255));
}

}  // namespace
}  // namespace brimlox::test
