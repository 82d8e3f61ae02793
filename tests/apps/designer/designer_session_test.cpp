// The designer as a person uses it: a form built from nothing by real input on the event loop
// (placing by dragging on the design window, selecting by clicks, the property grid, the Menu
// page, undo and redo, the keys), saved and compared with the form file it must give, run, and
// controls carried between two design windows; closing a changed form asks.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/designer/designer.h"
#include "controls/command/command.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_presenter.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/design_environment.h"
#include "platform/host/form_file.h"
#include "platform/host/host_test.h"
#include "platform/host/type_info.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/clipboard.h"
#include "platform/user/msgbox.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;
using designer::Designer;
using designer::DesignDocument;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class DesignerSessionTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        desktop::Desktop::Instance().Configure({1280, 800, 15, true});
        dir = fs::path(OutputDir()) / "designer-session" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        designer = std::make_unique<Designer>();
    }
    void TearDown() override {
        designer.reset();
        HostTest::TearDown();
    }

    // "move X Y" to a point of a window's client area.
    static std::string At(HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return "move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
    }
    // Runs a script from now on the virtual clock, one event each 20 ms.
    void Input(const std::string& text) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(text, parsed, error)) << error;
        std::uint64_t t = desktop::Desktop::Instance().Now() + 1000;  // past double clicks
        for (auto& e : parsed.events) e.timeMs = (t += 20);
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), t + 20));
        host::Run();
    }
    // Draws a new control of `type` from (x1, y1) to (x2, y2) of the design window's client area.
    void Place(DesignDocument& document, const std::string& type, int x1, int y1, int x2, int y2) {
        designer->Tools().Pick(type);
        const HWND form = document.Form().hWnd();
        Input(At(form, x1, y1) + "down left\n" + At(form, (x1 + x2) / 2, (y1 + y2) / 2) + At(form, x2, y2) +
              "up left\n");
    }
    void Click(HWND window, int x, int y) { Input(At(window, x, y) + "click left\n"); }

    fs::path dir;
    std::unique_ptr<Designer> designer;
};

