// The progress bar's values: clamping in the setters and on reading a form file, the
// percentage against Max, PercentChange counts, naming, late-bound access, and every
// property through a form file.
#include "controls/indicators/progressbar_test.h"
#include "platform/host/form_file.h"
#include "platform/host/type_info.h"

namespace brimlox::test {
namespace {

TEST_F(ProgressBarTest, SettersClampAndPercentChangeFollowsTheShownPercentage) {
    auto& b = MakeBar(10, 10, 200, 20);
    EXPECT_EQ(b.Max(), 100);
    EXPECT_EQ(b.Value(), 0);
    EXPECT_EQ(b.BorderStyle(), 8);
    EXPECT_EQ(b.BarStyle(), 7);
    EXPECT_TRUE(b.ShowPercent());
    EXPECT_EQ(b.ForeColor(), 0xC00000u);

    b.SetValue(150);
    EXPECT_EQ(b.Value(), 100);
    EXPECT_EQ(b.Percentage(), 100);
    b.SetValue(-5);
    EXPECT_EQ(b.Value(), 0);
    b.SetValue(30);
    b.SetMax(0);
    EXPECT_EQ(b.Max(), 1);
    EXPECT_EQ(b.Value(), 0) << "a new Max starts again from 0";
    b.SetMax(-40);
    EXPECT_EQ(b.Max(), 1);
    b.SetMax(200);
    b.SetPercentage(250);
    EXPECT_EQ(b.Value(), 200);
    b.SetPercentage(-3);
    EXPECT_EQ(b.Value(), 0);
    b.SetPercentage(33);
    EXPECT_EQ(b.Value(), 66);
    // The percentage is of Max, whatever the control's width.
    b.SetMax(7);
    b.SetValue(5);
    EXPECT_EQ(b.Percentage(), 71);
    b.SetMax(8);
    b.SetValue(1);
    EXPECT_EQ(b.Percentage(), 12) << "12.5 rounds to even";
    b.SetDivisions(1);
    EXPECT_EQ(b.Divisions(), 0);
    b.SetDivisions(30);
    EXPECT_EQ(b.Divisions(), 20);
    b.SetDivisions(-1);
    EXPECT_EQ(b.Divisions(), 0);
    b.SetDivisions(300);
    EXPECT_EQ(b.Divisions(), 20);
    b.SetDivisions(2);
    EXPECT_EQ(b.Divisions(), 2);

    b.SetMax(100);
    b.SetValue(40);
    percentChanges = 0;
    b.SetValue(41);
    EXPECT_EQ(percentChanges, 1);
    b.SetValue(41);
    EXPECT_EQ(percentChanges, 1) << "the same value again raises nothing";
    b.SetMax(1000);
    b.SetValue(400);
    percentChanges = 0;
    b.SetValue(401);
    EXPECT_EQ(percentChanges, 0) << "both are 40 per cent";
    b.SetValue(406);
    EXPECT_EQ(percentChanges, 1);
    b.Refresh();
    EXPECT_EQ(percentChanges, 1);
}

TEST_F(ProgressBarTest, NamedAndDrivenLateBound) {
    auto design = host::Form::Create("frmDesign", true);
    EXPECT_EQ(design->Add("ProgressBar")->Name(), "prg");
    EXPECT_EQ(design->Add("ProgressBar")->Name(), "prg1");
    design->Unload();

    MakeBar(10, 10, 200, 20);
    host::LetProperty(*bar, "Max", host::Variant(50));
    host::LetProperty(*bar, "Value", host::Variant(80));
    EXPECT_EQ(host::GetProperty(*bar, "Value").ToLong(), 50);
    host::LetProperty(*bar, "Percentage", host::Variant(-1));
    EXPECT_EQ(host::GetProperty(*bar, "Percentage").ToLong(), 0);
    host::LetProperty(*bar, "Divisions", host::Variant(300));
    EXPECT_EQ(host::GetProperty(*bar, "Divisions").ToLong(), 20);
    host::CallMethod(*bar, "Refresh");
    EXPECT_NE(host::GetProperty(*bar, "hWnd").ToLong(), 0);
    const host::MemberInfo* event = bar->GetTypeInfo()->FindEvent("PercentChange");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->dispId, 1);
    std::vector<std::string> names;
    for (const auto& m : bar->GetTypeInfo()->Members())
        if (m.kind != host::MemberKind::Event) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{"ShowAboutBox", "ForeColor", "Font", "Refresh", "Max", "Value",
                                               "BorderStyle", "BarStyle", "Percentage", "hDC", "hWnd", "Divisions",
                                               "ShowPercent", "Marquee", "MarqueeSpeed"}));
}

