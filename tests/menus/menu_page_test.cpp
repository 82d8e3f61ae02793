// The Menu property page: loading a control's items, editing them with real clicks and typing
// on the event loop, Insert and Remove, the level corrections of ApplyChanges with their
// messages, large menus through a form file, a cursor left beyond the list, and the picture
// chooser with its remembered folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "controls/command/command.h"
#include "menus/editor/menu_page.h"
#include "menus/menus_test.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/form_file.h"
#include "platform/host/host_test.h"
#include "platform/host/runtime.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;
using host::Variant;
using menus::MenuPage;
using menus::MenuPageModel;

std::vector<std::string> Captions(const controls::Command& c) {
    std::vector<std::string> out;
    for (const auto& item : c.Menu().Items()) out.push_back(item.Caption);
    return out;
}

std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& box : host::MessageBoxLog()) out.push_back(box.text);
    return out;
}

fs::path FreshDir(const std::string& name) {
    fs::path dir = fs::path(OutputDir()) / "menu-page" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

class MenuPageTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        host::ClearMessageBoxLog();
        designed = host::Form::Create("frmDesigned", true);
        designed->Move(0, 0, 3000, 2000);
        command = std::static_pointer_cast<controls::Command>(designed->Add("Command", "cmdMenu"));
        settingsRoot = FreshDir("settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        settings = std::make_unique<host::SettingsStore>(settingsRoot);
    }
    void TearDown() override {
        page.reset();
        if (pageForm && !pageForm->Unloaded()) pageForm->Unload();
        pageForm.reset();
        command.reset();
        if (designed) designed->Discard();
        designed.reset();
        host::ClearMessageBoxLog();
        HostTest::TearDown();
    }
    void AddItems(const std::vector<std::string>& captions) {
        for (const auto& c : captions) command->Menu().AddMenu(c, Variant("t" + c));
    }
    // The page on a borderless form at the screen's origin, so page pixels are screen pixels.
    MenuPage& OpenPage() {
        pageForm = host::Form::Create("frmMenuPage");
        pageForm->SetBorderStyle(0);
        pageForm->Move(0, 0, MenuPage::kWidthPx * 15, MenuPage::kHeightPx * 15);
        page = std::make_unique<MenuPage>(pageForm, *settings);
        pageForm->Show();
        page->SelectionChanged({command});
        host::DoEvents();
        return *page;
    }
    host::Control& Find(const std::string& name, std::int16_t index = -1) { return *pageForm->Find(name, index); }
    template <typename T>
    T& Get(const std::string& name, std::int16_t index = -1) {
        return dynamic_cast<T&>(Find(name, index));
    }
    // "move X Y" to a point of a control, in its client pixels.
    std::string At(host::Control& c, int x, int y) {
        RECT r{};
        GetWindowRect(c.hWnd(), &r);
        return "move " + std::to_string(r.left + x) + " " + std::to_string(r.top + y) + "\n";
    }
    std::string Centre(host::Control& c) {
        RECT r{};
        GetWindowRect(c.hWnd(), &r);
        return At(c, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    }
    std::string ClickLine(int line) {
        TEXTMETRICA tm{};
        GetTextMetricsA(Find("lstMenu").hDC(), &tm);
        return At(Find("lstMenu"), 20, line * tm.tmHeight + tm.tmHeight / 2) + "click left\nwait 50ms\n";
    }
    std::string ClickOn(const std::string& name, std::int16_t index = -1) {
        return Centre(Find(name, index)) + "click left\nwait 50ms\n";
    }
    // Plays a script on the virtual clock, its times counted from now.
    void Play(const std::string& script) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
        const std::uint64_t start = desktop::Desktop::Instance().Now();
        for (auto& e : parsed.events) e.timeMs += start;
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + start));
        host::Run();
        desktop::Desktop::Instance().SetInputSource(nullptr);
    }

    std::shared_ptr<host::Form> designed;
    std::shared_ptr<controls::Command> command;
    fs::path settingsRoot;
    std::unique_ptr<host::SettingsStore> settings;
    std::shared_ptr<host::Form> pageForm;
    std::unique_ptr<MenuPage> page;
};