TEST_F(DesignerSessionTest, AFormBuiltFromNothingIsSavedAsItsGoldenFileAndRuns) {
    const fs::path path = dir / "frmSession.json";
    DesignDocument& doc = designer->Open(path.string());
    EXPECT_FALSE(fs::exists(path)) << "a new form is written only when saved";
    EXPECT_EQ(designer->Title(), std::string(host::DesignEnvironmentProduct()) + " - frmSession [design]");
    const HWND form = doc.Form().hWnd();

    // The form's own size through the grid (nothing is selected).
    ASSERT_TRUE(doc.Selection().empty());
    ASSERT_TRUE(designer->Grid().Edit("Width", "7200"));
    ASSERT_TRUE(designer->Grid().Edit("Height", "5400"));
    EXPECT_EQ(doc.Form().Width(), 7200);

    // Three controls drawn on the form; two panes drawn inside the splitter. The grid of
    // 120 twips (8 pixels) snaps every corner.
    Place(doc, "Command", 17, 15, 110, 45);
    Place(doc, "ScrollBar", 17, 63, 215, 79);
    Place(doc, "SplitWindow", 17, 95, 297, 215);
    auto split = doc.Form().Find("spl");
    ASSERT_TRUE(split) << doc.Text();
    Place(doc, "PictureBox", 25, 103, 135, 207);
    Place(doc, "PictureBox", 161, 103, 289, 207);
    ASSERT_EQ(doc.Form().Controls().size(), 5u) << doc.Text();
    // The library's controls name themselves with their own prefixes.
    auto cmd = doc.Form().Find("cmd");
    auto bar = doc.Form().Find("sbr");
    ASSERT_TRUE(cmd && bar);
    EXPECT_EQ(cmd->Left(), 240);
    EXPECT_EQ(cmd->Top(), 240);
    for (const char* pane : {"PictureBox1", "PictureBox2"}) {
        auto p = doc.Form().Find(pane);
        ASSERT_TRUE(p) << pane;
        EXPECT_EQ(p->ContainerControl(), split.get()) << pane << " is a pane of the splitter";
    }
    EXPECT_EQ(designer->Tools().Picked(), "") << "the toolbox goes back to the pointer";

    // The grid: the splitter made active; the button's caption; a refused value.
    doc.Select({split});
    ASSERT_TRUE(designer->Grid().Edit("Active", "True"));
    Click(form, 60, 30);
    ASSERT_EQ(doc.Selection().size(), 1u);
    EXPECT_EQ(doc.Selection()[0], cmd);
    ASSERT_TRUE(designer->Grid().Edit("Caption", "Open"));
    Click(form, 100, 70);
    ASSERT_EQ(doc.Selection()[0], bar);
    ASSERT_TRUE(designer->Grid().Edit("Max", "50"));
    user::ClearMessageBoxLog();
    EXPECT_FALSE(designer->Grid().Edit("Value", "99999"));
    ASSERT_EQ(user::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::GetProperty(*bar, "Value").ToLong(), 0) << "a refused value changes nothing";

    // The Menu page from the grid's handler, worked by real input: a caption typed into the
    // first line, then OK. Applying is one step of the history.
    designer->EditMenu(cmd);
    ASSERT_TRUE(designer->MenuFrame());
    const HWND page = designer->MenuFrame()->Form().hWnd();
    Input(At(page, 356, 18) + "click left\nkey press Q\nkey press U\nkey press I\nkey press T\n" + At(page, 224, 318) +
          "click left\nwait 200ms\n");
    EXPECT_FALSE(designer->MenuFrame()->Open());
    EXPECT_EQ(host::GetProperty(*cmd, "MenuItemCount").ToLong(), 1);
    EXPECT_EQ(doc.UndoName(), "Menu");

    // Undo and redo by keys with the design window in front: two steps back and forth give
    // the same form.
    const std::string built = doc.Text();
    Click(form, 300, 20);
    Input("key down VK_CONTROL\nkey press Z\nkey press Z\nkey up VK_CONTROL\n");
    EXPECT_NE(doc.Text(), built);
    EXPECT_EQ(host::GetProperty(*doc.Form().Find("cmd"), "MenuItemCount").ToLong(), 0);
    Input("key down VK_CONTROL\nkey press Y\nkey press Y\nkey up VK_CONTROL\n");
    EXPECT_EQ(doc.Text(), built);
    EXPECT_TRUE(doc.Modified());
    EXPECT_NE(designer->Title().find("[design]"), std::string::npos);

    // Ctrl+S writes the file, which is the golden one.
    Input("key down VK_CONTROL\nkey press S\nkey up VK_CONTROL\n");
    ASSERT_TRUE(fs::exists(path));
    EXPECT_FALSE(doc.Modified());
    const fs::path golden = fs::path(SourceDir()) / "tests/golden/apps/designer/session_form.json";
    if (std::getenv("BRIMLOX_UPDATE_GOLDEN")) fs::copy_file(path, golden, fs::copy_options::overwrite_existing);
    EXPECT_EQ(ReadFile(path), ReadFile(golden));

    // The picture of the designer with its form, then F5 runs the form where the design window
    // was; closing it brings the design window back.
    host::DoEvents();
    desktop::HeadlessPresenter presenter(dir.string());
    std::string error;
    ASSERT_TRUE(presenter.WriteScreen((dir / "designer.png").string(), true, &error)) << error;
    Input("key press 0x74\n");
    ASSERT_TRUE(designer->Running());
    EXPECT_NE(designer->Title().find("[run]"), std::string::npos);
    host::Form* running = designer->RunningForm();
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_TRUE(IsWindowVisible(running->hWnd()));
    auto runningCmd = running->Find("cmd");
    ASSERT_TRUE(runningCmd);
    EXPECT_TRUE(runningCmd->Ambient().UserMode);
    running->Unload();
    host::DoEvents();
    EXPECT_FALSE(designer->Running());
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_NE(designer->Title().find("[design]"), std::string::npos);

    // The saved file loads and runs on its own.
    auto loaded = host::LoadFormFile(path.string());
    loaded->Show();
    host::DoEvents();
    auto loadedCmd = std::static_pointer_cast<controls::Command>(loaded->Find("cmd"));
    ASSERT_TRUE(loadedCmd);
    EXPECT_EQ(loadedCmd->Menu().Items().size(), 1u);
    EXPECT_EQ(loaded->Find("PictureBox2")->ContainerControl(), loaded->Find("spl").get());
    loaded->Unload();
}

