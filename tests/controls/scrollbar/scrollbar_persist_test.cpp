// The scroll bar on forms: naming, late-bound access, and its properties through a form file.
#include <filesystem>

#include "controls/scrollbar/scrollbar_test.h"
#include "platform/host/form_file.h"
#include "platform/host/type_info.h"

namespace brimlox::test {
namespace {

using controls::ScrollBar;

class ScrollBarPersistTest : public ScrollBarTest {
protected:
    std::shared_ptr<ScrollBar> Reload() {
        std::string name = bar->Name();
        std::string path = OutputDir() + "/scrollbar_round_trip.json";
        host::SaveFormFile(*form, path);
        form->Unload();
        form = host::LoadFormFile(path);
        std::filesystem::remove(path);
        return std::dynamic_pointer_cast<ScrollBar>(form->Find(name));
    }
};

TEST_F(ScrollBarPersistTest, NewBarsNameThemselvesAndAnswerLateBoundCalls) {
    // In the designer a new bar takes the first free "sbr" name.
    auto design = host::Form::Create("frmDesign", true);
    EXPECT_EQ(design->Add("ScrollBar")->Name(), "sbr");
    EXPECT_EQ(design->Add("ScrollBar")->Name(), "sbr1");
    design->Unload();

    MakeBar(10, 10, 200, 17);
    EXPECT_TRUE(host::IsControlType("ScrollBar"));
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 2147483647);
    EXPECT_EQ(bar->LargeChange(), 10);
    EXPECT_EQ(bar->DeadZone(), 1);
    EXPECT_TRUE(bar->AutoRedraw());
    EXPECT_EQ(bar->MousePointer(), 1);

    host::LetProperty(*bar, "Max", host::Variant(40));
    host::LetProperty(*bar, "Value", host::Variant(100));  // clamped to Max
    EXPECT_EQ(host::GetProperty(*bar, "Value").ToLong(), 40);
    host::LetProperty(*bar, "DeadZone", host::Variant(std::int16_t{0}));
    EXPECT_EQ(host::GetProperty(*bar, "DeadZone").ToInteger(), 1);
    host::LetProperty(*bar, "DeadZone", host::Variant(std::int16_t{12}));
    EXPECT_EQ(bar->DeadZone(), 9);
    host::LetProperty(*bar, "Font3D", host::Variant(std::int16_t{2}));  // not a Font3D value: ignored
    EXPECT_EQ(bar->Font3D(), 0);
    int changes = 0;
    bar->Connect("Change", [&](std::span<host::Variant>) { ++changes; });
    host::CallMethod(*bar, "Refresh", {host::Variant(true)});
    EXPECT_EQ(changes, 0) << "code that sets Value raises no event";
    const host::MemberInfo* change = bar->GetTypeInfo()->FindEvent("Change");
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->dispId, 1);
    EXPECT_EQ(bar->GetTypeInfo()->FindEvent("Scroll")->dispId, 2);
}

TEST_F(ScrollBarPersistTest, EveryPropertySurvivesAFormFile) {
    MakeBar(10, 10, 17, 200);
    EXPECT_TRUE(bar->Vertical());
    // A new bar stores nothing but the orientation its shape gave it.
    EXPECT_EQ(host::SaveFormJson(*form)["controls"][0]["bag"], (host::OrderedJson{{"Vertical", true}}));
    bar->SetMin(-50);
    bar->SetMax(500);
    bar->SetLargeChange(25);
    bar->SetSmallChange(5);
    bar->SetValue(120);
    bar->SetBorderStyle(3);
    bar->SetFont3D(controls::Inset3D);
    bar->SetActiveScroll(true);
    bar->SetAutoDelay(300);
    bar->SetAutoInterval(40);
    bar->SetSoftButtons(true);
    bar->SetDeadZone(4);
    bar->SetExtended(true);
    bar->SetMousePointer(2);
    bar->SetEnabled(false);
    bar->SetAutoRedraw(false);
    EXPECT_EQ(host::SaveFormJson(*form)["controls"][0]["bag"]["DeadZone"], 40) << "stored in tenths";

    auto loaded = Reload();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Min(), -50);
    EXPECT_EQ(loaded->Max(), 500);
    EXPECT_EQ(loaded->LargeChange(), 25);
    EXPECT_EQ(loaded->SmallChange(), 5);
    EXPECT_EQ(loaded->Value(), 120);
    EXPECT_EQ(loaded->BorderStyle(), 3);
    EXPECT_EQ(loaded->Font3D(), controls::Inset3D);
    EXPECT_TRUE(loaded->ActiveScroll());
    EXPECT_EQ(loaded->AutoDelay(), 300);
    EXPECT_EQ(loaded->AutoInterval(), 40);
    EXPECT_TRUE(loaded->SoftButtons());
    EXPECT_EQ(loaded->DeadZone(), 4);
    EXPECT_TRUE(loaded->Extended());
    EXPECT_TRUE(loaded->Vertical());
    EXPECT_EQ(loaded->MousePointer(), 2);
    EXPECT_FALSE(loaded->Enabled());
    EXPECT_FALSE(loaded->AutoRedraw());
    EXPECT_EQ(loaded->RepeatTimer().Interval(), 300) << "the repeat timer starts with AutoDelay";
    EXPECT_EQ(loaded->BackColor(), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_EQ(loaded->Geometry().barLength, 200 * 15 - 17 * 15);
    bar = loaded;
}

// A damaged or hand-edited file used to go straight into the fields: Min above Max left Value
// outside the range, and a DeadZone of 0 divided by zero once middle-button scrolling began.
TEST_F(ScrollBarPersistTest, ReadingNormalisesARangeAndDeadZoneTheSettersWouldRefuse) {
    MakeBar(20, 40, 300, 17);
    host::OrderedJson file = host::SaveFormJson(*form);
    auto& bag = file["controls"][0]["bag"];
    bag["Min"] = 50;
    bag["Max"] = 10;
    bag["Value"] = 0;
    bag["DeadZone"] = 0;
    form->Unload();
    form = host::LoadFormJson(file, "damaged.json");
    bar = std::dynamic_pointer_cast<ScrollBar>(form->Controls().front());
    ASSERT_NE(bar, nullptr);
    EXPECT_LE(bar->Min(), bar->Max());
    EXPECT_GE(bar->Value(), bar->Min());
    EXPECT_LE(bar->Value(), bar->Max());
    EXPECT_EQ(bar->DeadZone(), 1);

    // Middle-button scrolling with the read dead zone moves the value and nothing breaks.
    form->Show();
    host::DoEvents();
    bar->SetMax(1000);
    bar->SetValue(500);
    bar->Connect("Change", [this](std::span<host::Variant> a) { events.push_back({"Change", a[0].ToLong(), 0, 0}); });
    Play("at 10ms " + At(150, 8) + "click middle\n" + At(170, 8) + "wait 700ms\n");
    EXPECT_TRUE(bar->AutoScrolling());
    Play("click left\n");
    EXPECT_FALSE(events.empty());
    EXPECT_GT(bar->Value(), 500);

    // Ends whose difference overflows 32 bits are settled the way the setters settle them.
    file = host::SaveFormJson(*form);
    file["controls"][0]["bag"]["Min"] = -2147483647;
    file["controls"][0]["bag"]["Max"] = 2147483647;
    file["controls"][0]["bag"]["Value"] = 7;
    form->Unload();
    form = host::LoadFormJson(file, "overflow.json");
    bar = std::dynamic_pointer_cast<ScrollBar>(form->Controls().front());
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 2147483647);
    EXPECT_EQ(bar->Value(), 7);
}

}  // namespace
}  // namespace brimlox::test
