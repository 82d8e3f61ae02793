// A tool bar docked by dragging in one run of brimlox comes back docked in the next, through
// the real settings file; pulled off in a later run, it is stored floating at its float size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "apps/app_process.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

// A borderless form of 400 x 300 pixels with a floating 120 x 29 tool bar at (100, 100)
// holding two buttons.
constexpr const char* kDockForm = R"({
  "format": "brimlox-form",
  "version": 1,
  "form": {"Name": "frmDock", "Caption": "Dock", "Left": 0, "Top": 0, "Width": 6000, "Height": 4500,
           "BorderStyle": 0},
  "controls": [
    {"type": "SplitWindow", "name": "tbrTools", "extender": {"Left": 1500, "Top": 1500, "Width": 1800, "Height": 435},
     "bag": {"Active": true, "BorderStyle": 7, "Vertical": false, "Moveable": true, "Dockable": true,
             "FloatHeight": 435, "FloatWidth": 1800, "Sizeable": true, "Style": 1}},
    {"type": "Command", "name": "cmdOne", "container": "tbrTools",
     "extender": {"Left": 195, "Top": 45, "Width": 345, "Height": 345}, "bag": {"ArrowType": 2}},
    {"type": "Command", "name": "cmdTwo", "container": "tbrTools",
     "extender": {"Left": 570, "Top": 45, "Width": 345, "Height": 345}, "bag": {"ArrowType": 1}}
  ]
})";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The stored record of the tool bar, split at its commas; empty when there is none.
std::vector<std::string> StoredBar(const fs::path& config) {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(config, ec)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".lock") continue;
        const auto json = nlohmann::ordered_json::parse(ReadAll(entry.path()), nullptr, false);
        if (json.is_discarded() || !json.contains("sections")) continue;
        for (const auto& [key, value] : json["sections"]["frmDock"].items()) {
            const std::string record = value.get<std::string>();
            if (record.rfind("tbrTools,", 0) != 0) continue;
            std::vector<std::string> fields;
            std::stringstream in(record);
            for (std::string f; std::getline(in, f, ',');) fields.push_back(f.substr(f.find_first_not_of(' ')));
            return fields;
        }
    }
    return {};
}

TEST(CliDockLayout, ADockedToolBarComesBackDockedAndAFloatingOneFloating) {
    const fs::path dir = fs::path(OutputDir()) / "cli-dock-layout";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string form = (dir / "dock.json").string();
    std::ofstream(form) << kDockForm;
    const fs::path config = dir / "config";
    auto run = [&](const std::string& script) {
        const std::string path = (dir / "run.script").string();
        std::ofstream(path) << script;
        return RunProcess({CliExe(), "run", form, "--script", path},
                          {{"XDG_CONFIG_HOME", config.string()}, {"HOME", config.string()}}, {-1, 60});
    };

    // Carried by its grip into the top-left corner, the bar docks to the top.
    ProcessResult first = run("at 100ms move 104 110\ndown left\nat 200ms move 50 50\nat 300ms move 1 1\n"
                              "at 400ms up left\nwait 300ms\n");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("tbrTools Moved"), std::string::npos) << first.out;
    auto docked = StoredBar(config);
    ASSERT_EQ(docked.size(), 14u);
    EXPECT_EQ(docked[11], "1") << "stored docked to the top";
    EXPECT_EQ(docked[3], "0");
    EXPECT_EQ(docked[6], "1800") << "with its float size";
    EXPECT_EQ(docked[7], "435");

    // The next process opens it docked and stores the same.
    ProcessResult second = run("wait 400ms\n");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(StoredBar(config), docked);

    // Pulled off its edge there, it is stored floating where it was dropped, at its float size.
    ProcessResult third = run("at 100ms move 4 14\ndown left\nat 200ms move 150 150\nat 300ms move 200 160\n"
                              "at 400ms up left\nwait 300ms\n");
    ASSERT_EQ(third.status, 0) << third.err;
    auto floating = StoredBar(config);
    ASSERT_EQ(floating.size(), 14u);
    EXPECT_EQ(floating[11], "0");
    EXPECT_EQ(floating[2], std::to_string((200 - 60) * 15));
    EXPECT_EQ(floating[3], std::to_string((160 - 8) * 15));
    EXPECT_EQ(floating[4], "1800");
}

}  // namespace
}  // namespace brimlox::test
