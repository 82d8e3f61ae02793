// SplitWindow's model: defaults and naming, the setters' limits and side effects, the
// refusals, the property bag in both orders, a form-file round trip, and the persistence
// members around the settings store.
#include <filesystem>

#include "controls/divider/divider_test.h"
#include "controls/splitwindow/splitwindow_test.h"
#include "foundation/persistence/persist_state.h"
#include "platform/host/form_file.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;
using host::Variant;

class SplitWindowModelTest : public SplitWindowTest {};

TEST_F(SplitWindowModelTest, ANewControlIsNamedAfterTheFreeSplNameAndTakesItsDefaults) {
    MakeForm(true);
    auto first = AddSplitter(0, 0, 100, 100);
    auto second = AddSplitter(0, 0, 100, 100);
    EXPECT_EQ(first->Name(), "spl");
    EXPECT_EQ(second->Name(), "spl1");
    form->Remove(*first);
    auto third = AddSplitter(0, 0, 100, 100);
    EXPECT_EQ(third->Name(), "spl") << "the first free name";
    auto fourth = AddSplitter(0, 0, 100, 100);
    EXPECT_EQ(fourth->Name(), "spl2");

    const SplitWindow& s = *fourth;
    EXPECT_FALSE(s.Active());
    EXPECT_EQ(s.GapInPixels(), 3);
    EXPECT_EQ(s.MinimumPane(), 2 * 15) << "held 5 pixels, one 3-pixel gap included";
    EXPECT_EQ(s.BackColor(), 0x8000000Fu);
    EXPECT_EQ(s.GradientPct(), 0);
    EXPECT_TRUE(s.Border());
    EXPECT_EQ(s.BorderStyle(), 2);
    EXPECT_TRUE(s.Vertical());
    EXPECT_EQ(s.Style(), controls::SplitterWindow);
    EXPECT_TRUE(s.DockTop() && s.DockBottom() && s.DockLeft() && s.DockRight());
    EXPECT_EQ(s.MinWidth(), 300);
    EXPECT_EQ(s.MaxHeight(), 2147483647);
    EXPECT_TRUE(s.UserOrientation());
    EXPECT_FALSE(s.TimedEvent());
    EXPECT_EQ(host::GetProperty(*fourth, "Active").ToBool(), false);
    EXPECT_EQ(s.LightColor(), s.DarkColor()) << "no gradient: both colours are the face";
}

TEST_F(SplitWindowModelTest, SettersClampTheirLimits) {
    MakeForm();
    auto s = AddSplitter(0, 0, 100, 100);
    s->SetMinWidth(200);
    EXPECT_EQ(s->MinWidth(), 300);
    s->SetMinWidth(301);
    EXPECT_EQ(s->MinWidth(), 301);
    s->SetMaxWidth(300);
    EXPECT_EQ(s->MaxWidth(), 2147483647);
    s->SetMaxWidth(301);
    EXPECT_EQ(s->MaxWidth(), 301);
    // Limits never cross: a minimum above the maximum raises the maximum, and a maximum below
    // the minimum is raised to it.
    s->SetMinWidth(5000);
    EXPECT_EQ(s->MaxWidth(), 5000);
    s->SetMaxHeight(400);
    s->SetMinHeight(900);
    EXPECT_EQ(s->MaxHeight(), 900);
    s->SetMaxHeight(600);
    EXPECT_EQ(s->MaxHeight(), 900);

    s->SetGradientPct(150);
    EXPECT_FLOAT_EQ(s->GradientPct(), 99);
    s->SetGradientPct(-150);
    EXPECT_FLOAT_EQ(s->GradientPct(), -99);
    s->SetGradientPct(12.345f);
    EXPECT_FLOAT_EQ(s->GradientPct(), 12.35f) << "two decimals";
    EXPECT_NE(s->LightColor(), s->DarkColor());

    s->SetGapInPixels(0);
    EXPECT_EQ(s->GapInPixels(), 2);
    s->SetGapInPixels(-7);
    EXPECT_EQ(s->GapInPixels(), 2);

    s->SetFloatWidth(5);
    EXPECT_FLOAT_EQ(s->FloatWidth(), 100 * 15) << "below 10: the current width";
    s->SetFloatHeight(2000);
    EXPECT_FLOAT_EQ(s->FloatHeight(), 2000);
}

TEST_F(SplitWindowModelTest, MinimumPaneIsHeldInPixelsWithOneGapAndFollowsTheGap) {
    MakeForm();
    auto s = AddSplitter(0, 0, 100, 100);
    s->SetMinimumPane(150);  // 10 pixels
    EXPECT_EQ(s->MinimumPane(), 150);
    s->SetGapInPixels(6);
    EXPECT_EQ(s->MinimumPane(), 150) << "the interface value survives a new gap";
    host::PropertyBag bag;
    s->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("MinimumPane", 5).ToLong(), 16) << "held: 10 pixels and a 6-pixel gap";
    s->SetMinimumPane(-300);
    EXPECT_EQ(s->MinimumPane(), 0);
}

