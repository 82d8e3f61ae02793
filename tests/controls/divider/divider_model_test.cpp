// The divider's model: naming and new-control values, the setters' rules, Rotate, the members
// late-bound callers reach by name, and persistence through a form file.
#include <cmath>
#include <fstream>
#include <limits>

#include "controls/divider/divider_test.h"
#include "foundation/helpers/colour.h"
#include "platform/host/form_file.h"
#include "platform/host/property_bag.h"

namespace brimlox::test {
namespace {

using controls::Divider;
using host::Variant;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST_F(DividerTest, NewDividersNameThemselvesAndTakeTheirContainersLead) {
    form = host::Form::Create("frmDesigner", true);
    auto first = std::static_pointer_cast<Divider>(form->Add("Divider"));
    EXPECT_EQ(first->Name(), "div");
    form->Add("Probe", "div1");
    EXPECT_EQ(form->Add("Divider")->Name(), "div2");
    EXPECT_EQ(first->Style(), controls::SpaceDivider);
    EXPECT_TRUE(first->Transparent());
    EXPECT_EQ(first->GradientPct(), 0);
    EXPECT_EQ(first->BackColor(), 0x8000000Fu);
    EXPECT_EQ(first->ForeColor(), 0x80000012u);
    EXPECT_FALSE(first->Moveable()) << "on a form";
    form->Unload();

    MakeForm();
    auto bar = AddToolBar(0, 0, 200, 30);
    EXPECT_TRUE(AddDivider(10, 2, 8, 24, bar.get())->Moveable()) << "in a tool bar";
    auto box = form->Add("PictureBox", "picBox");
    EXPECT_FALSE(AddDivider(10, 2, 8, 24, box.get())->Moveable()) << "in another container";
}

TEST_F(DividerTest, SettersClampAndAStyleKeepsTheDividerAtLeastFivePixelsEachWay) {
    MakeForm();
    auto d = AddDivider(10, 10, 2, 200);
    d->SetStyle(controls::DipDivider);
    EXPECT_EQ(d->Width(), 5 * 15);
    EXPECT_EQ(d->Height(), 200 * 15);
    auto flat = AddDivider(10, 10, 100, 1);
    flat->SetStyle(controls::SpaceDivider);
    EXPECT_EQ(flat->Height(), 5 * 15);
    flat->SetStyle(7);
    EXPECT_EQ(flat->Style(), controls::SpaceDivider) << "a value outside the enumeration is refused";
    flat->SetStyle(-1);
    EXPECT_EQ(flat->Style(), controls::SpaceDivider);

    d->SetGradientPct(1.5f);
    EXPECT_FLOAT_EQ(d->GradientPct(), 0.99f);
    d->SetGradientPct(-0.333f);
    EXPECT_FLOAT_EQ(d->GradientPct(), -0.33f);
    d->SetGradientPct(-7);
    EXPECT_FLOAT_EQ(d->GradientPct(), -0.99f);
    d->SetGradientPct(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(d->GradientPct(), 0) << "not a number means no gradient";
    d->SetGradientPct(0.125f);
    EXPECT_FLOAT_EQ(d->GradientPct(), 0.12f) << "two decimals, halves to even";

    // The gradient's colours follow BackColor at once.
    d->SetGradientPct(0.2f);
    d->SetBackColor(RGB(0, 0, 200));
    EXPECT_GT(GetBValue(d->LightColor()), 200);
    EXPECT_EQ(GetRValue(d->LightColor()), GetGValue(d->LightColor()));
    d->SetBackColor(RGB(200, 0, 0));
    EXPECT_GT(GetRValue(d->LightColor()), 200);
    EXPECT_LT(GetRValue(d->DarkColor()), 200);
    EXPECT_EQ(GetBValue(d->LightColor()), GetGValue(d->LightColor()));
}

TEST_F(DividerTest, RotateTurnsADividerOnlyInsideAToolBar) {
    MakeForm();
    auto bar = AddToolBar(0, 0, 300, 200);
    auto d = AddDivider(10, 10, 100, 8, bar.get());
    d->SetStyle(controls::BumpDivider);
    d->Rotate(true);
    EXPECT_EQ(d->Width(), 8 * 15);
    EXPECT_EQ(d->Height(), 100 * 15);
    EXPECT_EQ(d->Left(), 10 * 15) << "it turns in place";
    d->Rotate(true);
    EXPECT_EQ(d->Width(), 8 * 15) << "already vertical";
    // The line turns with it: it now runs down the middle of the width.
    EXPECT_EQ(PixelOf(*d, 4, 50), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(PixelOf(*d, 5, 50), GetSysColor(COLOR_3DSHADOW));
    d->Rotate(false);
    EXPECT_EQ(d->Width(), 100 * 15);
    EXPECT_EQ(d->Height(), 8 * 15);
    d->Rotate(false);
    EXPECT_EQ(d->Width(), 100 * 15);
    EXPECT_EQ(PixelOf(*d, 50, 4), GetSysColor(COLOR_3DHILIGHT));

    auto onForm = AddDivider(10, 250, 100, 8);
    onForm->Rotate(true);
    EXPECT_EQ(onForm->Width(), 100 * 15) << "a divider on a form does not turn";
}

TEST_F(DividerTest, MembersAreReachedLateBoundByTheirDocumentedNames) {
    MakeForm();
    auto bar = AddToolBar(0, 0, 300, 200);
    auto d = AddDivider(10, 10, 100, 8, bar.get());
    host::Dispatch& object = *d;
    host::LetProperty(object, "Style", Variant(std::int16_t{controls::BumpDivider}));
    host::LetProperty(object, "GradientPct", Variant(0.25f));
    host::LetProperty(object, "Transparent", Variant(false));
    host::LetProperty(object, "Moveable", Variant(false));
    host::LetProperty(object, "BackColor", Variant(std::int32_t{0x00102030}));
    host::LetProperty(object, "ForeColor", Variant(std::int32_t{0x00405060}));
    EXPECT_EQ(host::GetProperty(object, "Style").ToInteger(), controls::BumpDivider);
    EXPECT_FLOAT_EQ(host::GetProperty(object, "GradientPct").ToSingle(), 0.25f);
    EXPECT_FALSE(host::GetProperty(object, "Transparent").ToBool());
    EXPECT_FALSE(host::GetProperty(object, "Moveable").ToBool());
    EXPECT_EQ(host::GetProperty(object, "BackColor").ToLong(), 0x00102030);
    EXPECT_EQ(host::GetProperty(object, "ForeColor").ToLong(), 0x00405060);
    host::CallMethod(object, "Rotate", {Variant(true)});
    EXPECT_EQ(d->Height(), 100 * 15);
    host::CallMethod(object, "Refresh");
    EXPECT_THROW(host::CallMethod(object, "Rotate"), host::HostError) << "Vertical is required";
    EXPECT_THROW(host::GetProperty(object, "Caption"), host::HostError);

    // The interface in its documented order; Rotate is hidden from browsers.
    const host::TypeInfo* info = d->GetTypeInfo();
    std::vector<std::string> names;
    for (const auto& m : info->Members()) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{"ShowAboutBox", "BackColor", "ForeColor", "Refresh", "Style",
                                               "Transparent", "Rotate", "GradientPct", "Moveable"}));
    EXPECT_TRUE(info->Find("Rotate")->hidden);
    EXPECT_EQ(info->Find("Moveable")->help,
              "Sets/Returns if the user is allowed to drag the control with the mouse using the Alt-Key.");
}

TEST_F(DividerTest, EveryPropertySurvivesAFormFile) {
    MakeForm();
    auto box = form->Add("PictureBox", "picHolder");
    box->Move(0, 0, 200 * 15, 100 * 15);
    auto d = std::static_pointer_cast<Divider>(form->Add("Divider", "divSaved", box.get()));
    d->Move(10 * 15, 20 * 15, 120 * 15, 8 * 15);
    d->SetStyle(controls::DipDivider);
    d->SetTransparent(false);
    d->SetGradientPct(-0.42f);
    d->SetMoveable(true);
    d->SetBackColor(0x00336699);
    d->SetForeColor(0x80000008);
    form->Add("Divider", "divPlain")->Move(10 * 15, 40 * 15, 120 * 15, 8 * 15);
    const std::string path = OutputDir() + "/divider_round_trip.json";
    host::SaveFormFile(*form, path);
    form->Unload();

    form = host::LoadFormFile(path);
    auto loaded = std::dynamic_pointer_cast<Divider>(form->Find("divSaved"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Style(), controls::DipDivider);
    EXPECT_FALSE(loaded->Transparent());
    EXPECT_FLOAT_EQ(loaded->GradientPct(), -0.42f);
    EXPECT_TRUE(loaded->Moveable());
    EXPECT_EQ(loaded->BackColor(), 0x00336699u);
    EXPECT_EQ(loaded->ForeColor(), 0x80000008u);
    EXPECT_EQ(loaded->Left(), 10 * 15);
    EXPECT_EQ(loaded->Width(), 120 * 15);
    EXPECT_EQ(loaded->ContainerControl(), form->Find("picHolder").get());
    const COLORREF light = loaded->LightColor();
    EXPECT_NE(light, foundation::TranslateColor(0x00336699)) << "the gradient's colours are made on loading";
    auto defaults = std::dynamic_pointer_cast<Divider>(form->Find("divPlain"));
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->Style(), controls::SpaceDivider);
    EXPECT_TRUE(defaults->Transparent());
    EXPECT_FALSE(defaults->Moveable());
    // Saving again gives the same file.
    const std::string again = OutputDir() + "/divider_round_trip_again.json";
    host::SaveFormFile(*form, again);
    EXPECT_EQ(ReadAll(path), ReadAll(again));
}

TEST_F(DividerTest, StoredValuesAreCheckedOnLoad) {
    MakeForm();
    auto d = AddDivider(10, 10, 100, 8);
    host::PropertyBag wide;
    wide.WriteProperty("GradientPct", Variant(3.5f));
    d->ReadProperties(wide);
    EXPECT_FLOAT_EQ(d->GradientPct(), 0.99f);
    host::PropertyBag nan;
    nan.WriteProperty("GradientPct", Variant(std::numeric_limits<float>::quiet_NaN()));
    d->ReadProperties(nan);
    EXPECT_EQ(d->GradientPct(), 0);

    // A form file with a style the divider does not have is refused, naming the place and the value.
    form->Unload();
    const std::string text = R"({"format": "brimlox-form", "version": 1,
        "form": {"Name": "frmBad", "Left": 0, "Top": 0, "Width": 3000, "Height": 3000},
        "controls": [{"type": "Divider", "name": "divBad", "extender": {"Left": 0, "Top": 0, "Width": 1500,
                      "Height": 120}, "bag": {"Style": 9}}]})";
    try {
        form = host::LoadFormText(text, "bad.json");
        FAIL() << "a divider of style 9 was loaded";
    } catch (const host::FormFileError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("controls[0](divBad)"), std::string::npos) << message;
        EXPECT_NE(message.find("Style 9"), std::string::npos) << message;
    }
    EXPECT_TRUE(host::LoadedForms().empty());
}

}  // namespace
}  // namespace brimlox::test
