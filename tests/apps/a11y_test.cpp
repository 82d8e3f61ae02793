// brimlox a11y: the accessibility tree of the gallery form, compared with the reviewed copy in
// tests/golden/apps/gallery_a11y.json (BRIMLOX_UPDATE_GOLDEN=1 rewrites it), and a bad file
// refused as the other form commands refuse it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "apps/app_process.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

using Json = nlohmann::ordered_json;

// Every node of the tree, depth first, as "role: name".
void Collect(const Json& node, std::vector<std::string>& out) {
    out.push_back(node["role"].get<std::string>() + ": " + node["name"].get<std::string>());
    if (node.contains("children"))
        for (const auto& k : node["children"]) Collect(k, out);
}

TEST(BrimloxA11y, TheGalleryTreeNamesEveryControlWithItsRoleValueStatesAndBounds) {
    const std::string form = SourceDir() + "/forms/gallery.json";
    ProcessResult r = RunProcess({CliExe(), "a11y", form}, {}, {-1, 60});
    ASSERT_EQ(r.status, 0) << r.err;
    Json tree = Json::parse(r.out);
    const std::string golden = SourceDir() + "/tests/golden/apps/gallery_a11y.json";
    const char* update = std::getenv("BRIMLOX_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") std::ofstream(golden) << r.out;
    std::ifstream in(golden);
    ASSERT_TRUE(in) << golden;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(r.out, expected.str());

    // Every control of the file is in the tree once.
    std::ifstream file(form);
    Json formJson = Json::parse(file);
    std::vector<std::string> nodes;
    Collect(tree, nodes);
    EXPECT_EQ(nodes.size(), formJson["controls"].size() + 1);
    EXPECT_EQ(tree["role"], "window");

    r = RunProcess({CliExe(), "a11y", SourceDir() + "/fuzz/seeds/form_file/truncated.json"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("brimlox a11y: "), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace brimlox::test