TEST_F(MenuPageTest, ApplyCorrectsSkippedLevelsWithTheirMessagesAndGivesTheSameListTwice) {
    AddItems({">Open", "File", ">New", ">>>Deep", "Exit"});
    MenuPageModel model;
    model.Load(*command);
    ASSERT_EQ(model.Count(), 5u);
    model.Edit(2).caption = "";  // an empty line is not written and takes no index
    std::vector<std::string> told;
    model.Apply(*command, [&](const std::string& t) { told.push_back(t); });
    EXPECT_EQ(told, (std::vector<std::string>{
                        "Menu entry >Open skipped a level.\r\nEntry changed to level 0",
                        "Menu entry >>>Deep skipped a level.\r\nEntry changed to level 1"}));
    EXPECT_EQ(Captions(*command), (std::vector<std::string>{"Open", "File", ">Deep", "Exit"}));
    EXPECT_EQ(model.Item(0).caption, "Open") << "the page shows the corrected caption";
    EXPECT_EQ(command->Menu().Items()[3].Tag.ToString(), "tExit");

    // The edge cases of three levels: File, >New, >>>Deep becomes >>Deep at level 2.
    MenuPageModel deep;
    deep.Edit(0).caption = "File";
    deep.Edit(1).caption = ">New";
    deep.Edit(2).caption = ">>>Deep";
    deep.Edit(2).checked = 5;
    told.clear();
    deep.Apply(*command, [&](const std::string& t) { told.push_back(t); });
    EXPECT_EQ(told, (std::vector<std::string>{"Menu entry >>>Deep skipped a level.\r\nEntry changed to level 2"}));
    EXPECT_EQ(Captions(*command), (std::vector<std::string>{"File", ">New", ">>Deep"}));
    EXPECT_EQ(command->Menu().Items()[2].Checked, 5) << "a raw check state survives";

    // A second apply empties the control first: the same list, and nothing more to correct.
    told.clear();
    deep.Apply(*command, [&](const std::string& t) { told.push_back(t); });
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(Captions(*command), (std::vector<std::string>{"File", ">New", ">>Deep"}));

    // Level marks alone moved to level 0 leave nothing: the line is dropped, not written as a
    // deletion; deeper down they stay an item without text.
    MenuPageModel marks;
    marks.Edit(0).caption = ">>";
    marks.Edit(1).caption = "A";
    marks.Edit(2).caption = ">>>";
    marks.Edit(3).caption = "B";
    marks.Apply(*command, nullptr);
    EXPECT_EQ(Captions(*command), (std::vector<std::string>{"A", ">", "B"}));
    EXPECT_EQ(MenuPageModel::ListLine(">>Save\\tCtrl+S"), "        Save\tCtrl+S");
}

