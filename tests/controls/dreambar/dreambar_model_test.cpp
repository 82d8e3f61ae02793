// DreamBar's model: defaults and naming, the setters' side effects, Message, the caption
// height, minimising and expanding with the controls on the bar, the property bag in both
// orders, a bar saved minimised, stored values that would break it, and a form-file round trip.
#include <filesystem>

#include "controls/dreambar/dreambar_test.h"
#include "platform/host/bag_check.h"
#include "platform/host/form_file.h"

namespace brimlox::test {
namespace {

using controls::DreamBar;
using host::Variant;

class DreamBarModelTest : public DreamBarTest {};

TEST_F(DreamBarModelTest, ANewBarIsNamedDbrAndTakesItsDefaults) {
    MakeForm(true);
    auto first = AddBar(0, 0, 200, 60);
    auto second = AddBar(0, 0, 200, 60);
    EXPECT_EQ(first->Name(), "dbr");
    EXPECT_EQ(second->Name(), "dbr1");
    const DreamBar& b = *second;
    EXPECT_EQ(b.BackColor(), 0x8000000Fu);
    EXPECT_EQ(b.ForeColor(), 0x80000012u);
    EXPECT_EQ(b.MinimizeColor(), 0x8000000Fu);
    EXPECT_EQ(b.GradientColor(), 0x80000010u);
    EXPECT_EQ(b.BorderStyle(), 1);
    EXPECT_EQ(b.Leading(), 4);
    EXPECT_EQ(b.AutoHideDelay(), 250);
    EXPECT_TRUE(b.CaptionBar() && b.AlignControls() && b.Enabled());
    EXPECT_FALSE(b.Minimized() || b.AutoHide() || b.AutoShow() || b.Transparent());
    EXPECT_EQ(b.CaptionHeight(), 5);
    ASSERT_TRUE(b.Font());
    EXPECT_TRUE(b.Font()->SameAs(*form->Font())) << "the container's font";

    const host::TypeInfo& info = *b.GetTypeInfo();
    const std::vector<std::pair<std::string, int>> eventIds = {
        {"Changed", 1}, {"Initialized", 2}, {"Refreshed", 3}, {"Click", 4}, {"DblClick", 5}, {"MouseDown", -605}};
    for (const auto& [name, id] : eventIds) {
        const host::MemberInfo* m = info.FindEvent(name);
        ASSERT_TRUE(m) << name;
        EXPECT_EQ(m->dispId, id) << name;
    }
    EXPECT_EQ(info.Find("Picture")->dispId, 0) << "the value property";
    EXPECT_TRUE(info.Find("MenuPoppedUp")->hidden);
    EXPECT_TRUE(info.Find("FullSize")->nonBrowsable);
}

TEST_F(DreamBarModelTest, SettersHaveTheirSideEffects) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 60);
    bar->SetAutoShow(true);
    bar->SetAutoHide(true);
    EXPECT_TRUE(bar->AutoHide());
    EXPECT_FALSE(bar->AutoShow()) << "auto-hide turns auto-show off";
    EXPECT_TRUE(bar->AutoHideTimerEnabled());
    bar->SetAutoShow(true);
    EXPECT_FALSE(bar->AutoHide()) << "and the other way round";
    EXPECT_FALSE(bar->AutoHideTimerEnabled());

    bar->SetPicture(GridPicture(16, 16));
    bar->SetTransparent(false);
    EXPECT_FALSE(bar->Picture()) << "Transparent discards the picture whatever its value";

    bar->SetAutoHideDelay(1000);
    bar->MenuPoppedUp(0, 10, 0, 10, true);
    EXPECT_EQ(bar->AutoHideTimerInterval(), 100) << "the menu watch";
    EXPECT_EQ(bar->AutoHideDelay(), 1000) << "the delay itself is kept";
    bar->SetAutoHideDelay(40000);
    EXPECT_EQ(bar->AutoHideDelay(), 32767) << "never wraps to a negative delay";
    bar->SetAutoHideDelay(0);
    EXPECT_EQ(bar->AutoHideDelay(), 0);
    EXPECT_EQ(bar->AutoHideTimerInterval(), 1) << "a timer of 0 ms would never tick again";
    bar->MenuPoppedUp(0, 0, 0, 0, false);
    EXPECT_FALSE(bar->AutoHideTimerEnabled()) << "auto-hide is off";

