// The README's "A first form": its C++ is the example program in the tree, which runs
// headless without a display, and the form file it writes is the one the README shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <nlohmann/json.hpp>

#include "apps/app_process.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first fenced block of `language` after the README heading `heading`.
std::string ReadmeBlock(const std::string& heading, const std::string& language) {
    const std::string readme = ReadText(SourceDir() + "/README.md");
    const auto start = readme.find("\n" + heading + "\n");
    if (start == std::string::npos) return "";
    const std::string fence = "```" + language + "\n";
    const auto open = readme.find(fence, start);
    if (open == std::string::npos) return "";
    const auto body = open + fence.size();
    return readme.substr(body, readme.find("```", body) - body);
}

TEST(ReadmeFirstForm, TheExampleIsTheProgramInTheTreeAndWritesTheFormFileShown) {
    const std::string code = ReadmeBlock("## A first form", "cpp");
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code, ReadText(SourceDir() + "/examples/first_form.cpp")) << "the README shows the example as it is";

    // Without a display the program runs its form headless and ends by itself.
    const std::string dir = OutputDir() + "/first-form";
    fs::remove_all(dir);
    fs::create_directories(dir);
    ProcessResult r = RunProcess({"/bin/sh", "-c", "cd '" + dir + "' && exec '" + FirstFormExe() + "'"},
                                 {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    // With a display named but none answering, Run() tries the window, says why there is none
    // and runs headless all the same.
    fs::remove(dir + "/hello.json");
    r = RunProcess({"/bin/sh", "-c", "cd '" + dir + "' && exec '" + FirstFormExe() + "'"},
                   {{"DISPLAY", ":97"}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", "dummy"}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("no window (no display answers"), std::string::npos) << r.err;

    const std::string shown = ReadmeBlock("## A first form", "json");
    ASSERT_FALSE(shown.empty());
    const auto readme = nlohmann::ordered_json::parse(shown, nullptr, false);
    ASSERT_FALSE(readme.is_discarded()) << shown;
    const auto written = nlohmann::ordered_json::parse(ReadText(dir + "/hello.json"), nullptr, false);
    ASSERT_FALSE(written.is_discarded());
    EXPECT_EQ(readme, written) << "written:\n" << written.dump(2);
}

}  // namespace
}  // namespace brimlox::test
