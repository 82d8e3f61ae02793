// Forms in their frames: border styles and caption boxes as window styles, outer and client
// sizes, window states through the title bar and through code, QueryUnload from the close
// button, the task strip's buttons for minimised forms, and form files that keep the state,
// the normal rectangle and (for files of the first version) the client area.
#include "host_test.h"

#include "platform/host/form_file.h"
#include "platform/shell/task_strip.h"
#include "platform/user/frame.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using FormFrameTest = HostTest;

DWORD StyleOf(const Form& f) { return static_cast<DWORD>(GetWindowLongA(f.hWnd(), GWL_STYLE)); }

TEST_F(FormFrameTest, BorderStylesAndCaptionBoxesGiveTheirFramesAndClientSizes) {
    auto form = Form::Create("frmFrame");
    form->Move(0, 0, 4800, 3600);  // 320 x 240 pixels outside
    struct Case {
        std::int16_t border;
        int clientW, clientH;
        bool thick, minBox, maxBox, tool;
    };
    const Case cases[] = {{0, 320, 240, false, false, false, false}, {1, 314, 215, false, true, true, false},
                          {2, 312, 213, true, true, true, false},    {3, 314, 215, false, false, false, false},
                          {4, 314, 218, false, false, false, true},  {5, 312, 216, true, false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.border);
        form->SetBorderStyle(c.border);
        EXPECT_EQ(form->Width(), 4800) << "the outer size stays";
        EXPECT_EQ(form->ScaleWidth(), static_cast<float>(c.clientW * 15));
        EXPECT_EQ(form->ScaleHeight(), static_cast<float>(c.clientH * 15));
        EXPECT_EQ((StyleOf(*form) & WS_THICKFRAME) != 0, c.thick);
        EXPECT_EQ((StyleOf(*form) & WS_MINIMIZEBOX) != 0, c.minBox);
        EXPECT_EQ((StyleOf(*form) & WS_MAXIMIZEBOX) != 0, c.maxBox);
        EXPECT_EQ((GetWindowLongA(form->hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0, c.tool);
    }
    form->SetBorderStyle(2);
    form->SetMaxButton(false);
    EXPECT_EQ(StyleOf(*form) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_MINIMIZEBOX);
    form->SetControlBox(false);
    EXPECT_EQ(StyleOf(*form) & (WS_SYSMENU | WS_MINIMIZEBOX), 0u) << "no control box: no icon and no buttons";
    EXPECT_THROW(form->SetBorderStyle(6), HostError);
    EXPECT_THROW(form->SetWindowState(3), HostError);
    form->Unload();
}

// A click at a screen point, 50 ms long, starting at `atMs`.
std::string ClickAt(int x, int y, int atMs) {
    return "at " + std::to_string(atMs) + "ms move " + std::to_string(x) + " " + std::to_string(y) + "\ndown left\nat " +
           std::to_string(atMs + 50) + "ms up left\n";
}

TEST_F(FormFrameTest, TitleBarButtonsChangeWindowStateRaiseResizeAndAskQueryUnload) {
    auto form = Form::Create("frmButtons");
    form->Move(1500, 1500, 4800, 3600);  // (100, 100) to (420, 340) on the screen
    std::vector<std::string> log;
    int refusals = 1;
    form->Connect("Resize", [&](std::span<Variant>) {
        log.push_back("Resize " + std::to_string(form->WindowState()) + " " + std::to_string(static_cast<int>(form->ScaleWidth())));
    });
    form->Connect("QueryUnload", [&](std::span<Variant> a) {
        log.push_back("QueryUnload " + std::to_string(a[1].ToInteger()));
        if (refusals-- > 0) a[0] = Variant(true);
    });
    form->Show();
    DoEvents();
    log.clear();
    UseScript(ClickAt(385, 112, 100));  // the maximise button
    RunLoop();
    EXPECT_EQ(form->WindowState(), 2);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "Resize 2 " + std::to_string(screenW * 15)) << "Resize sees the new client size";
    UseScript(ClickAt(screenW - 50, 8, 100));  // the minimise button, maximised
    RunLoop();
    EXPECT_EQ(form->WindowState(), 1);
    auto& strip = shell::TaskStrip::Instance();
    ASSERT_EQ(strip.Windows().size(), 1u);
    ASSERT_NE(strip.Strip(), nullptr);
    RECT stripRect, button = strip.ButtonRect(0);
    GetWindowRect(strip.Strip(), &stripRect);
    // Its task button restores it maximised, as it was before.
    UseScript(ClickAt(stripRect.left + button.left + 20, stripRect.top + 10, 100));
    RunLoop();
    EXPECT_EQ(form->WindowState(), 2);
    EXPECT_EQ(strip.Strip(), nullptr) << "the strip goes with the last minimised form";
    form->SetWindowState(0);
    EXPECT_EQ(form->Left(), 1500);
    EXPECT_EQ(form->Width(), 4800);
    log.clear();
    UseScript(ClickAt(405, 112, 100) + ClickAt(405, 112, 400));  // the close button, twice
    RunLoop();
    EXPECT_EQ(log, (std::vector<std::string>{"QueryUnload 0", "QueryUnload 0"}));
    EXPECT_TRUE(form->Unloaded()) << "the second close was not cancelled";
}

// A maximised form fills the work area as it changes: the task strip that appears when another
// form is minimised takes its rows from the maximised form, which gets them back when the strip
// goes, also when the maximised form itself went to the strip and came back from it.
TEST_F(FormFrameTest, AMaximisedFormFollowsTheWorkAreaAsTheTaskStripComesAndGoes) {
    auto big = Form::Create("frmBig");
    big->Move(1500, 1500, 4800, 3600);
    auto small = Form::Create("frmSmall");
    small->Move(3000, 3000, 3000, 2400);
    big->Show();
    small->Show();
    DoEvents();
    big->SetWindowState(2);
    const int screenH = GetSystemMetrics(SM_CYSCREEN), border = GetSystemMetrics(SM_CYFRAME);
    auto bottom = [&] {
        RECT r;
        GetWindowRect(big->hWnd(), &r);
        return static_cast<int>(r.bottom);
    };
    int resizes = 0;
    big->Connect("Resize", [&](std::span<Variant>) { ++resizes; });
    EXPECT_EQ(bottom(), screenH + border);
    small->SetWindowState(1);
    EXPECT_EQ(bottom(), screenH - shell::TaskStrip::kHeight + border) << "clear of the strip";
    EXPECT_EQ(resizes, 1);
    EXPECT_TRUE(IsZoomed(big->hWnd()));
    small->SetWindowState(0);
    EXPECT_EQ(bottom(), screenH + border) << "the rows back";
    big->SetWindowState(1);
    ASSERT_NE(shell::TaskStrip::Instance().Strip(), nullptr);
    ShowWindow(big->hWnd(), SW_RESTORE);
    EXPECT_EQ(big->WindowState(), 2);
    EXPECT_EQ(shell::TaskStrip::Instance().Strip(), nullptr);
    EXPECT_EQ(bottom(), screenH + border) << "back from the strip, with the strip's rows too";
    EXPECT_EQ(big->ScaleHeight(), static_cast<float>((screenH - GetSystemMetrics(SM_CYCAPTION)) * 15));
    small->Unload();
    big->Unload();
}

TEST_F(FormFrameTest, AFormSavedMaximisedComesBackMaximisedWithItsNormalSize) {
    auto form = Form::Create("frmState");
    form->Move(1200, 900, 6000, 4500);
    form->Show();
    form->SetWindowState(2);
    EXPECT_GT(form->Width(), 6000) << "maximised, the form covers the screen";
    const std::string text = SaveFormText(*form);
    form->Unload();
    EXPECT_NE(text.find("\"Width\": 6000"), std::string::npos) << text;
    EXPECT_NE(text.find("\"WindowState\": 2"), std::string::npos) << text;
    auto loaded = LoadFormText(text, "saved");
    EXPECT_EQ(loaded->WindowState(), 2);
    loaded->Show();
    EXPECT_TRUE(IsZoomed(loaded->hWnd()));
    loaded->SetWindowState(0);
    EXPECT_EQ(loaded->Left(), 1200);
    EXPECT_EQ(loaded->Top(), 900);
    EXPECT_EQ(loaded->Width(), 6000);
    EXPECT_EQ(loaded->Height(), 4500);
    loaded->Unload();
}

std::string FileWith(int version, const std::string& formKeys) {
    return R"({"format":"brimlox-form","version":)" + std::to_string(version) +
           R"(,"form":{"Name":"frmOld","Caption":"Old",)" + formKeys + R"(},"controls":[]})";
}

TEST_F(FormFrameTest, FilesKeepTheirClientAreasAndBadPlacementsAreMended) {
    // A first-version file was written when a caption was one row shorter: a framed form gets
    // that row back, so its client area is what it was (320 - 8 by 240 - 26 pixels).
    auto old = LoadFormText(FileWith(1, R"("Left":0,"Top":0,"Width":4800,"Height":3600)"), "test");
    EXPECT_EQ(old->ScaleWidth(), 312.0f * 15);
    EXPECT_EQ(old->ScaleHeight(), 214.0f * 15);
    old->Unload();
    auto plain = LoadFormText(FileWith(1, R"("Left":0,"Top":0,"Width":4800,"Height":3600,"BorderStyle":0)"), "test");
    EXPECT_EQ(plain->Height(), 3600) << "a form without a caption is unchanged";
    plain->Unload();
    auto current = LoadFormText(FileWith(2, R"("Left":0,"Top":0,"Width":4800,"Height":3600)"), "test");
    EXPECT_EQ(current->ScaleHeight(), 213.0f * 15);
    current->Unload();
    // A size below the frame grows to the frame; a form beyond the screen comes back onto it.
    auto tiny = LoadFormText(FileWith(2, R"("Left":-90000,"Top":900000,"Width":15,"Height":0)"), "test");
    EXPECT_EQ(tiny->Width(), 8 * 15);
    EXPECT_EQ(tiny->Height(), 27 * 15);
    EXPECT_EQ(tiny->ScaleWidth(), 0.0f);
    EXPECT_EQ(tiny->Left(), 0);
    EXPECT_EQ(tiny->Top(), GetSystemMetrics(SM_CYSCREEN) * 15 - tiny->Height());
    tiny->Unload();
    // Out-of-range states and styles are refused with the path of the value.
    for (const auto& [keys, path] : std::vector<std::pair<std::string, std::string>>{
             {R"("Left":0,"Top":0,"Width":4800,"Height":3600,"BorderStyle":6)", "form.BorderStyle"},
             {R"("Left":0,"Top":0,"Width":4800,"Height":3600,"WindowState":-1)", "form.WindowState"},
             {R"("Left":0,"Top":0,"Width":4800,"Height":3600,"MaxButton":2)", "form.MaxButton"},
             {R"("Left":0,"Top":0,"Width":4800,"Height":3600,"Icon":7)", "form.Icon"}}) {
        try {
            LoadFormText(FileWith(2, keys), "test");
            ADD_FAILURE() << keys << " loaded";
        } catch (const FormFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace brimlox::test