    auto child = AddChild(*bar, 10, 20);
    auto other = AddChild(*bar, 50, 20);
    bar->SetLeading(10);
    EXPECT_EQ(child->Left(), 16 * kTwips);
    EXPECT_EQ(child->Top(), 26 * kTwips);
    EXPECT_EQ(other->Left(), 56 * kTwips);
    bar->SetAlignControls(false);
    bar->SetLeading(2);
    EXPECT_EQ(child->Left(), 16 * kTwips) << "only aligned controls move";

    // Enabled reaches the controls on the bar that have it; the others are skipped.
    auto inner = form->Add("DreamBar", "", bar.get());
    bar->SetEnabled(false);
    EXPECT_FALSE(inner->Enabled());
    EXPECT_TRUE(child->Enabled()) << "a control without Enabled is skipped";
}

TEST_F(DreamBarModelTest, MessageKeepsItsPlaceAndReadsBackOnlyTheText) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 60);
    std::vector<Variant> args = {Variant(std::int16_t{2}), Variant(30.0f), Variant(45.0f), Variant(900.0f),
                                 Variant(90.0f), Variant("Ready")};
    host::LetProperty(*bar, "Message", Variant("x"));
    host::Invoke(*bar, "Message", host::InvokeKind::PropertyLet, args);
    EXPECT_EQ(bar->MessageInfo().alignment, 2);
    EXPECT_FLOAT_EQ(bar->MessageInfo().maxWidth, 900);
    EXPECT_FLOAT_EQ(bar->MessageInfo().angle, 90);
    std::vector<Variant> getArgs = {Variant(std::int16_t{1}), Variant(7.0f)};
    EXPECT_EQ(host::Invoke(*bar, "Message", host::InvokeKind::PropertyGet, getArgs).ToString(), "Ready");
    EXPECT_FLOAT_EQ(getArgs[1].ToSingle(), 7) << "the arguments are not changed";
    host::LetProperty(*bar, "Message", Variant("Plain"));
    EXPECT_FLOAT_EQ(bar->MessageInfo().x, 0) << "a missing value is 0";
}

TEST_F(DreamBarModelTest, MinimisingShrinksToTheCaptionAndExpandingUndoesExactlyTheShift) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 80);
    auto child = AddChild(*bar, 10, 30);
    bar->SetCaption("Tools");
    const int strip = bar->CaptionHeight();
    EXPECT_GT(strip, 5) << "the text height plus 3";
    EXPECT_EQ(strip, static_cast<int>(std::lround(bar->TextHeightOf("Tools"))) / kTwips + 3);
    Record(*bar, {"Changed"});

    bar->SetMinimized(true);
    EXPECT_EQ(bar->Height(), strip * kTwips);
    EXPECT_FLOAT_EQ(bar->FullSize(), 80 * kTwips);
    EXPECT_EQ(child->Top(), (30 + strip) * kTwips) << "the controls slide out of the strip";
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "Changed(True," + std::to_string(-(80 - strip) * kTwips) + ")");

    // A caption changed while minimised: the strip follows at once, and expanding undoes the
    // shift the controls were given, not the new strip.
    bar->SetCaption("");
    EXPECT_EQ(bar->Height(), 5 * kTwips);
    bar->SetMinimized(false);
    EXPECT_EQ(bar->Height(), 80 * kTwips);
    EXPECT_EQ(child->Top(), 30 * kTwips);
    EXPECT_EQ(events.size(), 2u);
    bar->SetMinimized(false);
    EXPECT_EQ(events.size(), 2u) << "no change, no event";

    bar->SetMinimizeStyle(controls::MinToLeft);
    bar->SetMinimized(true);
    EXPECT_EQ(bar->Width(), 5 * kTwips);
    EXPECT_EQ(bar->Height(), 80 * kTwips);
    EXPECT_EQ(child->Left(), 15 * kTwips);
}

