// brimlox menu-edit: the Menu page opened on a form file's control under an input script,
// applied with OK (level corrections told and printed), and the form file saved and read back;
// controls without a menu and missing names are refused with one line.
#include "support/paths.h"
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "apps/app_process.h"
#include "controls/command/command.h"
#include "menus/editor/menu_page.h"
#include "platform/host/form_file.h"
#include "platform/host/host_test.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

const char* const kForm = R"({
  "format": "brimlox-form",
  "version": 1,
  "form": {"Name": "frmEdit", "Caption": "Edit", "Left": 0, "Top": 0, "Width": 4500, "Height": 3000},
  "controls": [
    {"type": "Label", "name": "lblNote", "extender": {"Left": 120, "Top": 120, "Width": 2000, "Height": 300}},
    {"type": "Command", "name": "cmdFile", "extender": {"Left": 120, "Top": 600, "Width": 1500, "Height": 450},
     "bag": {"Caption": "File", "MenuItems": 2, "MenuTag0": "a", "MenuCaption0": ">Bad",
             "MenuTag1": "b", "MenuCaption1": "Open", "MenuTag2": "c", "MenuCaption2": "Exit"}}
  ]
}
)";

class MenuEditCli : public HostTest {};

// The client origin of the page's frame (a fixed dialog at the screen's origin).
POINT PageOrigin() {
    auto probe = host::Form::Create("frmProbe");
    probe->SetBorderStyle(3);
    probe->Move(0, 0, 6000, 6000);
    POINT origin{0, 0};
    ClientToScreen(probe->hWnd(), &origin);
    probe->Discard();
    return origin;
}

TEST_F(MenuEditCli, ThePageEditsAControlOfAFormFileAndSavesItWhole) {
    const fs::path dir = fs::path(OutputDir()) / "cli-menu-edit";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string form = (dir / "edit.json").string();
    std::ofstream(form) << kForm;
    const std::map<std::string, std::string> env{{"XDG_CONFIG_HOME", (dir / "config").string()}};

    auto refused = [&](std::vector<std::string> args, const std::string& mention) {
        args.insert(args.begin(), {CliExe(), "menu-edit"});
        ProcessResult r = RunProcess(args, env);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(LineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
    };
    refused({form, "lblNote", "--script", "/dev/null"}, "lblNote is a Label");
    refused({form, "cmdNone", "--script", "/dev/null"}, "no control named 'cmdNone'");
    refused({form}, "give a form file and the name of a control");
    refused({(dir / "missing.json").string(), "cmdFile", "--script", "/dev/null"}, "no such file");

    // Type "z" into the tag of the first line, then OK: the first caption is corrected.
    const POINT o = PageOrigin();
    auto at = [&](int x, int y) { return "move " + std::to_string(o.x + x) + " " + std::to_string(o.y + y) + "\n"; };
    const std::string script = (dir / "edit.script").string();
    std::ofstream(script) << at(356, 44) << "click left\nwait 50ms\nkey press Z\nwait 50ms\nscreenshot page\n"
                          << at(224, 318) << "click left\nwait 200ms\n";
    ProcessResult r = RunProcess({CliExe(), "menu-edit", form, "cmdFile", "--script", script, "--out", dir.string()}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("saved cmdFile with 3 menu item(s)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("message: Menu entry >Bad skipped a level. Entry changed to level 0"), std::string::npos)
        << r.out;
    EXPECT_TRUE(fs::exists(dir / "page.png"));

    auto loaded = host::LoadFormFile(form, true);
    auto cmd = std::static_pointer_cast<controls::Command>(loaded->Find("cmdFile"));
    ASSERT_EQ(cmd->Menu().Items().size(), 3u);
    EXPECT_EQ(cmd->Menu().Items()[0].Caption, "Bad");
    EXPECT_EQ(cmd->Menu().Items()[0].Tag.ToString(), "az");
    EXPECT_EQ(cmd->Menu().Items()[2].Caption, "Exit");
    EXPECT_EQ(loaded->Find("lblNote")->Name(), "lblNote") << "the rest of the form is kept";
    loaded->Discard();
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_FALSE(entry.path().filename().string().starts_with("edit.json.")) << "no temporary file is left";
}

}  // namespace
}  // namespace brimlox::test
