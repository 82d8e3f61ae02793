// brimlox run keeps the layout of a form that holds a SplitWindow in a real settings file from
// one process to the next, and --reset-layout puts the form back as designed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "apps/app_process.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

// A borderless form of 400 x 300 pixels with a 300 x 200 splitter at its origin holding two
// picture boxes; once active its gap covers pixels 148 to 150.
constexpr const char* kLayoutForm = R"({
  "format": "brimlox-form",
  "version": 1,
  "form": {"Name": "frmLayout", "Caption": "Layout", "Left": 0, "Top": 0, "Width": 6000, "Height": 4500,
           "BorderStyle": 0},
  "controls": [
    {"type": "SplitWindow", "name": "splMain", "extender": {"Left": 0, "Top": 0, "Width": 4500, "Height": 3000},
     "bag": {"Active": true}},
    {"type": "PictureBox", "name": "picLeft", "container": "splMain",
     "extender": {"Left": 45, "Top": 45, "Width": 2175, "Height": 2910}, "bag": {"BackColor": 16777215}},
    {"type": "PictureBox", "name": "picRight", "container": "splMain",
     "extender": {"Left": 2265, "Top": 45, "Width": 2190, "Height": 2910}, "bag": {"BackColor": 16777215}}
  ]
})";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The one settings file under `config`, whole; empty when there is none.
std::string StoredLayout(const fs::path& config) {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(config, ec))
        if (entry.is_regular_file() && entry.path().extension() != ".lock") return ReadAll(entry.path());
    return "";
}

class CliLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder per test: ctest runs the tests of this suite side by side.
        dir = fs::path(OutputDir()) / "cli-layout" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        form = (dir / "layout.json").string();
        std::ofstream(form) << kLayoutForm;
    }

    ProcessResult Run(const std::string& script, const fs::path& config, bool reset = false) {
        const std::string scriptPath = (dir / "run.script").string();
        std::ofstream(scriptPath) << script;
        std::vector<std::string> args = {CliExe(), "run", form, "--script", scriptPath};
        if (reset) args.push_back("--reset-layout");
        return RunProcess(args, {{"XDG_CONFIG_HOME", config.string()}, {"HOME", config.string()}}, {-1, 60});
    }

    fs::path dir;
    std::string form;
};

TEST_F(CliLayoutTest, ALayoutDraggedInOneRunComesBackInTheNextUntilReset) {
    const fs::path config = dir / "config";
    const std::string drag = "at 100ms move 150 100\ndown left\nat 200ms move 210 100\nup left\nwait 300ms\n";
    const std::string idle = "wait 500ms\n";

    // The designed layout, as a first run without a drag keeps it.
    ProcessResult designed = Run(idle, dir / "fresh");
    ASSERT_EQ(designed.status, 0) << designed.err;
    const std::string asDesigned = StoredLayout(dir / "fresh");
    ASSERT_NE(asDesigned.find("picLeft"), std::string::npos) << asDesigned;

    ProcessResult first = Run(drag, config);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("splMain Changed"), std::string::npos) << first.out;
    const std::string dragged = StoredLayout(config);
    EXPECT_NE(dragged, asDesigned) << "the drag is in the stored layout";

    // The second process opens the form as the first left it and keeps it so.
    ProcessResult second = Run(idle, config);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(StoredLayout(config), dragged);

    ProcessResult reset = Run(idle, config, true);
    ASSERT_EQ(reset.status, 0) << reset.err;
    EXPECT_EQ(StoredLayout(config), asDesigned) << "--reset-layout opens the form as designed";
}

TEST_F(CliLayoutTest, HostileStoredRecordsLeaveTheFormAtItsDesignedLayout) {
    const fs::path config = dir / "config";
    ASSERT_EQ(Run("wait 200ms\n", config).status, 0);
    const std::string asDesigned = StoredLayout(config);
    // Records of the wrong length, huge numbers, controls that do not exist, a cycle of
    // containers, and a control put into itself.
    fs::path file;
    for (const auto& entry : fs::recursive_directory_iterator(config))
        if (entry.is_regular_file() && entry.path().extension() != ".lock") file = entry.path();
    ASSERT_FALSE(file.empty());
    auto json = nlohmann::ordered_json::parse(ReadAll(file));
    auto& section = json["sections"]["frmLayout"];
    ASSERT_TRUE(section.contains("Window3")) << json.dump(2);
    section["Window1"] = "picLeft, 0, 1e300, 5";
    section["Window2"] = "picRight, 0, 99999999999, 0, 300, 300, 0, 0, 0, 0, 0, 0, frmLayout, 0";
    section["Window3"] = "picGhost, 0, 0, 0, 300, 300, 0, 0, 0, 0, 0, 0, frmLayout, 0";
    section["Window4"] = "splMain, 0, 0, 0, 4500, 3000, 4500, 3000, 0, 0, 1, 9, picLeft, 0";
    section["Window5"] = "picLeft, 0, 45, 45, 2175, 2910, 0, 0, 0, 0, 0, 0, picLeft, 0";
    std::ofstream(file) << json.dump(2);
    ProcessResult r = Run("wait 200ms\n", config);
    EXPECT_EQ(r.status, 0) << r.err;
    // The bad records were skipped or refused control by control: the form came up, and the
    // layout saved at its end is the designed one.
    EXPECT_EQ(StoredLayout(config), asDesigned);
}

TEST_F(CliLayoutTest, ARestoreNeverLeavesAControlSizelessOrOutOfItsContainer) {
    const fs::path config = dir / "config";
    ASSERT_EQ(Run("wait 200ms\n", config).status, 0);
    fs::path file;
    for (const auto& entry : fs::recursive_directory_iterator(config))
        if (entry.is_regular_file() && entry.path().extension() != ".lock") file = entry.path();
    auto json = nlohmann::ordered_json::parse(ReadAll(file));
    auto& section = json["sections"]["frmLayout"];
    // The form far off a screen of another size, the splitter sizeless and far away.
    section["Form"] = "90000, -5000, 6000, 4500, 0";
    section["Window1"] = "splMain, 0, 70000, 90000, 0, 0, 4500, 3000, 0, 0, 1, 0, frmLayout, 0";
    std::ofstream(file) << json.dump(2);
    ASSERT_EQ(Run("wait 200ms\n", config).status, 0);
    json = nlohmann::ordered_json::parse(StoredLayout(config));
    EXPECT_EQ(json["sections"]["frmLayout"]["Form"], "0, 0, 6000, 4500, 0") << "on the screen";
    EXPECT_EQ(json["sections"]["frmLayout"]["Window1"],
              "splMain, 0, 1500, 1500, 4500, 3000, 4500, 3000, 0, 0, 1, 0,frmLayout, 0")
        << "its own size, inside the form's 6000 x 4500";
}

}  // namespace
}  // namespace brimlox::test
