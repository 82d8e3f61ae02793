// `brimlox describe`: the reference it prints from the published type information, and the
// generated docs/controls/<Type>.md, which must be exactly what it prints today.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "apps/app_process.h"
#include "controls/library.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Describe, TheGeneratedReferenceInDocsIsUpToDate) {
    std::vector<std::string> types = controls::LibraryControlTypes();
    for (const auto& c : controls::LibraryClasses()) types.push_back(c);
    ProcessResult list = RunProcess({CliExe(), "describe", "--list"});
    ASSERT_EQ(list.status, 0) << list.err;
    std::string expectedList;
    for (const auto& t : types) expectedList += t + "\n";
    EXPECT_EQ(list.out, expectedList);
    for (const auto& type : types) {
        ProcessResult r = RunProcess({CliExe(), "describe", type});
        ASSERT_EQ(r.status, 0) << type << ": " << r.err;
        EXPECT_EQ(r.out, ReadText(SourceDir() + "/docs/controls/" + type + ".md"))
            << "docs/controls/" << type << ".md is stale: run bash scripts/docs.sh";
    }
}

TEST(Describe, TellsTypesDefaultsValuesAndBagKeysAndRefusesUnknownTypes) {
    ProcessResult r = RunProcess({CliExe(), "describe", "ScrollBar"});
    ASSERT_EQ(r.status, 0) << r.err;
    // A value bounded by two other properties, an enumeration, a bag key, an event.
    EXPECT_NE(r.out.find("| Value | Long | 0 | Min to Max | Value | get, let |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("| Font3D | Integer |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("| Change |"), std::string::npos);
    EXPECT_EQ(r.out.find("## Menu caption grammar"), std::string::npos) << "a scroll bar has no menu";

    r = RunProcess({CliExe(), "describe", "Command"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("| Caption | String |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("## Menu caption grammar"), std::string::npos);

    r = RunProcess({CliExe(), "describe", "HiddenBuffer"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("CreateObject(\"Brimlox.HiddenBuffer\")"), std::string::npos) << r.out;

    r = RunProcess({CliExe(), "describe", "Nope"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown type 'Nope' (the library's types: Command, "), std::string::npos) << r.err;
    EXPECT_EQ(RunProcess({CliExe(), "describe"}).status, 2);
    EXPECT_EQ(RunProcess({CliExe(), "describe", "Command", "ScrollBar"}).status, 2);
}

}  // namespace
}  // namespace brimlox::test
