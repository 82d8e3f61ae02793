// The command-line tool on hostile input: files built to crash, hang or exhaust it, and disks
// that fill up. Every run must end by itself with its exit status, exactly one line on standard
// error naming the problem, and no output file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "apps/app_process.h"
#include "platform/gdi/png.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/trace_base64.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = CliExe();
constexpr unsigned kTimeout = 60;  // seconds; a run that takes longer counts as a hang

std::string Write(const std::string& name, const std::string& text) {
    const std::string path = OutputDir() + "/hostile-" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A form file with `controls` (a JSON array's contents) on a form of the given size in twips.
std::string Form(const std::string& controls, int width = 3000, int height = 3000) {
    return R"({"format":"brimlox-form","version":1,"form":{"Name":"frmH","Left":0,"Top":0,"Width":)" +
           std::to_string(width) + R"(,"Height":)" + std::to_string(height) + R"(},"controls":[)" + controls + "]}";
}

std::string Label(const std::string& name, const std::string& bag, const std::string& container = "") {
    return R"({"type":"Label","name":")" + name + "\"" + (container.empty() ? "" : R"(,"container":")" + container + "\"") +
           R"(,"extender":{"Left":0,"Top":0,"Width":900,"Height":300},"bag":)" + bag + "}";
}

ProcessResult Cli(const std::vector<std::string>& args, const ProcessLimits& limits = {-1, kTimeout}) {
    std::vector<std::string> all{kCli};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess(all, {}, limits);
}

// The run ended by itself with `status`, one line on standard error that holds `mention`, and
// left no file at `out` (nor a temporary beside it).
void ExpectRefused(const ProcessResult& r, int status, const std::string& mention, const std::string& out = "") {
    EXPECT_EQ(r.status, status) << r.err.substr(0, 500);
    EXPECT_EQ(LineCount(r.err), 1) << r.err.substr(0, 500);
    EXPECT_NE(r.err.find(mention), std::string::npos) << r.err.substr(0, 500) << "\nexpected: " << mention;
    if (out.empty()) return;
    EXPECT_FALSE(fs::exists(out)) << out;
    for (const auto& entry : fs::directory_iterator(fs::path(out).parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(fs::path(out).filename().string() + "."), std::string::npos)
            << entry.path();
}

TEST(BrimloxCliHostile, HostileFormsAreRefusedWithoutCrashingOrWriting) {
    const std::string out = OutputDir() + "/hostile-out.png";
    fs::remove(out);
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string nested = Write("nested.json", Form(Label("lblDeep", R"({"Caption":)" + deep + "}")));
    for (const char* command : {"check", "render", "run"}) {
        std::vector<std::string> args{command, nested};
        if (std::string(command) == "render") args.insert(args.end(), {"-o", out});
        if (std::string(command) == "run") args.insert(args.end(), {"--script", Write("empty.script", "")});
        ExpectRefused(Cli(args), 2, "controls[0](lblDeep).bag.Caption[0][0]", out);
    }
    // Numbers are range-checked as written, not after wrapping.
    ExpectRefused(Cli({"check", Write("huge-int.json", Form(Label("lblBig", R"({"Caption":18446744073709551615})")))}), 2,
                  "controls[0](lblBig).bag.Caption: integer out of the 32-bit range");
    ExpectRefused(Cli({"check", Write("weight.json", Form(Label("lblW", R"({"Font":{"object":"Font","data":{"Name":"Arial","Size":8,"Weight":4294967296}}})")))}),
                  2, "controls[0](lblW).bag.Font.data.Weight");

    // A valid form too large for a screen at the asked scale: a clear message and exit 1.
    const std::string large = Write("large.json", Form("", 100000, 100000));
    for (const char* scale : {"1", "8"}) {
        ProcessResult r = Cli({"render", large, "-o", out, "--scale", scale});
        ExpectRefused(r, 1, "more than a screen can hold", out);
        EXPECT_NE(r.err.find(std::string("--scale ") + scale), std::string::npos) << r.err;
    }
    ProcessResult fits = Cli({"render", large, "-o", out, "--scale", "60"});
    EXPECT_EQ(fits.status, 0) << fits.err;
    std::string error;
    auto png = gdi::ReadSurfacePng(out, &error);
    ASSERT_NE(png, nullptr) << error;
    EXPECT_NEAR(png->Width(), 100000 / 60, 1);
    fs::remove(out);
}

// The documented limit of controls a form file may hold is reachable: each of them may own a
// window, and the window table has room for all. One more is refused by count.
TEST(BrimloxCliHostile, TheLargestFormFileLoadsAndOneControlMoreIsRefused) {
    auto many = [](int count) {
        std::string controls;
        for (int i = 0; i < count; ++i)
            controls += (i ? "," : "") + std::string(R"({"type":"PictureBox","name":"p)") + std::to_string(i) +
                        R"(","extender":{"Left":0,"Top":0,"Width":15,"Height":15}})";
        return Form(controls);
    };
    ProcessResult r = Cli({"check", Write("most.json", many(100000))});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("with 100000 controls"), std::string::npos) << r.out;
    ExpectRefused(Cli({"check", Write("too-many.json", many(100001))}), 2, "controls: 100001 controls, more than 100000");
}

