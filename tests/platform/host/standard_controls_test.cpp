// The host's standard controls (which events fire when code sets a value, check box values,
// list tab stops, file lists that follow each other), timers of controls, design mode and the
// run-time services (Screen, App, Timer, Rnd).
#include <filesystem>
#include <fstream>

#include "host_test.h"

#include "platform/desktop/desktop.h"
#include "platform/host/standard_controls.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using StandardControlsTest = HostTest;

TEST_F(StandardControlsTest, SettingValuesFromCodeRaisesTheDocumentedEvents) {
    auto form = Form::Create();
    auto text = std::static_pointer_cast<TextBox>(form->Add("TextBox"));
    auto check = std::static_pointer_cast<CheckBox>(form->Add("CheckBox"));
    auto list = std::static_pointer_cast<ListBox>(form->Add("ListBox"));
    EXPECT_EQ(text->Name(), "Text1");
    EXPECT_EQ(text->Text(), "Text1") << "a new text box shows its name";
    std::vector<std::string> events;
    text->Connect("Change", [&](std::span<Variant>) { events.push_back("Change"); });
    check->Connect("Click", [&](std::span<Variant>) { events.push_back("Click" + std::to_string(check->Value())); });
    list->Connect("Click", [&](std::span<Variant>) { events.push_back("List" + list->Text()); });
    text->SetText("hello");
    text->SetText("hello");  // no change, no event
    check->SetValue(2);
    check->Click();  // a user click turns a greyed box to checked
    check->Click();
    EXPECT_THROW(check->SetValue(3), HostError);
    list->AddItem("b");
    list->AddItem("a", 0);
    EXPECT_EQ(list->List(0), "a");
    EXPECT_EQ(list->List(5), "") << "beyond the list reads empty";
    list->SetListIndex(1);
    list->RemoveItem(0);
    EXPECT_EQ(list->ListIndex(), 0) << "the selection follows its item";
    EXPECT_THROW(list->SetListIndex(4), HostError);
    EXPECT_EQ(events, (std::vector<std::string>{"Change", "Click2", "Click1", "Click0", "Listb"}));
    form->Unload();
}

TEST_F(StandardControlsTest, ListTabStopsPlaceColumns) {
    auto form = Form::Create();
    form->SetBorderStyle(0);
    auto list = std::static_pointer_cast<ListBox>(form->Add("ListBox"));
    list->Move(0, 0, 3000, 1500);
    list->SetTabStops({40});  // ten average characters
    list->AddItem("a\tb");
    form->Show();
    DoEvents();
    TEXTMETRICA tm{};
    GetTextMetricsA(list->hDC(), &tm);
    int column = 2 + 40 * tm.tmAveCharWidth / 4;
    // Something is drawn at the tab stop and nothing just before it.
    auto inkIn = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < tm.tmHeight; ++y)
                if (GetPixel(list->hDC(), x, y) != GetSysColor(COLOR_WINDOW)) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(column, column + tm.tmAveCharWidth + 2));
    EXPECT_FALSE(inkIn(column - 10, column));
    form->Unload();
}

TEST_F(StandardControlsTest, DriveFolderAndFileListsFollowEachOther) {
    namespace fs = std::filesystem;
    fs::path root = fs::path(OutputDir()) / "host_lists";
    fs::remove_all(root);
    fs::create_directories(root / "sub");
    std::ofstream(root / "one.txt") << "1";
    std::ofstream(root / "two.png") << "2";
    std::ofstream(root / "sub" / "three.txt") << "3";
    auto form = Form::Create();
    auto drive = std::static_pointer_cast<DriveListBox>(form->Add("DriveListBox"));
    auto dir = std::static_pointer_cast<DirListBox>(form->Add("DirListBox"));
    auto file = std::static_pointer_cast<FileListBox>(form->Add("FileListBox"));
    // The application links them, as a form's code does.
    drive->Connect("Change", [&](std::span<Variant>) { dir->SetPath(drive->Drive()); });
    dir->Connect("Change", [&](std::span<Variant>) { file->SetPath(dir->Path()); });
    int pathChanges = 0;
    file->Connect("PathChange", [&](std::span<Variant>) { ++pathChanges; });
    dir->SetPath(root.string());
    EXPECT_EQ(file->Path(), fs::weakly_canonical(root).string());
    EXPECT_EQ(file->ListCount(), 2);
    file->SetPattern("*.txt");
    ASSERT_EQ(file->ListCount(), 1);
    EXPECT_EQ(file->List(0), "one.txt");
    ASSERT_EQ(dir->ListCount(), 1);
    dir->SetListIndex(0);
    dir->DblClick();  // opens the sub-folder
    EXPECT_EQ(file->List(0), "three.txt");
    EXPECT_EQ(pathChanges, 2);
    EXPECT_THROW(dir->SetPath((root / "missing").string()), HostError);
    drive->SetDrive("/");  // the same drive: nothing follows
    EXPECT_EQ(pathChanges, 2);
    form->Unload();
    fs::remove_all(root);
}

TEST_F(StandardControlsTest, ControlTimersTickOnTheEventLoopAndDesignModeIsAmbient) {
    auto form = Form::Create("frmTick");
    auto probe = form->Add("Probe", "prbTick");
    std::vector<std::uint64_t> ticks;
    auto timer = probe->CreateTimer([&] {
        ticks.push_back(desktop::Desktop::Instance().Now());
        if (ticks.size() == 3) form->Unload();
    });
    timer->SetInterval(100);
    timer->SetEnabled(true);
    EXPECT_TRUE(probe->Ambient().UserMode);
    form->Show();
    host::Run();  // the last form's unload ends the loop
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{100, 200, 300}));
    timer.reset();
    auto design = Form::Create("frmDesign", true);
    EXPECT_FALSE(design->Add("Label")->Ambient().UserMode);
    design->Discard();
}

TEST_F(StandardControlsTest, ScreenAppTimerAndRandomNumbers) {
    desktop::Desktop::Instance().Configure({800, 600, 12});
    ScreenInfo screen = Screen();
    EXPECT_EQ(screen.Width, 9600);
    EXPECT_EQ(screen.TwipsPerPixelY, 12);
    AppInfo app = App();
    EXPECT_EQ(app.EXEName, "brimlox_tests");
    EXPECT_NE(app.ThreadID, 0);
    desktop::Desktop::Instance().UseVirtualClock(3600000 + 1234);
    EXPECT_FLOAT_EQ(Timer(), 3601.23f);
    float first = Rnd();
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 1.0f);
    EXPECT_EQ(Rnd(0), first) << "0 repeats the last value";
    float a = Rnd(-3), b = Rnd();
    EXPECT_EQ(Rnd(-3), a) << "a negative argument re-seeds";
    EXPECT_EQ(Rnd(), b);
    // A font made at this scale: 12 points are 20 pixels at 12 twips per pixel.
    StdFont font;
    font.SetSize(12);
    LOGFONTA lf{};
    GetObjectA(font.Handle(), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -20);
}

}  // namespace
}  // namespace brimlox::test