TEST_F(MenuPageTest, ApplyRestoresEveryFieldOverItemsThatHadOtherValues) {
    // The control's items start with the opposite of every field the page will write, so a
    // field that Apply forgets to write (or writes only when it differs from a fresh item's)
    // shows up in the reload.
    auto picture = std::make_shared<host::StdPicture>();
    menus::AddMenuOptions odd;
    odd.MenuEnabled = false, odd.MenuVisible = false, odd.MenuChecked = true, odd.MenuAutoCheck = true;
    odd.MenuRadio = true, odd.MenuIcon = picture, odd.MenuIconCheck = picture;
    for (int i = 0; i < 4; ++i) command->Menu().AddMenu("Old" + std::to_string(i), Variant("old"), odd);

    MenuPageModel model;
    for (std::size_t i = 0; i < 4; ++i) model.Edit(i).caption = "New" + std::to_string(i);
    model.Edit(0).tag = "zero";
    model.Edit(1).enabled = false, model.Edit(1).visible = false;
    model.Edit(2).checked = -1, model.Edit(2).autoCheck = true, model.Edit(2).radio = -1;
    model.Edit(3).icon = picture, model.Edit(3).iconCheck = picture;
    model.Apply(*command, nullptr);

    MenuPageModel back;
    back.Load(*command);
    ASSERT_EQ(back.Count(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& want = model.Item(i);
        const auto& got = back.Item(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ(got.tag, want.tag);
        EXPECT_EQ(got.enabled, want.enabled);
        EXPECT_EQ(got.visible, want.visible);
        EXPECT_EQ(got.checked, want.checked);
        EXPECT_EQ(got.autoCheck, want.autoCheck);
        EXPECT_EQ(got.radio, want.radio);
        EXPECT_EQ(got.icon, want.icon);
        EXPECT_EQ(got.iconCheck, want.iconCheck);
    }
}

TEST_F(MenuPageTest, AHundredAndFiftyItemsAndAStrayCursorSurviveTheFormFile) {
    for (int i = 0; i < 150; ++i)
        command->Menu().AddMenu((i % 10 ? ">" : "") + std::string("Item ") + std::to_string(i), Variant("k" + std::to_string(i)));
    command->Menu().Items()[149].AutoCheck = true;
    command->Menu().Items()[120].Enabled = false;
    const std::string path = (FreshDir("big") / "big.json").string();
    host::SaveFormFile(*designed, path);
    // A form file whose cursor lies beyond the list.
    {
        std::ifstream in(path);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        const auto at = text.find("\"MenuItems\": 149");
        ASSERT_NE(at, std::string::npos);
        text.insert(at, "\"MenuItem\": 400, ");
        std::ofstream(path) << text;
    }
    auto loaded = host::LoadFormFile(path, true);
    auto cmd = std::static_pointer_cast<controls::Command>(loaded->Find(command->Name()));
    ASSERT_NE(cmd, nullptr);
    ASSERT_EQ(cmd->Menu().MenuItem(), 400);
    MenuPageModel model;
    model.Load(*cmd);
    ASSERT_EQ(model.Count(), 150u) << "the page grows past 101 items";
    EXPECT_EQ(model.Item(0).caption, "Item 0");
    EXPECT_EQ(model.Item(149).caption, ">Item 149") << "each line reads its own item";
    model.Remove(5);
    model.Apply(*cmd, nullptr);
    host::SaveFormFile(*loaded, path);
    loaded->Discard();

    auto again = host::LoadFormFile(path, true);
    auto back = std::static_pointer_cast<controls::Command>(again->Find(command->Name()));
    const auto& items = back->Menu().Items();
    ASSERT_EQ(items.size(), 149u) << "nothing lost, and the removed item does not come back";
    EXPECT_EQ(items[5].Caption, ">Item 6");
    EXPECT_EQ(items[148].Caption, ">Item 149");
    EXPECT_EQ(items[148].Tag.ToString(), "k149");
    EXPECT_TRUE(items[148].AutoCheck);
    EXPECT_FALSE(items[119].Enabled);
    again->Discard();
}

TEST_F(MenuPageTest, ClicksAndTypingEditTheLinesAndApplyWritesThem) {
    AddItems({"File", ">Open", "Exit"});
    MenuPage& p = OpenPage();
    auto& list = Get<host::ListBox>("lstMenu");
    auto& caption = Get<host::TextBox>("txtMenuCaption");
    ASSERT_EQ(list.ListCount(), 4);
    EXPECT_EQ(list.List(1), "    Open");
    EXPECT_EQ(list.List(3), "") << "the list ends with an empty line";

    Play(ClickLine(1));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(caption.Text(), ">Open");
    EXPECT_FALSE(p.Changed());

    // Typing into the empty last line makes it an item and adds a new empty line.
    Play(ClickLine(3) + ClickOn("txtMenuCaption") + "key press Q\nkey press U\nkey press I\nkey press T\n"
         "key press VK_BACK\nkey press T\n" + ClickOn("chkMenuChecked") + ClickOn("txtMenuTag") + "key press Q\n");
    EXPECT_EQ(caption.Text(), "quit");
    EXPECT_EQ(list.ListCount(), 5);
    EXPECT_EQ(list.List(3), "quit");
    ASSERT_EQ(p.Model().Count(), 4u);
    EXPECT_EQ(p.Model().Item(3).checked, 1);
    EXPECT_EQ(p.Model().Item(3).tag, "q");
    EXPECT_TRUE(p.Changed());

    // Shift and the full stop give ">": the second line goes one level down.
    Play(ClickLine(2) + ClickOn("txtMenuCaption") + "key down VK_HOME\nkey up VK_HOME\n"
         "key down VK_SHIFT\nkey press VK_OEM_PERIOD\nkey up VK_SHIFT\n");
    EXPECT_EQ(caption.Text(), "Exit>") << "typing goes at the end";
    Play("key press VK_BACK\n");

    // Insert puts an empty item at the selected line; Remove takes the selected line away.
    Play(ClickLine(0) + ClickOn("cmdInsert"));
    EXPECT_EQ(list.List(0), "");
    EXPECT_EQ(list.List(1), "File");
    EXPECT_EQ(p.Model().Count(), 5u);
    EXPECT_TRUE(p.Model().Item(0).enabled && p.Model().Item(0).visible);
    Play(ClickLine(2) + ClickOn("cmdRemove"));
    EXPECT_EQ(list.List(2), "Exit");
    EXPECT_EQ(p.Model().Count(), 4u);
    Play(ClickLine(4) + ClickOn("cmdRemove"));
    EXPECT_EQ(list.ListCount(), 5) << "the empty last line cannot be removed";

    // Unchecking Enabled on File, then applying: the empty inserted line is not written.
    Play(ClickLine(1) + ClickOn("chkMenuEnabled") + ClickOn("chkWindowList"));
    p.ApplyChanges();
    EXPECT_EQ(Captions(*command), (std::vector<std::string>{"File", "Exit", "quit"}));
    EXPECT_FALSE(command->Menu().Items()[0].Enabled);
    EXPECT_EQ(command->Menu().Items()[2].Checked, 1);
    EXPECT_EQ(command->Menu().Items()[2].Tag.ToString(), "q");
    EXPECT_TRUE(command->Menu().MenuWindowList());
    EXPECT_FALSE(p.Changed());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MenuPageTest, ALongMenuScrollsInThePageListAndGrowsAtItsEnd) {
    for (int i = 0; i < 150; ++i) command->Menu().AddMenu("Item " + std::to_string(i), Variant(std::int32_t{i}));
    MenuPage& p = OpenPage();
    auto& list = Get<host::ListBox>("lstMenu");
    ASSERT_EQ(list.ListCount(), 151);
    EXPECT_EQ(list.TopIndex(), 0);
    // End moves to the empty last line and scrolls it into view; typing there adds item 151.
    Play(ClickLine(2) + "key press VK_END\nwait 50ms\n");
    EXPECT_EQ(list.ListIndex(), 150);
    EXPECT_GT(list.TopIndex(), 120);
    Play(ClickOn("txtMenuCaption") + "key press N\n");
    EXPECT_EQ(p.Model().Count(), 151u);
    EXPECT_EQ(list.ListCount(), 152);
    EXPECT_EQ(list.List(150), "n");
    // A click on the first row shown selects the line scrolled there; the wheel scrolls back.
    const std::int32_t top = list.TopIndex();
    Play(ClickLine(0) + "wheel 120\nwait 50ms\n");
    EXPECT_EQ(list.ListIndex(), top);
    EXPECT_EQ(Get<host::TextBox>("txtMenuCaption").Text(), "Item " + std::to_string(top));
    EXPECT_EQ(list.TopIndex(), top - 3);
    Play("key press VK_HOME\nwait 50ms\n");
    EXPECT_EQ(list.TopIndex(), 0);
    p.ApplyChanges();
    ASSERT_EQ(command->Menu().Items().size(), 151u);
    EXPECT_EQ(command->Menu().Items()[150].Caption, "n");
    EXPECT_EQ(command->Menu().Items()[149].Tag.ToLong(), 149);
}

TEST_F(MenuPageTest, TheChooserRemembersItsFolderAndRefusesFilesThatAreNoPictures) {
    const fs::path pictures = FreshDir("pictures");
    const auto red = MakeIconPicture(RGB(255, 0, 0));
    const auto& bytes = red->FileBytes();
    std::ofstream(pictures / "red.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                                static_cast<std::streamsize>(bytes.size()));
    std::ofstream(pictures / "notes.bmp") << "these are notes, not a picture";
    AddItems({"File"});
    MenuPage& p = OpenPage();
    const std::string home = fs::weakly_canonical(std::getenv("HOME") ? std::getenv("HOME") : ".").string();

    // The first time there is no folder to remember: the home folder.
    Play(ClickOn("cmdIcon", 0));
    ASSERT_TRUE(p.ChooserOpen());
    EXPECT_EQ(p.ChooserFolder(), home);
    Play(ClickOn("cmdBack"));
    EXPECT_FALSE(p.ChooserOpen());

    ASSERT_TRUE(settings->SaveSetting("Vesk", "Quillet", "Path", pictures.string()));
    Play(ClickOn("cmdIcon", 0));
    EXPECT_EQ(p.ChooserFolder(), fs::weakly_canonical(pictures).string());
    auto& files = Get<host::FileListBox>("lst");
    ASSERT_EQ(files.ListCount(), 2);
    TEXTMETRICA tm{};
    GetTextMetricsA(files.hDC(), &tm);
    auto fileLine = [&](int i) { return At(files, 20, i * tm.tmHeight + tm.tmHeight / 2); };
    // notes.bmp (line 0) is no picture: a message, and a double click assigns nothing.
    Play(fileLine(0) + "click left\nwait 100ms\nclick left\nwait 100ms\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find((pictures / "notes.bmp").string()), std::string::npos) << Messages()[0];
    EXPECT_TRUE(p.ChooserOpen());
    EXPECT_EQ(p.Model().Item(0).icon, nullptr);
    // red.bmp (line 1): the double click assigns it, closes the chooser and keeps the folder.
    settings->SaveSetting("Vesk", "Quillet", "Path", "");
    Play(fileLine(1) + "click left\nwait 100ms\nclick left\nwait 100ms\n");
    EXPECT_EQ(Messages().size(), 1u) << Messages().back();
    EXPECT_EQ(files.ListIndex(), 1);
    EXPECT_FALSE(p.ChooserOpen());
    ASSERT_NE(p.Model().Item(0).icon, nullptr);
    EXPECT_EQ(p.Model().Item(0).icon->Type(), host::PictureType::Bitmap);
    EXPECT_EQ(host::SettingsStore(settingsRoot).GetSetting("Vesk", "Quillet", "Path"),
              fs::weakly_canonical(pictures).string())
        << "another process reads the folder back";
    EXPECT_NE(Get<host::Image>("imgIcon", 0).Picture(), nullptr);

    // The check icon: "No picture" gives the item an empty picture.
    Play(ClickOn("cmdIcon", 1) + ClickOn("cmdDelete"));
    ASSERT_NE(p.Model().Item(0).iconCheck, nullptr);
    EXPECT_EQ(p.Model().Item(0).iconCheck->Type(), host::PictureType::None);

    // A remembered folder that has gone opens the home folder.
    fs::remove_all(pictures);
    Play(ClickOn("cmdIcon", 0));
    EXPECT_EQ(p.ChooserFolder(), home);
    // Applying with the chooser open confirms it first (here: the icon it showed).
    p.ApplyChanges();
    EXPECT_FALSE(p.ChooserOpen());
    ASSERT_NE(command->Menu().Items()[0].Icon, nullptr);
    EXPECT_EQ(command->Menu().Items()[0].Icon->Type(), host::PictureType::Bitmap);
}

TEST_F(MenuPageTest, ThePageLooksAsDesigned) {
    AddItems({"&File", ">&New\\tCtrl+N", ">&Open...", ">-", ">>Recent", "E&xit"});
    command->Menu().Items()[1].Checked = 1;
    command->Menu().Items()[1].Icon = MakeIconPicture(RGB(0, 128, 0));
    OpenPage();
    Play(ClickLine(1));
    Canvas canvas(MenuPage::kWidthPx, MenuPage::kHeightPx);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, MenuPage::kWidthPx, MenuPage::kHeightPx, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "menus/menu_page", 40));
}

}  // namespace
}  // namespace brimlox::test