TEST_F(SplitWindowModelTest, StyleTransparentAndMovingHaveTheirSideEffects) {
    MakeForm();
    auto s = AddSplitter(0, 0, 100, 100);
    auto picture = GridPicture(8, 8);
    s->SetStyle(controls::ToolBarWindow);
    EXPECT_EQ(s->BorderStyle(), 7);
    EXPECT_TRUE(s->Active());
    EXPECT_TRUE(s->Moveable());
    EXPECT_TRUE(s->CursorTimerEnabled());
    s->SetStyle(controls::SplitterWindow);
    EXPECT_EQ(s->BorderStyle(), 2);
    EXPECT_FALSE(s->Active());
    EXPECT_TRUE(s->Moveable()) << "Moveable stays";
    EXPECT_FALSE(s->CursorTimerEnabled());
    s->SetStyle(5);
    EXPECT_EQ(s->Style(), controls::SplitterWindow) << "not a style: ignored";

    s->SetPicture(picture);
    EXPECT_TRUE(s->Picture());
    s->SetTransparent(false);
    EXPECT_FALSE(s->Picture()) << "either value removes the picture";

    try {
        host::LetProperty(*s, "Moving", Variant(true));
        ADD_FAILURE() << "Moving is read-only";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), 382) << "run time";
    }
    EXPECT_FALSE(s->Moving());

    // Enabled reaches the children, which may lack the member (errors ignored).
    auto children = AddChildren(*s, 2);
    s->SetEnabled(false);
    EXPECT_FALSE(s->Enabled());
    EXPECT_FALSE(IsWindowEnabled(s->hWnd()));
}

TEST_F(SplitWindowModelTest, MovingCannotBeSetInTheDesigner) {
    MakeForm(true);
    auto s = AddSplitter(0, 0, 100, 100);
    try {
        s->SetMoving(true);
        ADD_FAILURE() << "Moving is read-only";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), 387);
    }
}

TEST_F(SplitWindowModelTest, ThePropertyBagIsWrittenInItsOwnOrderAndReadBackRaw) {
    MakeForm();
    auto s = AddSplitter(0, 0, 200, 100);
    // Every property away from its default, so every key is written.
    s->SetGapInPixels(5);
    s->SetActive(true);
    s->SetMinimumPane(300);
    s->SetPicture(GridPicture(31, 31));
    s->SetBackColor(0x00336699);
    s->SetBorder(false);
    s->SetVertical(false);
    s->SetBorderStyle(4);
    s->SetMoveable(true);
    s->SetDockable(true);
    s->SetFloatHeight(1500);
    s->SetFloatWidth(2500);
    s->SetSizeable(true);
    s->SetAutoAdjust(true);
    s->SetAutoAdjustForm(true);
    s->SetDockTop(false);
    s->SetDockBottom(false);
    s->SetDockLeft(false);
    s->SetDockRight(false);
    s->SetDock(3);
    s->SetMinWidth(400);
    s->SetMinHeight(500);
    s->SetMaxWidth(9000);
    s->SetMaxHeight(8000);
    s->SetDockableContained(true);
    s->SetFixedX(45);
    s->SetFixedY(60);
    s->SetUserOrientation(false);
    s->SetGradientPct(-150);
    host::PropertyBag bag;
    s->WriteProperties(bag);
    std::vector<std::string> keys;
    for (const auto& [key, value] : bag.Entries()) keys.push_back(key);
    const std::vector<std::string> expected = {
        "GapInPixels", "Active", "MinimumPane", "Picture", "BackColor", "Border", "Vertical", "BorderStyle",
        "Moveable", "Dockable", "FloatHeight", "FloatWidth", "Sizeable", "AutoAdjust", "AutoAdjustForm", "DockTop",
        "DockBottom", "DockLeft", "DockRight", "Dock", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight",
        "DockableContained", "FixedX", "FixedY", "UserOrientation", "GradientPct"};
    EXPECT_EQ(keys, expected);
    EXPECT_FLOAT_EQ(bag.ReadProperty("GradientPct").ToSingle(), -0.99f) << "the held fraction";
    EXPECT_EQ(bag.ReadProperty("MinimumPane").ToLong(), 5 + 20);

    // Reading applies no setter: the new control's Style stays what the bag says even though
    // setting ToolBarWindow would have changed BorderStyle, and the gap's rescaling never runs.
    auto copy = AddSplitter(0, 0, 200, 100);
    copy->ReadProperties(bag);
    host::PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again.ToJson().dump(), bag.ToJson().dump());
    EXPECT_EQ(copy->Dock(), 3) << "both edges take the stored one";
    EXPECT_EQ(copy->ConfiguredDock(), 3);
    EXPECT_EQ(copy->MinimumPane(), 300);
}