TEST_F(DesignerSessionTest, ControlsTravelBetweenTwoDesignWindowsAndBadPastesAreRefused) {
    const std::string first = (dir / "frmOne.json").string();
    std::ofstream(first) << R"({"format": "brimlox-form", "version": 2,
      "form": {"Name": "frmOne", "Caption": "One", "Left": 0, "Top": 0, "Width": 6000, "Height": 4500},
      "controls": [
        {"type": "CommandButton", "name": "cmdGo", "extender": {"Left": 480, "Top": 480, "Width": 1200, "Height": 480},
         "bag": {"Caption": "Go"}},
        {"type": "Nothing", "name": "xyz", "extender": {"Left": 0, "Top": 0, "Width": 100, "Height": 100}}
      ]})";
    DesignDocument& one = designer->Open(first);
    ASSERT_EQ(one.Problems().size(), 1u) << "the unknown type is left out and told";
    ASSERT_FALSE(user::MessageBoxLog().empty());
    EXPECT_NE(user::MessageBoxLog().back().text.find("Nothing"), std::string::npos);
    DesignDocument& two = designer->Open((dir / "frmTwo.json").string());
    // The second window moves clear of the first (they open cascaded, overlapping).
    ASSERT_TRUE(designer->Grid().Edit("Left", "12000"));
    const HWND formOne = one.Form().hWnd();
    const HWND formTwo = two.Form().hWnd();

    // Copy in the first window, paste twice in the second: the second copy is renamed.
    Click(formOne, 50, 40);
    ASSERT_EQ(one.Selection().size(), 1u);
    Input("key down VK_CONTROL\nkey press C\nkey up VK_CONTROL\n");
    Click(formTwo, 200, 150);
    EXPECT_EQ(designer->Active(), &two);
    Input("key down VK_CONTROL\nkey press V\nkey press V\nkey up VK_CONTROL\n");
    ASSERT_TRUE(two.Form().Find("cmdGo"));
    ASSERT_TRUE(two.Form().Find("cmdGo1"));
    EXPECT_EQ(host::GetProperty(*two.Form().Find("cmdGo1"), "Caption").ToString(), "Go");
    EXPECT_EQ(two.Form().Find("cmdGo")->Left(), 480) << "the layout is kept";

    // Cut takes it from the first form; undo there brings it back.
    Click(formOne, 50, 40);
    Input("key down VK_CONTROL\nkey press X\nkey up VK_CONTROL\n");
    EXPECT_FALSE(one.Form().Find("cmdGo"));
    designer->Undo();
    EXPECT_TRUE(one.Form().Find("cmdGo"));

    // Text that is not a fragment is refused with a message and changes nothing.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char text[] = "{\"not\": \"a fragment\"}";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    std::memcpy(GlobalLock(memory), text, sizeof text);
    GlobalUnlock(memory);
    ASSERT_TRUE(SetClipboardData(CF_TEXT, memory));
    CloseClipboard();
    const std::string before = two.Text();
    designer->Activate(two);
    user::ClearMessageBoxLog();
    EXPECT_FALSE(designer->Paste());
    ASSERT_EQ(user::MessageBoxLog().size(), 1u);
    EXPECT_NE(user::MessageBoxLog()[0].text.find("no controls to paste"), std::string::npos);
    EXPECT_EQ(two.Text(), before);
}

TEST_F(DesignerSessionTest, ClosingAChangedFormAsksAndTheAnswerDecides) {
    const fs::path path = dir / "frmAsk.json";
    DesignDocument& doc = designer->Open(path.string());
    Place(doc, "CommandButton", 20, 20, 100, 50);
    ASSERT_TRUE(doc.Modified());
    HWND window = designer->Window().hWnd();

    // Cancel keeps the window and the changes.
    user::QueueMessageBoxAnswers({IDCANCEL});
    EXPECT_FALSE(designer->Close(doc));
    EXPECT_EQ(designer->DocumentCount(), 1u);
    EXPECT_EQ(user::MessageBoxLog().back().text, "Save changes to frmAsk?");
    EXPECT_EQ(user::MessageBoxLog().back().type & MB_TYPEMASK, MB_YESNOCANCEL);
    // Yes saves, then the window closes, and the designer with its last document.
    user::QueueMessageBoxAnswers({IDYES});
    EXPECT_TRUE(designer->Close(doc));
    host::DoEvents();
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(designer->DocumentCount(), 0u);
    EXPECT_FALSE(IsWindow(window));
    auto saved = host::LoadFormFile(path.string(), true);
    EXPECT_TRUE(saved->Find("Command1"));
    saved->Discard();

    // No closes without writing.
    designer.reset();
    designer = std::make_unique<Designer>();
    DesignDocument& again = designer->Open(path.string());
    Place(again, "CommandButton", 120, 20, 200, 50);
    const std::string onDisk = ReadFile(path);
    user::QueueMessageBoxAnswers({IDNO});
    EXPECT_TRUE(designer->Close(again));
    EXPECT_EQ(ReadFile(path), onDisk);
}

TEST_F(DesignerSessionTest, TheGridBoxSetsTheSnapOfEveryDesignWindow) {
    DesignDocument& doc = designer->Open((dir / "frmGrid.json").string());
    auto box = std::static_pointer_cast<host::TextBox>(designer->Window().Find("txtGrid"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Text(), "120");
    box->SetText("300");
    EXPECT_EQ(designer->GridTwips(), 300);
    EXPECT_EQ(designer->Surface(0).GridTwips(), 300);
    // Text that is no size, or too large a grid, leaves it as it was.
    for (const char* bad : {"", "abc", "-5", "99999", "12x"}) {
        box->SetText(bad);
        EXPECT_EQ(designer->Surface(0).GridTwips(), 300) << bad;
    }
    EXPECT_FALSE(designer->SetGridTwips(designer::Designer::kMaxGridTwips + 1));
    // A drag snaps to the new grid (20 pixels: 300 twips).
    Place(doc, "CommandButton", 25, 25, 100, 60);
    ASSERT_EQ(doc.Form().Controls().size(), 1u);
    EXPECT_EQ(doc.Form().Controls()[0]->Left(), 300);
    // No grid: pixel positions stay as drawn.
    box->SetText("0");
    Place(doc, "CommandButton", 27, 91, 100, 120);
    ASSERT_EQ(doc.Form().Controls().size(), 2u);
    EXPECT_EQ(doc.Form().Controls()[1]->Left(), 27 * 15);
    EXPECT_EQ(doc.Form().Controls()[1]->Top(), 91 * 15);
}

}  // namespace
}  // namespace brimlox::test