TEST_F(DreamBarModelTest, ThePropertyBagIsWrittenAndReadInItsOwnOrders) {
    // A transparent bar paints with its container's back colour and picture: give the form the
    // ones the bar is set to.
    MakeForm().SetBackColor(0x00336699);
    form->SetPicture(GridPicture(16, 16));
    auto bar = AddBar(0, 0, 200, 60);
    auto font = std::make_shared<host::StdFont>();
    font->SetName("Arial");
    font->SetSize(14);
    bar->SetFont(font);
    bar->SetEnabled(false);
    bar->SetMousePointer(2);
    bar->SetMouseIcon(GridPicture(8, 8));
    bar->SetMinimizeColor(0x000000FF);
    bar->SetBackColor(0x00336699);
    bar->SetForeColor(0x00FFFFFF);
    bar->SetBorderStyle(4);
    bar->SetLeading(6);
    bar->SetMinimizeStyle(controls::MinToLeft);
    bar->SetMinimizeAuto(true);
    bar->SetAutoHide(true);
    bar->SetAutoAdjust(true);
    bar->SetTransparent(true);
    bar->SetPicture(GridPicture(16, 16));
    bar->SetAutoHideDelay(1000);
    bar->SetAutoAdjustForm(true);
    bar->SetAlignControls(false);
    bar->SetAutoSize(true);
    bar->SetCaption("Bar");
    bar->SetCaptionBar(false);
    bar->SetGradient(controls::HorizontalGradient);
    bar->SetGradientColor(0x00123456);
    bar->SetAutoShow(true);  // turns AutoHide off, and AutoHide off expands the bar
    bar->SetAnimationTime(120);
    bar->SetMinimized(true);
    host::PropertyBag bag;
    bar->WriteProperties(bag);
    const std::vector<std::string> expected = {
        "Minimized", "StdWidth", "StdHeight", "Enabled", "MousePointer", "MinimizeColor", "BackColor", "ForeColor",
        "Font", "BorderStyle", "MouseIcon", "Picture", "Leading", "MinimizeStyle", "MinimizeAuto", "AutoShow",
        "AutoAdjust", "Transparent", "AutoHideDelay", "AutoAdjustForm", "AlignControls", "AutoSize", "Caption", "CaptionBar",
        "Gradient", "GradientColor", "FullSize", "AnimationTime"};
    EXPECT_EQ(Keys(bag), expected);
    EXPECT_FLOAT_EQ(bag.ReadProperty("StdWidth").ToSingle(), 200 * kTwips) << "the full size, not the strip";
    EXPECT_FLOAT_EQ(bag.ReadProperty("FullSize").ToSingle(), 200 * kTwips);

    auto copy = AddBar(0, 0, 50, 50);
    copy->ReadProperties(bag);
    EXPECT_TRUE(bag.UnreadKeys().empty());
    EXPECT_EQ(bag.LastKeyRead(), "AnimationTime") << "read last, as written";
    EXPECT_FALSE(copy->Minimized()) << "held in the load-time flag until the first paint";
    EXPECT_TRUE(copy->LoadedMinimized());
    EXPECT_EQ(copy->CaptionHeight(), bar->CaptionHeight()) << "measured with the stored font";
    EXPECT_EQ(copy->AutoHideTimerInterval(), 100);
    host::PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again.ToJson().dump(), bag.ToJson().dump());
}

// A bar saved minimised comes back minimised; expanding it before its first paint gives the
// saved full size (it neither stays thin nor remembers the strip as its full size), and a
// minimised bar resized in the designer still saves its full size.
TEST_F(DreamBarModelTest, ABarSavedMinimisedExpandsToItsSavedSize) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 90);
    auto child = AddChild(*bar, 10, 30);
    bar->SetMinimized(true);
    host::PropertyBag bag;
    bar->WriteProperties(bag);

    auto copy = AddBar(0, 0, 200, 5);
    copy->ReadProperties(bag);
    copy->SetMinimized(false);
    EXPECT_FALSE(copy->Minimized());
    EXPECT_EQ(copy->Height(), 90 * kTwips);
    EXPECT_FALSE(copy->LoadedMinimized());
    copy->SetHeight(100 * kTwips);
    EXPECT_FLOAT_EQ(copy->FullSize(), 100 * kTwips) << "a resize of the expanded bar is its full size";

    MakeForm(true);
    auto designed = AddBar(0, 0, 200, 90);
    designed->SetMinimized(true);
    designed->SetHeight(40 * kTwips);
    host::PropertyBag saved;
    designed->WriteProperties(saved);
    EXPECT_TRUE(saved.ReadProperty("Minimized").ToBool());
    EXPECT_FLOAT_EQ(saved.ReadProperty("StdHeight").ToSingle(), 90 * kTwips);
    (void)child;
}