TEST_F(SplitWindowModelTest, StoredValuesThatWouldBreakTheControlAreMadeSound) {
    MakeForm();
    auto s = AddSplitter(0, 0, 200, 100);
    host::PropertyBag bag;
    bag.WriteProperty("GapInPixels", std::int32_t{-4});
    bag.WriteProperty("Dock", std::int32_t{9});
    bag.WriteProperty("Moving", true);
    bag.WriteProperty("MinWidth", std::int32_t{4000});
    bag.WriteProperty("MaxWidth", std::int32_t{1000});
    bag.WriteProperty("Style", std::int16_t{7});
    bag.WriteProperty("GradientPct", 3.5f);
    s->ReadProperties(bag);
    EXPECT_EQ(s->GapInPixels(), 2);
    EXPECT_EQ(s->Dock(), 0);
    EXPECT_FALSE(s->Moving());
    EXPECT_EQ(s->MaxWidth(), 4000);
    EXPECT_EQ(s->Style(), controls::SplitterWindow);
    EXPECT_FLOAT_EQ(s->GradientPct(), 99);
}

TEST_F(SplitWindowModelTest, AFormFileKeepsEveryPropertyThroughSaveAndLoad) {
    MakeForm();
    auto s = AddSplitter(10, 10, 200, 100);
    AddChildren(*s, 2);
    s->SetGapInPixels(6);
    s->SetVertical(false);
    s->SetGradientPct(40);
    s->SetBackColor(0x00804020);
    s->SetBorderStyle(5);
    s->SetFixedY(120);
    s->SetActive(true);
    const std::string path = (std::filesystem::path(OutputDir()) / "splitwindow_roundtrip.json").string();
    host::SaveFormFile(*form, path);
    auto loaded = host::LoadFormFile(path);
    auto copy = std::dynamic_pointer_cast<SplitWindow>(loaded->Find(s->Name()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GapInPixels(), 6);
    EXPECT_FALSE(copy->Vertical());
    EXPECT_FLOAT_EQ(copy->GradientPct(), 40);
    EXPECT_EQ(copy->BackColor(), 0x00804020u);
    EXPECT_EQ(copy->BorderStyle(), 5);
    EXPECT_FLOAT_EQ(copy->FixedY(), 120);
    EXPECT_TRUE(copy->Active());
    EXPECT_EQ(copy->ContainedControls().size(), 2u);
    EXPECT_EQ(copy->LightColor(), s->LightColor()) << "colours are computed on load";
    EXPECT_EQ(host::SaveFormText(*loaded), host::SaveFormText(*form));
    loaded->Unload();
}

TEST_F(SplitWindowModelTest, RemovePersistenceWithoutPersistFormExplainsItself) {
    MakeForm();
    auto s = AddSplitter(0, 0, 100, 100);
    foundation::SetRegistryLocation("");
    host::ClearMessageBoxLog();
    s->RemovePersistence();
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].text,
              "Persistence must be established\nby calling the PersistForm method\nbefore persistence can be removed!");
    EXPECT_EQ(s->RegistryLocation(), "");
}

TEST_F(SplitWindowModelTest, ResizedIsDeclaredButNeverRaised) {
    MakeForm();
    auto s = AddSplitter(0, 0, 100, 100);
    ASSERT_TRUE(s->GetTypeInfo()->FindEvent("Resized"));
    Record(*s, {"Resized"});
    s->SetActive(true);
    s->Move(0, 0, 3000, 2000);
    host::DoEvents();
    EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

TEST_F(SplitWindowTest, DockedSetsBothEdgesLateBoundAndRefusesEdgesThatDoNotExist) {
    MakeForm();
    auto s = AddSplitter(0, 0, 100, 100);
    std::vector<std::string> changed;
    form->AddPropertyChangedListener([&](host::Control&, const std::string& p) { changed.push_back(p); });
    host::LetProperty(*s, "Docked", host::Variant(std::int16_t{2}));
    EXPECT_EQ(s->Dock(), 2);
    EXPECT_EQ(s->ConfiguredDock(), 2);
    EXPECT_EQ(changed, (std::vector<std::string>{"Dock"}));
    host::LetProperty(*s, "Docked", host::Variant(std::int16_t{9}));
    EXPECT_EQ(s->Dock(), 0) << "not an edge: none";
    EXPECT_THROW(host::GetProperty(*s, "Docked"), host::HostError) << "write-only";
}

}  // namespace
}  // namespace brimlox::test
