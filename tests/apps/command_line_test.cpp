// The command-line parser both programs use, and the --version both print.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "apps/app_process.h"
#include "apps/common/command_line.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

using apps::CommandLine;
using apps::OptionRule;

const OptionRule kOptions[] = {{"--out", true}, {"-o", true}, {"--scale", true}, {"--headless", false}};

// Parses `args`; returns the problem, or "" with the result in `line`.
std::string Parse(CommandLine& line, std::initializer_list<const char*> args) {
    std::vector<const char*> v(args);
    auto problem = line.Parse(v, kOptions);
    return problem.value_or("");
}

TEST(CommandLine, TakesValuesSeparateOrAfterAnEqualsSignAndKeepsPositionalArguments) {
    CommandLine line;
    ASSERT_EQ(Parse(line, {"form.json", "--out", "a dir", "--scale=10", "--headless", "-o", "-", "-", "--", "--x"}), "");
    EXPECT_EQ(line.Value("--out"), "a dir");
    EXPECT_EQ(line.Value("--scale"), "10");
    EXPECT_EQ(line.Value("-o"), "-") << "a value may look like an option";
    EXPECT_TRUE(line.Has("--headless"));
    EXPECT_EQ(line.Positional(), (std::vector<std::string>{"form.json", "-", "--x"}));
    EXPECT_FALSE(line.Has("--nothing"));
    EXPECT_EQ(line.Value("--nothing", "fallback"), "fallback");

    // An empty value after '=' is a value; a value with '=' in it keeps it.
    ASSERT_EQ(Parse(line, {"--out=", "--scale=a=b"}), "");
    EXPECT_TRUE(line.Has("--out"));
    EXPECT_EQ(line.Value("--out", "unset"), "");
    EXPECT_EQ(line.Value("--scale"), "a=b");
}

TEST(CommandLine, RefusesRepeatedUnknownAndIncompleteOptionsByName) {
    CommandLine line;
    EXPECT_EQ(Parse(line, {"--out", "a", "--out", "b"}), "--out is given more than once");
    EXPECT_EQ(Parse(line, {"--out=a", "--out", "b"}), "--out is given more than once") << "either spelling";
    EXPECT_EQ(Parse(line, {"--headless", "--headless"}), "--headless is given more than once");
    EXPECT_EQ(Parse(line, {"--frob"}), "unknown option '--frob'");
    EXPECT_EQ(Parse(line, {"--frob=1"}), "unknown option '--frob'");
    EXPECT_EQ(Parse(line, {"-x"}), "unknown option '-x'");
    EXPECT_EQ(Parse(line, {"-o=file"}), "unknown option '-o=file'") << "one-letter options take the next argument";
    EXPECT_EQ(Parse(line, {"form.json", "--out"}), "--out needs a value");
    EXPECT_EQ(Parse(line, {"--headless=yes"}), "--headless takes no value");
    // A refused line leaves nothing of an earlier parse behind.
    EXPECT_TRUE(line.Positional().empty() && !line.Has("--out"));
}

TEST(CommandLine, BothProgramsUseItAndPrintTheProjectVersion) {
    for (const std::string& exe : {CliExe(), GalleryExe()}) {
        ProcessResult r = RunProcess({exe, "--version"});
        EXPECT_EQ(r.status, 0) << exe << r.err;
        const std::string name = exe == CliExe() ? "brimlox" : "brimlox-gallery";
        EXPECT_EQ(r.out, name + " " + BRIMLOX_PROJECT_VERSION + "\n");
    }
    ProcessResult r = RunProcess({GalleryExe(), "--out=a", "--out", "b"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--out is given more than once"), std::string::npos) << r.err;
    r = RunProcess({CliExe(), "render", "x.json", "--scale=10", "--scale", "20", "-o", "x.png"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--scale is given more than once"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace brimlox::test