TEST_F(DreamBarModelTest, StoredValuesThatWouldBreakTheBarAreMadeSound) {
    MakeForm();
    host::PropertyBag bag;
    bag.WriteProperty("Minimized", true);
    bag.WriteProperty("StdWidth", -300.0f);
    bag.WriteProperty("StdHeight", 0.0f);
    bag.WriteProperty("Leading", std::int32_t{900});
    bag.WriteProperty("MinimizeStyle", std::int16_t{7});
    bag.WriteProperty("AutoHideDelay", std::int32_t{-5});
    bag.WriteProperty("Gradient", std::int16_t{9});
    bag.WriteProperty("FullSize", 3.0f);
    auto bar = AddBar(0, 0, 200, 60);
    bar->ReadProperties(bag);
    EXPECT_EQ(bar->Leading(), 255);
    EXPECT_EQ(bar->MinimizeStyle(), controls::MinToTop);
    EXPECT_EQ(bar->AutoHideDelay(), 0);
    EXPECT_EQ(bar->Gradient(), controls::NoGradient);
    bar->SetMinimized(false);
    EXPECT_EQ(bar->Height(), 60 * kTwips) << "no usable stored size: the bar keeps the one it has";
    EXPECT_GT(bar->Width(), 0);

    // A full size no larger than the strip, given while minimised (as a saved layout may),
    // expands to the size the bar last had.
    auto restored = AddBar(0, 200, 200, 90);
    restored->SetMinimized(true);
    restored->SetFullSize(-5000);
    restored->SetMinimized(false);
    EXPECT_EQ(restored->Height(), 90 * kTwips);
    restored->SetMinimized(true);
    restored->SetFullSize(3);
    restored->SetMinimized(false);
    EXPECT_EQ(restored->Height(), 90 * kTwips);

    // The checker names what a hand-edited file got wrong, while the bar made it sound.
    host::PropertyBag edited;
    edited.WriteProperty("AutoHideDelay", std::int32_t{40000});
    edited.WriteProperty("FullSize", -120.0f);
    edited.WriteProperty("AnimationTime", std::int32_t{90000});
    auto checked = AddBar(0, 100, 200, 60);
    checked->ReadProperties(edited);
    EXPECT_EQ(checked->AutoHideDelay(), 32767);
    EXPECT_FLOAT_EQ(checked->FullSize(), 0);
    EXPECT_EQ(checked->AnimationTime(), DreamBar::kMaxAnimationMs);
    std::vector<std::string> named;
    for (const auto& w : host::CheckBag(*checked, edited)) named.push_back(w.key + ": " + w.problem);
    EXPECT_EQ(named, (std::vector<std::string>{"AutoHideDelay: 40000 is outside the range (0 to 32767)",
                                               "FullSize: -120 is outside the range (0 to 100000)",
                                               "AnimationTime: 90000 is outside the range (0 to 5000)"}));
}

TEST_F(DreamBarModelTest, AFormFileKeepsTheBarThroughSaveAndLoad) {
    MakeForm();
    auto bar = AddBar(0, 0, 200, 80);
    AddChild(*bar, 10, 30);
    bar->SetCaption("Panel");
    bar->SetGradient(controls::VerticalGradient);
    bar->SetBackColor(0x00804020);
    bar->SetAutoHideDelay(1000);
    bar->SetLeading(8);
    bar->SetMinimized(true);
    const std::string path = (std::filesystem::path(OutputDir()) / "dreambar_roundtrip.json").string();
    host::SaveFormFile(*form, path);
    auto loaded = host::LoadFormFile(path);
    auto copy = std::dynamic_pointer_cast<DreamBar>(loaded->Find(bar->Name()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Caption(), "Panel");
    EXPECT_EQ(copy->Gradient(), controls::VerticalGradient);
    EXPECT_EQ(copy->BackColor(), 0x00804020u);
    EXPECT_EQ(copy->AutoHideDelay(), 1000);
    EXPECT_EQ(copy->Leading(), 8);
    EXPECT_EQ(copy->ContainedControls().size(), 1u);
    loaded->Show();
    host::DoEvents();
    EXPECT_TRUE(copy->Minimized()) << "the first paint applied the saved state";
    EXPECT_TRUE(copy->Initialised());
    copy->SetMinimized(false);
    EXPECT_EQ(copy->Height(), 80 * kTwips);
    EXPECT_EQ(copy->ContainedControls()[0]->Top(), 34 * kTwips) << "where Leading 8 put it";
    loaded->Unload();
}

}  // namespace
}  // namespace brimlox::test
