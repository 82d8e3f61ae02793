// brimlox check on doubtful form files: a refused value is named by its bag key, and values
// the loader accepts but that are most likely mistakes are warned about, one line each.
#include <gtest/gtest.h>

#include <fstream>

#include "apps/app_process.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

const std::string kCli = brimlox::test::CliExe();

std::string WriteForm(const std::string& name, const std::string& bags) {
    const std::string path = OutputDir() + "/" + name;
    std::ofstream(path) << R"({"format": "brimlox-form", "version": 1,
  "form": {"Name": "frmCheck", "Left": 0, "Top": 0, "Width": 6000, "Height": 3000},
  "controls": [)" << bags << "]}\n";
    return path;
}

TEST(BrimloxCheck, NamesTheRefusedKeyAndWarnsAboutUnknownKeysKindsAndRanges) {
    const std::string refused = WriteForm("check-refused.json", R"(
    {"type": "Command", "name": "cmdA", "extender": {"Left": 0, "Top": 0, "Width": 1200, "Height": 375},
     "bag": {"Caption": "A", "Toggle": "often"}})");
    ProcessResult r = RunProcess({kCli, "check", refused});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("controls[0](cmdA).bag.Toggle: refused while loading: Type mismatch"), std::string::npos)
        << r.err;

    const std::string doubtful = WriteForm("check-doubtful.json", R"(
    {"type": "Command", "name": "cmdA", "extender": {"Left": 0, "Top": 0, "Width": 1200, "Height": 375},
     "bag": {"Captoin": "Save", "ArrowType": 77, "BevelOuter": 4}},
    {"type": "Command", "name": "cmdB", "extender": {"Left": 0, "Top": 600, "Width": 1200, "Height": 375},
     "bag": {"Caption": 42}},
    {"type": "ScrollBar", "name": "sbrA", "extender": {"Left": 0, "Top": 1200, "Width": 3000, "Height": 255},
     "bag": {"Max": 100, "Value": 150}})");
    r = RunProcess({kCli, "check", doubtful});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("ok: form frmCheck with 3 controls, 4 warning(s)"), std::string::npos) << r.out;
    const std::string prefix = "brimlox check: warning: " + doubtful + ": ";
    for (const std::string line : {
             "controls[0](cmdA).bag.Captoin: unknown key: a Command does not read it",
             "controls[0](cmdA).bag.ArrowType: 77 is not a value of ArrowType (0 NoArrow, 1 ArrowDown,",
             "controls[1](cmdB).bag.Caption: expected a string, not 42",
             "controls[2](sbrA).bag.Value: 150 is outside the Min to Max (0 to 100)"})
        EXPECT_NE(r.err.find(prefix + line), std::string::npos) << line << "\n" << r.err;
    EXPECT_EQ(LineCount(r.err), 4) << r.err;
}

}  // namespace
}  // namespace brimlox::test
