// brimlox design as a program: bad usage and unreadable files refused with one line; a scripted
// run that draws a control on a new form, saves it with Ctrl+S, and closes it; and a damaged
// file that opens with its problems told.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "apps/app_process.h"
#include "apps/designer/designer.h"
#include "platform/desktop/desktop.h"
#include "platform/host/form_file.h"
#include "platform/host/host_test.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

class DesignCli : public HostTest {};

// Where the program's first design window has its client origin, and the toolbox line of a
// type: the same designer, made in this process on the same screen. The types only tests
// register are not counted.
struct Layout {
    POINT origin{0, 0};
    int line = 0;
};
Layout DesignerLayout(const std::string& path, const std::string& type) {
    desktop::Desktop::Instance().Configure({1440, 960, 15, true});
    Layout layout;
    designer::Designer probe;
    ClientToScreen(probe.Open(path).Form().hWnd(), &layout.origin);
    for (const std::string& t : probe.Tools().Types()) {
        if (t == type) break;
        if (!t.starts_with("Probe")) ++layout.line;
    }
    ++layout.line;  // the pointer comes first
    return layout;
}

TEST_F(DesignCli, AScriptDrawsAControlOnANewFormAndSavesIt) {
    const fs::path dir = fs::path(OutputDir()) / "cli-design";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::map<std::string, std::string> env{{"XDG_CONFIG_HOME", (dir / "config").string()}};
    auto refused = [&](std::vector<std::string> args, const std::string& mention) {
        args.insert(args.begin(), {CliExe(), "design"});
        ProcessResult r = RunProcess(args, env);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(LineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
    };
    refused({}, "give the form file to design");
    refused({"x.json", "--max-time", "0", "--script", "/dev/null"}, "--max-time wants seconds");
    const std::string notJson = (dir / "bad.json").string();
    std::ofstream(notJson) << "{ nope";
    refused({notJson, "--script", "/dev/null"}, "bad JSON");

    // A new form: pick CommandButton by keys in the toolbox (Home, then down to its line), draw
    // it, then Ctrl+S; the file holds the button.
    const std::string form = (dir / "frmNew.json").string();
    const Layout layout = DesignerLayout(form, "CommandButton");
    const POINT o = layout.origin;
    ASSERT_FALSE(fs::exists(form));
    auto at = [&](int x, int y) { return "move " + std::to_string(o.x + x) + " " + std::to_string(o.y + y) + "\n"; };
    const std::string script = (dir / "design.script").string();
    std::string downs;
    for (int i = 0; i < layout.line; ++i) downs += "key press VK_DOWN\n";
    std::ofstream(script) << "move 60 40\nclick left\nkey press VK_HOME\n" << downs << at(20, 20) << "down left\n"
                          << at(60, 40) << at(100, 50) << "up left\nwait 100ms\n"
                          << "key down VK_CONTROL\nkey press S\nkey up VK_CONTROL\nwait 100ms\nscreenshot designer\n";
    ProcessResult r = RunProcess({CliExe(), "design", form, "--script", script, "--out", dir.string()}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::exists(dir / "designer.png"));
    ASSERT_TRUE(fs::exists(form)) << r.out;
    auto saved = host::LoadFormFile(form, true);
    ASSERT_EQ(saved->Controls().size(), 1u);
    EXPECT_EQ(saved->Controls()[0]->TypeName(), "CommandButton");
    EXPECT_EQ(saved->Controls()[0]->Left(), 360) << "20 pixels (300 twips) snap to the nearest grid line";
    saved->Discard();

    // A damaged file opens; its problem is told and printed, and the rest is kept.
    const std::string damaged = (dir / "frmDamaged.json").string();
    std::ofstream(damaged) << R"({"format": "brimlox-form", "version": 2,
      "form": {"Name": "frmDamaged", "Left": 0, "Top": 0, "Width": 4800, "Height": 3600},
      "controls": [
        {"type": "Gadget", "name": "gad", "extender": {"Left": 0, "Top": 0, "Width": 100, "Height": 100}},
        {"type": "Label", "name": "lblKept", "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300}}]})";
    std::ofstream(script) << "wait 100ms\n";
    r = RunProcess({CliExe(), "design", damaged, "--script", script, "--out", dir.string()}, env);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("message: Some of " + damaged + " could not be opened"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Gadget"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace brimlox::test
