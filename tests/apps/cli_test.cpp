// The brimlox command-line tool on good and bad input: exit codes, one line of complaint on
// standard error, no output file after a failure, and render/check on the gallery's forms.
#include "support/paths.h"
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "apps/app_process.h"
#include "platform/gdi/png.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = brimlox::test::CliExe();
const std::string kGalleryForm = brimlox::test::SourceDir() + "/forms/gallery.json";

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The gallery form with one value replaced (the first occurrence of `from`).
std::string BrokenCopy(const std::string& name, const std::string& from, const std::string& to) {
    std::string text = ReadText(kGalleryForm);
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    const std::string path = OutputDir() + "/" + name;
    std::ofstream(path) << text;
    return path;
}

// A failed command: the exit status, one line on standard error mentioning `mention`, nothing
// on standard output, and no output file.
void ExpectRefused(const ProcessResult& r, int status, const std::string& mention, const std::string& out = "") {
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    if (!out.empty()) EXPECT_FALSE(fs::exists(out)) << out;
}

TEST(BrimloxCli, RefusesBadUsageAndBadFormsWithoutWritingAnything) {
    const std::string out = OutputDir() + "/cli-refused.png";
    fs::remove(out);
    ExpectRefused(RunProcess({kCli}), 2, "no command");
    ExpectRefused(RunProcess({kCli, "paint"}), 2, "unknown command 'paint'");
    ExpectRefused(RunProcess({kCli, "render", kGalleryForm, "-o", out, "--zoom", "2"}), 2, "--zoom", out);
    ExpectRefused(RunProcess({kCli, "render", kGalleryForm}), 2, "-o OUT.png", out);
    ExpectRefused(RunProcess({kCli, "render", kGalleryForm, "-o", out, "--scale", "0"}), 2, "--scale", out);
    ExpectRefused(RunProcess({kCli, "render", kGalleryForm, "-o", out, "--scale", "15x"}), 2, "'15x'", out);
    ExpectRefused(RunProcess({kCli, "render", OutputDir() + "/missing.json", "-o", out}), 2, "missing.json: no such file",
                  out);
    ExpectRefused(RunProcess({kCli, "render", kGalleryForm, "-o"}), 2, "-o needs a value", out);

    // A bad value is named by its JSON path and the control's name.
    const std::string badLeft = BrokenCopy("cli-bad-left.json", "\"Left\": 180", "\"Left\": \"far\"");
    ExpectRefused(RunProcess({kCli, "render", badLeft, "-o", out}), 2, "controls[1](picNotes).extender.Left", out);
    ExpectRefused(RunProcess({kCli, "check", badLeft}), 2, "controls[1](picNotes).extender.Left");
    const std::string badType = BrokenCopy("cli-bad-type.json", "\"type\": \"ScrollBar\"", "\"type\": \"Slider\"");
    ExpectRefused(RunProcess({kCli, "check", badType}), 2, "Slider");
    const std::string notJson = OutputDir() + "/cli-not-json.json";
    std::ofstream(notJson) << "{\"format\": \"brimlox-form\", \"version\": 1, ";
    ExpectRefused(RunProcess({kCli, "render", notJson, "-o", out}), 2, "cli-not-json.json", out);
    ExpectRefused(RunProcess({kCli, "run", kGalleryForm, "--script", OutputDir() + "/missing.script"}), 2,
                  "missing.script");

    // An output that cannot be written is a runtime failure: a missing folder, or a folder in
    // the way of the picture, where the finished temporary file is removed again.
    ProcessResult unwritable = RunProcess({kCli, "render", kGalleryForm, "-o", OutputDir() + "/no-dir/x.png"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(LineCount(unwritable.err), 1) << unwritable.err;
    const std::string blocked = OutputDir() + "/cli-blocked.png";
    fs::create_directories(blocked);
    ProcessResult inTheWay = RunProcess({kCli, "render", kGalleryForm, "-o", blocked});
    EXPECT_EQ(inTheWay.status, 1);
    EXPECT_EQ(LineCount(inTheWay.err), 1) << inTheWay.err;
    EXPECT_TRUE(fs::is_directory(blocked));
    for (const auto& entry : fs::directory_iterator(OutputDir()))
        EXPECT_EQ(entry.path().filename().string().find(".cli-blocked.png"), std::string::npos) << entry.path();
}

TEST(BrimloxCli, RendersTheFrameUnlessAskedForTheClientAreaAlone) {
    const std::string volume = brimlox::test::SourceDir() + "/examples/volume.json";
    const std::string out = OutputDir() + "/cli-volume.png";
    std::string error;
    ProcessResult r = RunProcess({kCli, "render", volume, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    auto framed = gdi::ReadSurfacePng(out, &error);
    ASSERT_NE(framed, nullptr) << error;
    EXPECT_EQ(framed->Width(), 320);
    EXPECT_EQ(framed->Height(), 161);
    // The raised border's outer light row, then the active caption beginning in its colour.
    EXPECT_EQ(gdi::ToColorRef(framed->Get(100, 1)), RGB(255, 255, 255));
    EXPECT_EQ(gdi::ToColorRef(framed->Get(4, 10)), RGB(10, 36, 106));
    r = RunProcess({kCli, "render", volume, "-o", out, "--no-frame"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto client = gdi::ReadSurfacePng(out, &error);
    ASSERT_NE(client, nullptr) << error;
    EXPECT_EQ(client->Width(), 312);
    EXPECT_EQ(client->Height(), 134) << "the client area the file was laid out for";
    EXPECT_EQ(client->Get(5, 5), framed->Get(9, 28)) << "the same pixels, without the frame";
}

TEST(BrimloxCli, RendersAndChecksTheGalleryFormAtAnyScale) {
    const std::string out = OutputDir() + "/cli-gallery.png";
    fs::remove(out);
    ProcessResult r = RunProcess({kCli, "render", kGalleryForm, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string error;
    auto normal = gdi::ReadSurfacePng(out, &error);
    ASSERT_NE(normal, nullptr) << error;
    // The 664 x 816 client area the form was laid out for, in a sizing border and a caption.
    EXPECT_EQ(normal->Width(), 672);
    EXPECT_EQ(normal->Height(), 843);
    // Button face at the plain button, window white in the first document window.
    EXPECT_EQ(gdi::ToColorRef(normal->Get(44, 63)), RGB(212, 208, 200));
    EXPECT_EQ(gdi::ToColorRef(normal->Get(604, 293)), RGB(255, 255, 255));

    r = RunProcess({kCli, "render", kGalleryForm, "-o", out, "--scale", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto large = gdi::ReadSurfacePng(out, &error);
    ASSERT_NE(large, nullptr) << error;
    // The twips of the form scale, the frame (5 pixels) and caption (28) follow the metrics of
    // that scale, so the client area starts at 5, 33.
    EXPECT_EQ(large->Width(), 1008);
    EXPECT_EQ(large->Height(), 1264);
    EXPECT_EQ(gdi::ToColorRef(large->Get(905, 438)), RGB(255, 255, 255));

    r = RunProcess({kCli, "check", kGalleryForm});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("ok: form frmGallery"), std::string::npos) << r.out;
    const std::string stray = BrokenCopy("cli-stray.json", "\"Left\": 180", "\"Left\": 90000");
    r = RunProcess({kCli, "check", stray});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("controls[1](picNotes): lies outside its container"), std::string::npos) << r.err;

    for (const char* command : {"render", "run", "check", "replay"}) {
        r = RunProcess({kCli, command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.out.find(std::string("usage: brimlox ") + command), std::string::npos) << command;
    }
}

TEST(BrimloxCli, RunPlaysAScriptAndPrintsTheEventsRaised) {
    const std::string dir = OutputDir() + "/cli-run";
    fs::remove_all(dir);
    const std::string script = OutputDir() + "/cli-run.script";
    // Centre of the plain button (its frame at 8, 8, the button at 12, 22 of 92 x 30, in a
    // client area that starts at 4, 23 inside the form's sizing border and caption).
    std::ofstream(script) << "move 70 68\nclick left\nwait 100ms\nscreenshot pressed\n";
    ProcessResult r = RunProcess({kCli, "run", kGalleryForm, "--script", script, "--out", dir});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("cmdPlain MouseDown 1 0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cmdPlain Click\n"), std::string::npos) << r.out;
    EXPECT_LT(r.out.find("cmdPlain MouseDown"), r.out.find("cmdPlain Click")) << r.out;
    EXPECT_TRUE(fs::exists(dir + "/pressed.png"));
}

}  // namespace
}  // namespace brimlox::test