// Inputs built to exhaust time or memory end quickly with a message instead.
TEST(BrimloxCliHostile, InputsThatWouldExhaustTimeOrMemoryAreBounded) {
    // 20,000 frames each inside the previous: refused by depth at once; 100 levels still load.
    auto frames = [](int count) {
        std::string controls;
        for (int i = 0; i < count; ++i)
            controls += (i ? "," : "") + std::string(R"({"type":"Frame","name":"f)") + std::to_string(i) + "\"" +
                        (i ? R"(,"container":"f)" + std::to_string(i - 1) + "\"" : "") +
                        R"(,"extender":{"Left":15,"Top":15,"Width":3000,"Height":3000}})";
        return Form(controls);
    };
    ExpectRefused(Cli({"check", Write("frames-deep.json", frames(20000))}), 2,
                  "controls[100](f100).container: containers nested deeper than 100 levels");
    ProcessResult r = Cli({"check", Write("frames-100.json", frames(100))});
    EXPECT_EQ(r.status, 0) << r.err;

    // Sixty images sharing one 4096 x 4096 picture: 4 GB decoded. The budget names the image
    // whose picture would pass it.
    const std::string png = OutputDir() + "/hostile-4096.png";
    {
        auto big = gdi::Surface::Create(4096, 4096, gdi::PixelFormat::Bgrx32);
        ASSERT_TRUE(gdi::WriteSurfacePng(*big, png));
    }
    std::ifstream in(png, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::string base64;
    gdi::AppendBase64(base64, bytes.data(), bytes.size());
    std::string images;
    for (int i = 0; i < 60; ++i)
        images += (i ? "," : "") + std::string(R"({"type":"Image","name":"img)") + std::to_string(i) +
                  R"(","extender":{"Left":0,"Top":0,"Width":900,"Height":900},"bag":{"Picture":{"object":"Picture","data":{"base64":")" +
                  base64 + "\"}}}}";
    ExpectRefused(Cli({"check", Write("pictures.json", Form(images))}), 2,
                  "controls[4](img4).bag.Picture.data: the pictures of this file need more than 256 MiB decoded");

    // A tiny trace asking for huge bitmaps is refused by size.
    const std::string out = OutputDir() + "/hostile-huge.png";
    std::string trace = R"({"op":"#trace","version":1,"twips_per_pixel":15,"syscolors":[)";
    for (int i = 0; i < 31; ++i) trace += (i ? "," : "") + std::to_string(i);
    trace += "]}\n";
    for (int i = 0; i < 12; ++i)
        trace += R"({"op":"CreateBitmap","args":[16384,8192,1,32,null],"ret":)" + std::to_string(100 + i) + "}\n";
    ExpectRefused(Cli({"replay", Write("huge.trace", trace), "-o", out}), 2, "larger than this replay allows", out);

    // A script that holds a repeat button and waits a billion seconds stops at the run budget.
    const std::string gallery = SourceDir() + "/forms/gallery.json";
    const std::string script = Write("forever.script", "move 66 45\ndown left\nwait 1000000000s\n");
    r = Cli({"run", gallery, "--script", script, "--max-time", "5"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("stopped after 5 s of virtual time"), std::string::npos) << r.err;
}

// Traces and scripts: malformed or hostile ones are refused in one line; usage errors too.
TEST(BrimloxCliHostile, HostileTracesScriptsAndUsageAreRefusedInOneLine) {
    const std::string out = OutputDir() + "/hostile-replay.png";
    fs::remove(out);
    const std::string header = R"({"op":"#trace","version":1,"twips_per_pixel":15,"syscolors":[)" + [] {
        std::string colours;
        for (int i = 0; i < 31; ++i) colours += (i ? "," : "") + std::to_string(i);
        return colours;
    }() + "]}\n";
    const std::string deep = Write("deep.trace", header + R"({"op":"FillRect","args":)" + std::string(100000, '[') +
                                                     std::string(100000, ']') + "}\n");
    ExpectRefused(Cli({"replay", deep, "-o", out}), 2, "line 2: $.args[0][0]", out);
    const std::string faceless = Write("faceless.trace", header + R"({"op":"CreateFontIndirectA","args":[{"lfHeight":1}],"ret":9})" "\n");
    ExpectRefused(Cli({"replay", faceless, "-o", out}), 2, "CreateFontIndirectA: argument 1 lacks the field", out);
    ExpectRefused(Cli({"replay", OutputDir(), "-o", out}), 2, "is a folder", out);
    ExpectRefused(Cli({"replay"}), 2, "no trace given");
    ExpectRefused(Cli({"replay", deep, "--frob"}), 2, "unknown option '--frob'");
    ExpectRefused(Cli({"replay", deep}), 2, "nothing to do");
    ExpectRefused(Cli({"replay", deep, "-o"}), 2, "-o needs a value");

    // A folder given as the input script is refused, not run as an empty script.
    const std::string form = Write("plain.json", Form(Label("lblP", "{}")));
    ExpectRefused(Cli({"run", form, "--script", OutputDir()}), 2, "is a folder");
}

// A full disk (here the file size limit, as `ulimit -f` sets it) fails every writer with exit
// 1 and leaves neither the picture nor a temporary file; a device target is written, not
// replaced.
TEST(BrimloxCliHostile, FullDiskFailsCleanlyAndDevicesAreNotReplaced) {
    const std::string form = SourceDir() + "/forms/gallery.json";
    const std::string out = OutputDir() + "/hostile-full.png";
    fs::remove(out);
    const ProcessLimits full{2000, kTimeout};
    ExpectRefused(Cli({"render", form, "-o", out}, full), 1, "File too large", out);

    const std::string trace = SourceDir() + "/fuzz/seeds/trace/scene.trace";
    ASSERT_EQ(Cli({"replay", trace, "-o", out}).status, 0);
    ASSERT_TRUE(fs::exists(out));
    const auto before = fs::file_size(out);
    fs::resize_file(out, before);  // the old picture stays as it was when the new one fails
    ProcessResult r = Cli({"replay", trace, "-o", out}, ProcessLimits{64, kTimeout});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(fs::file_size(out), before);
    fs::remove(out);

    const std::string dir = OutputDir() + "/hostile-full-run";
    fs::remove_all(dir);
    const std::string script = Write("shot.script", "wait 10ms\nscreenshot shot\n");
    r = Cli({"run", form, "--script", script, "--out", dir}, full);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir + "/shot.png"));

    // A symbolic link to a device: the device gets the picture, the link stays a link.
    const std::string link = OutputDir() + "/hostile-device.png";
    fs::remove(link);
    fs::create_symlink("/dev/null", link);
    r = Cli({"render", form, "-o", link});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_character_file(link));
    fs::remove(link);
}

}  // namespace
}  // namespace brimlox::test