TEST_F(ProgressBarTest, EveryPropertySurvivesAFormFile) {
    MakeBar(10, 10, 200, 20);
    // A new bar stores nothing but its own copy of the ambient font.
    auto fresh = host::SaveFormJson(*form)["controls"][0]["bag"];
    EXPECT_EQ(fresh.size(), 1u) << fresh.dump();
    EXPECT_TRUE(fresh.contains("Font"));
    bar->SetForeColor(0x8000000D);
    auto font = std::make_shared<host::StdFont>();
    font->SetName("Arial");
    font->SetSize(12);
    font->SetBold(true);
    bar->SetFont(font);
    bar->SetMax(500);
    bar->SetValue(125);
    bar->SetBorderStyle(1);
    bar->SetBarStyle(4);
    bar->SetDivisions(10);
    bar->SetShowPercent(false);
    bar->SetMarqueeSpeed(80);
    bar->SetMarquee(true);
    auto saved = host::SaveFormJson(*form)["controls"][0]["bag"];
    std::vector<std::string> keys;
    for (auto it = saved.begin(); it != saved.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"ForeColor", "Font", "Max", "Value", "BorderStyle", "BarStyle",
                                              "Divisions", "ShowPercent", "Marquee", "MarqueeSpeed"}));
    auto loaded = Reload();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->ForeColor(), 0x8000000Du);
    EXPECT_EQ(loaded->Font()->Name(), "Arial");
    EXPECT_TRUE(loaded->Font()->Bold());
    EXPECT_FLOAT_EQ(loaded->Font()->Size(), 12);
    EXPECT_EQ(loaded->Max(), 500);
    EXPECT_EQ(loaded->Value(), 125);
    EXPECT_EQ(loaded->BorderStyle(), 1);
    EXPECT_EQ(loaded->BarStyle(), 4);
    EXPECT_EQ(loaded->Divisions(), 10);
    EXPECT_FALSE(loaded->ShowPercent());
    EXPECT_TRUE(loaded->Marquee());
    EXPECT_EQ(loaded->MarqueeSpeed(), 80);
    EXPECT_TRUE(loaded->MarqueeTimer().Enabled());
    EXPECT_EQ(loaded->MarqueeTimer().Interval(), 80);
}

// A hand-edited file with values no setter would store is read through the same limits.
TEST_F(ProgressBarTest, StoredValuesAreClampedOnRead) {
    const char* text = R"({"format": "brimlox-form", "version": 1,
        "form": {"Name": "frmBad", "Left": 0, "Top": 0, "Width": 4000, "Height": 2000},
        "controls": [{"type": "ProgressBar", "name": "prgBad",
                      "extender": {"Left": 0, "Top": 0, "Width": 3000, "Height": 300},
                      "bag": {"Max": 0, "Value": 500, "Divisions": 300, "MarqueeSpeed": 0}},
                     {"type": "ProgressBar", "name": "prgNeg",
                      "extender": {"Left": 0, "Top": 400, "Width": 3000, "Height": 300},
                      "bag": {"Max": 50, "Value": -9, "Divisions": 1}}]})";
    form = host::LoadFormText(text, "bad.json");
    auto bad = std::dynamic_pointer_cast<controls::ProgressBar>(form->Find("prgBad"));
    auto neg = std::dynamic_pointer_cast<controls::ProgressBar>(form->Find("prgNeg"));
    ASSERT_TRUE(bad && neg);
    EXPECT_EQ(bad->Max(), 1);
    EXPECT_EQ(bad->Value(), 1);
    EXPECT_EQ(bad->Percentage(), 100);
    EXPECT_EQ(bad->Divisions(), 20);
    EXPECT_EQ(bad->MarqueeSpeed(), 10);
    EXPECT_EQ(neg->Value(), 0);
    EXPECT_EQ(neg->Divisions(), 0);
    form->Show();
    host::DoEvents();
    EXPECT_EQ(bad->WidthPixels(), 200);
    EXPECT_EQ(bad->HeightPixels(), 20);
}

}  // namespace
}  // namespace brimlox::test
