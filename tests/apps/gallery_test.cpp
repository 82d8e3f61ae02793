// The gallery as a user runs it: headless (every scene and tour picture written, the tour's
// input visibly changing the form), and under a real X display through xvfb-run with an input
// script whose screenshot is compared with a golden image.
#include "support/paths.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "apps/app_process.h"
#include "platform/gdi/png.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

const std::string kGallery = brimlox::test::GalleryExe();

std::string FreshDir(const std::string& name) {
    const std::string dir = OutputDir() + "/" + name;
    fs::remove_all(dir);
    return dir;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The gallery's forms stand framed at the screen's origin: their client area begins inside the
// sizing border (4 pixels) and below the caption (19). `Client` maps a rectangle of the client
// area to the screen.
constexpr int kClientX = 4, kClientY = 23;
RECT Client(RECT r) { return RECT{r.left + kClientX, r.top + kClientY, r.right + kClientX, r.bottom + kClientY}; }

// How many pixels of a rectangle differ between two pictures of the same size.
int DifferingPixels(const gdi::Surface& a, const gdi::Surface& b, RECT r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += a.Get(x, y) != b.Get(x, y);
    return n;
}

TEST(GalleryApp, HeadlessWritesEverySceneAndTheTourChangesTheForm) {
    const std::string dir = FreshDir("gallery-headless");
    ProcessResult r = RunProcess({kGallery, "--headless", "--out", dir});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    // Every picture the index shows exists and is a PNG; the index names the platform scenes
    // and the tour of the form alike.
    const std::string index = ReadText(dir + "/index.html");
    std::set<std::string> shown;
    const std::regex img("<img src=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(index.begin(), index.end(), img); it != std::sregex_iterator(); ++it)
        shown.insert((*it)[1]);
    for (const char* expected : {"drawing.png", "text.png", "scrollbar.png", "gallery.png", "flat-hover.png",
                                 "picture-hover.png", "toggle-group.png", "auto-repeat.png", "scroll-bars.png",
                                 "menu.png", "menu-choice.png", "default-button.png", "divider-drag.png",
                                 "divider-back.png", "indicators.png", "splitter-drag.png", "splitter-moved.png",
                                 "toolbar-docked.png", "toolbar-floating.png", "toolbar-turned.png", "dreambars.png",
                                 "dreambars-shown.png", "dreambars-hidden.png", "dreambars-accordion.png",
                                 "dreambars-rotated.png"})
        EXPECT_TRUE(shown.count(expected)) << expected << " is not in the index";
    std::map<std::string, std::unique_ptr<gdi::Surface>> pictures;
    for (const auto& file : shown) {
        std::string error;
        pictures[file] = gdi::ReadSurfacePng(dir + "/" + file, &error);
        ASSERT_NE(pictures[file], nullptr) << file << ": " << error;
    }
    const auto& before = *pictures["gallery.png"];
    EXPECT_EQ(before.Width(), 672);
    EXPECT_EQ(before.Height(), 900);
    EXPECT_EQ(r.out.find("open "), r.out.rfind("open ")) << "one index";

    // The tour's input reached the controls: the toggle group changed, the counter counted,
    // the menu covered the form, and each event reached the status line at the bottom.
    const RECT toggles = Client({344, 72, 540, 102}), counter = Client({476, 118, 560, 136}),
               menuArea = Client({420, 60, 540, 340});
    const RECT status = Client({0, 640, 664, 680});
    EXPECT_GT(DifferingPixels(before, *pictures["toggle-group.png"], toggles), 100);
    EXPECT_GT(DifferingPixels(before, *pictures["auto-repeat.png"], counter), 10);
    EXPECT_GT(DifferingPixels(before, *pictures["menu.png"], menuArea), 5000);
    EXPECT_EQ(DifferingPixels(*pictures["scroll-bars.png"], *pictures["menu-choice.png"], menuArea), 0)
        << "the menu closed again";
    for (const char* shot : {"toggle-group.png", "scroll-bars.png", "menu-choice.png", "default-button.png"})
        EXPECT_GT(DifferingPixels(before, *pictures[shot], status), 50) << shot;
    // The progress bars and the rotated captions move on their timer.
    const RECT bars = Client({10, 532, 325, 632}), rotated = Client({330, 532, 654, 632});
    EXPECT_GT(DifferingPixels(*pictures["default-button.png"], *pictures["indicators.png"], bars), 20);
    EXPECT_GT(DifferingPixels(*pictures["default-button.png"], *pictures["indicators.png"], rotated), 200);
    EXPECT_EQ(DifferingPixels(*pictures["picture-hover.png"], *pictures["flat-hover.png"], Client({20, 108, 60, 148})) > 50,
              true)
        << "the picture button is in colour only under the mouse";
    // The Alt-drag lifted a divider out of its place, and Escape put the band back as it was.
    const RECT dividers = Client({0, 404, 664, 508});
    EXPECT_GT(DifferingPixels(*pictures["default-button.png"], *pictures["divider-drag.png"], dividers), 500);
    EXPECT_EQ(DifferingPixels(*pictures["default-button.png"], *pictures["divider-back.png"], dividers), 0);
    // A click on the tray icon at the bottom right opened its menu above the tray strip.
    const RECT trayMenu{472, 752, 672, 876};
    EXPECT_GT(DifferingPixels(*pictures["splitter-moved.png"], *pictures["tray-menu.png"], trayMenu), 1000);
    // The splitter's gap was dragged: the line showed during the drag, and the panes moved.
    const RECT lineArea = Client({200, 690, 230, 800}), panes = Client({10, 690, 420, 800});
    EXPECT_GT(DifferingPixels(before, *pictures["splitter-drag.png"], lineArea), 100);
    EXPECT_GT(DifferingPixels(before, *pictures["splitter-moved.png"], panes), 1000);
    // The floating tool bar docked below the form, which grew to make room for it, and floated
    // back to where it was: the strip below the form and the bar's place are as before.
    const RECT belowForm = Client({0, 816, 664, 845}), floatingBar = Client({336, 474, 462, 503});
    EXPECT_GT(DifferingPixels(before, *pictures["toolbar-docked.png"], belowForm), 5000);
    EXPECT_GT(DifferingPixels(before, *pictures["toolbar-docked.png"], floatingBar), 500);
    EXPECT_EQ(DifferingPixels(before, *pictures["toolbar-floating.png"], belowForm), 0);
    EXPECT_EQ(DifferingPixels(before, *pictures["toolbar-floating.png"], floatingBar), 0);
    // Turned by a right press on its grip, it stands as a column below its grip.
    const RECT column = Client({336, 503, 365, 663});
    EXPECT_GT(DifferingPixels(*pictures["toolbar-floating.png"], *pictures["toolbar-turned.png"], column), 1000);
}

// Drawing traces of whole programs replay to the pixels they recorded: the gallery's headless
// run (scenes, tour, menus, modal drags on the screen) and a scripted run of every form file.
TEST(GalleryApp, TracesOfWholeRunsReplayToTheirRecordedPixels) {
    const std::string dir = FreshDir("gallery-trace");
    fs::create_directories(dir);
    const std::string trace = dir + "/gallery.trace";
    ProcessResult r = RunProcess({kGallery, "--headless", "--out", dir}, {{"BRIMLOX_GDI_TRACE", trace}});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string replayed = dir + "/replayed";
    ProcessResult check = RunProcess({CliExe(), "replay", trace, "--check", "--all", replayed});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err, "");
    EXPECT_TRUE(fs::exists(replayed + "/surface-1.png"));

    // Each form, clicked in its top-left quarter and left to settle.
    const std::string script = dir + "/click.script";
    std::ofstream(script) << "move 66 45\nclick left\nwait 200ms\nmove 300 200\nclick left\nwait 200ms\n";
    int forms = 0;
    for (const auto& entry : fs::directory_iterator(SourceDir() + "/forms")) {
        if (entry.path().extension() != ".json") continue;
        ++forms;
        const std::string formTrace = dir + "/" + entry.path().stem().string() + ".trace";
        ProcessResult run = RunProcess({CliExe(), "run", entry.path().string(), "--script", script, "--out", dir},
                                       {{"BRIMLOX_GDI_TRACE", formTrace}}, ProcessLimits{-1, 120});
        ASSERT_EQ(run.status, 0) << entry.path() << ": " << run.err;
        ProcessResult formCheck = RunProcess({CliExe(), "replay", formTrace, "--check"});
        EXPECT_EQ(formCheck.status, 0) << entry.path() << ": " << formCheck.err;
        EXPECT_EQ(formCheck.err, "") << entry.path();
    }
    EXPECT_GT(forms, 0);
}

TEST(GalleryApp, RefusesBadArgumentsAndScriptsWithOneLine) {
    const std::string dir = FreshDir("gallery-bad");
    ProcessResult unknown = RunProcess({kGallery, "--frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(LineCount(unknown.err), 1) << unknown.err;
    EXPECT_NE(unknown.err.find("--frobnicate"), std::string::npos);

    const std::string script = OutputDir() + "/gallery-bad.script";
    std::ofstream(script) << "move 10 10\nkey press VK_ALT\n";
    ProcessResult bad = RunProcess({kGallery, "--headless", "--script", script, "--out", dir});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(LineCount(bad.err), 1) << bad.err;
    EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(dir)) << "nothing written for a refused script";

    ProcessResult noForms = RunProcess({kGallery, "--headless", "--forms", OutputDir() + "/no-such-forms", "--out", dir});
    EXPECT_EQ(noForms.status, 1);
    EXPECT_NE(noForms.err.find("gallery.json"), std::string::npos) << noForms.err;
}

// The DreamBar page played by a script: the top bar shows itself under the mouse and pushes the
// notes down, hides again when the mouse has left; a click on a caption strip of the accordion
// opens that bar and closes the open one; a right click minimises the right bar to a strip.
TEST(GalleryApp, TheDreamBarPageHidesShowsAndOpensOneBarAtATime) {
    const std::string dir = FreshDir("gallery-dreambars");
    const std::string script = OutputDir() + "/gallery-dreambars.script";
    std::ofstream(script) << "move 334 623\nwait 300ms\nscreenshot loaded\n"
                             "move 334 29\nwait 600ms\nscreenshot shown\n"
                             "move 334 623\nwait 1000ms\nscreenshot hidden\n"
                             "move 94 367\nclick left\nwait 400ms\nscreenshot accordion\n"
                             "move 604 423\nclick right\nwait 400ms\nmove 334 623\nwait 200ms\nscreenshot minimised\n";
    ProcessResult r = RunProcess({kGallery, "--headless", "--page", "dreambars", "--script", script, "--out", dir});
    ASSERT_EQ(r.status, 0) << r.err;
    std::map<std::string, std::unique_ptr<gdi::Surface>> shots;
    for (const char* name : {"loaded", "shown", "hidden", "accordion", "minimised"}) {
        std::string error;
        shots[name] = gdi::ReadSurfacePng(dir + "/" + name + ".png", &error);
        ASSERT_NE(shots[name], nullptr) << name << ": " << error;
    }
    const RECT topBar = Client({0, 20, 664, 64}), notes = Client({190, 26, 484, 434}),
               accordion = Client({0, 20, 180, 700}), right = Client({500, 70, 660, 700});
    EXPECT_GT(DifferingPixels(*shots["loaded"], *shots["shown"], topBar), 10000) << "the top bar showed itself";
    EXPECT_GT(DifferingPixels(*shots["loaded"], *shots["shown"], notes), 1000) << "and pushed the notes down";
    // Hidden again, all as it was but the status line.
    EXPECT_EQ(DifferingPixels(*shots["loaded"], *shots["hidden"], Client({0, 0, 664, 390})), 0);
    EXPECT_EQ(DifferingPixels(*shots["loaded"], *shots["hidden"], Client({0, 460, 664, 816})), 0);
    EXPECT_GT(DifferingPixels(*shots["hidden"], *shots["accordion"], accordion), 10000) << "another bar opened";
    EXPECT_GT(DifferingPixels(*shots["accordion"], *shots["minimised"], right), 10000) << "the right bar minimised";
    ProcessResult unknown = RunProcess({kGallery, "--headless", "--page", "nowhere"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown page 'nowhere'"), std::string::npos) << unknown.err;
}

// How many pixels differ between rectangle `r` of `a` and the same rectangle moved by (dx, dy)
// in `b`.
int DifferingMoved(const gdi::Surface& a, const gdi::Surface& b, RECT r, int dx, int dy) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += a.Get(x, y) != b.Get(x + dx, y + dy);
    return n;
}

// Screenshots of a script played on a page of the gallery, by name.
std::map<std::string, std::unique_ptr<gdi::Surface>> PlayGallery(const std::string& name, const std::string& text,
                                                                  const std::vector<std::string>& shots,
                                                                  ProcessResult& r, const std::string& page = "") {
    const std::string dir = FreshDir(name);
    const std::string script = OutputDir() + "/" + name + ".script";
    std::ofstream(script) << text;
    std::vector<std::string> args{kGallery, "--headless", "--script", script, "--out", dir};
    if (!page.empty()) args.insert(args.end(), {"--page", page});
    r = RunProcess(args);
    std::map<std::string, std::unique_ptr<gdi::Surface>> out;
    for (const auto& shot : shots) {
        std::string error;
        out[shot] = gdi::ReadSurfacePng(dir + "/" + shot + ".png", &error);
        EXPECT_NE(out[shot], nullptr) << shot << ": " << error;
    }
    return out;
}

// A press, a short hold and a release where the pointer is.
const char kClick[] = "down left\nwait 50ms\nup left\nwait 300ms\n";

// The gallery form worked by its frame alone, as a user does: the caption carried away and
// back, the bottom border pulled down and back (the form raises Resize and keeps its status
// line across its width), the minimise button and the task strip's button, the maximise and
// restore buttons, the window menu from Alt+Space, and the close button, which asks through
// QueryUnload before the form goes.
TEST(GalleryApp, TheFormMovesSizesMinimisesMaximisesRestoresAndClosesByItsFrame) {
    const std::string script = std::string("move 300 13\nwait 200ms\nscreenshot loaded\n") +
                               "down left\nwait 50ms\nmove 320 28\nwait 50ms\nmove 340 43\nwait 50ms\nup left\nwait 300ms\n"
                               "screenshot moved\n"
                               "down left\nwait 50ms\nmove 320 28\nwait 50ms\nmove 300 13\nwait 50ms\nup left\nwait 300ms\n"
                               "screenshot back\n"
                               "move 300 841\ndown left\nwait 50ms\nmove 300 856\nwait 50ms\nmove 300 871\nwait 50ms\n"
                               "up left\nwait 300ms\nmove 300 13\nwait 100ms\nscreenshot sized\n"
                               "move 300 871\ndown left\nwait 50ms\nmove 300 851\nwait 50ms\nmove 300 841\nwait 50ms\nup left\nwait 300ms\n"
                               "move 300 13\nwait 100ms\nscreenshot unsized\n"
                               "move 623 13\n" + kClick + "screenshot minimised\n"
                               "move 80 888\n" + kClick + "move 300 13\nwait 100ms\nscreenshot restored\n"
                               "move 641 13\n" + kClick + "screenshot maximised\n"
                               "move 645 9\n" + kClick + "move 300 13\nwait 100ms\nscreenshot unmaximised\n"
                               "key down VK_MENU\nkey press VK_SPACE\nkey up VK_MENU\nwait 300ms\nscreenshot windowmenu\n"
                               "key press N\nwait 300ms\nscreenshot menuminimised\n"
                               "move 80 888\n" + kClick + "move 659 13\n" + kClick + "wait 300ms\n";
    ProcessResult r;
    auto shots = PlayGallery("gallery-frame", script,
                             {"loaded", "moved", "back", "sized", "unsized", "minimised", "restored", "maximised",
                              "unmaximised", "windowmenu", "menuminimised"},
                             r);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& [name, shot] : shots) ASSERT_NE(shot, nullptr) << name;
    const gdi::Surface& loaded = *shots["loaded"];
    // The progress bars and the rotated captions move on their timer, and the status line shows
    // the news: the rest of the client area stands still unless the frame moves it.
    const RECT upper = Client({0, 0, 664, 505}), status = Client({0, 640, 664, 680}), lower = Client({0, 685, 664, 816});
    auto still = [&](const gdi::Surface& a, const gdi::Surface& b, int dx = 0, int dy = 0) {
        // Only what the screen shows of the moved window counts.
        auto clip = [](RECT r, int dx) { return RECT{r.left, r.top, std::min<LONG>(r.right, 672 - dx), r.bottom}; };
        return DifferingMoved(a, b, clip(upper, dx), dx, dy) + DifferingMoved(a, b, clip(lower, dx), dx, dy);
    };
    const RECT caption{0, 0, 672, 23}, underForm{0, 843, 672, 900};
    // Carried by its caption 40 pixels right and 30 down: the window, caption and client area
    // alike, stands there pixel for pixel (as far as the screen shows it), and back again.
    EXPECT_EQ(still(loaded, *shots["moved"], 40, 30), 0);
    EXPECT_EQ(DifferingMoved(loaded, *shots["moved"], RECT{0, 0, 632, 23}, 40, 30), 0) << "the caption";
    EXPECT_GT(DifferingPixels(loaded, *shots["moved"], RECT{0, 0, 40, 800}), 20000) << "the desktop it left";
    EXPECT_EQ(still(loaded, *shots["back"]), 0) << "carried back where it was";
    EXPECT_EQ(DifferingPixels(loaded, *shots["back"], caption) + DifferingPixels(loaded, *shots["back"], underForm), 0);
    // Pulled 30 pixels down by its bottom border: the client area grew into the desktop below,
    // Resize reached the status line, and what was above it did not move.
    const RECT grown{4, 843, 668, 866};
    EXPECT_GT(DifferingPixels(loaded, *shots["sized"], grown), 10000);
    EXPECT_GT(DifferingPixels(loaded, *shots["sized"], status), 100);
    EXPECT_EQ(DifferingPixels(loaded, *shots["sized"], upper), 0);
    // Pushed back, it is as it was but for the status line's news.
    const gdi::Surface& unsized = *shots["unsized"];
    EXPECT_EQ(still(loaded, unsized), 0);
    EXPECT_EQ(DifferingPixels(loaded, unsized, underForm), 0);
    // Minimised, the form left the screen for a button on the task strip along the bottom; the
    // button brought it back as it was.
    EXPECT_GT(DifferingPixels(loaded, *shots["minimised"], upper), 200000);
    EXPECT_GT(DifferingPixels(loaded, *shots["minimised"], RECT{0, 876, 300, 900}), 1000) << "the task strip";
    EXPECT_EQ(still(unsized, *shots["restored"]), 0);
    EXPECT_EQ(DifferingPixels(unsized, *shots["restored"], status), 0) << "no news: the same size again";
    EXPECT_EQ(DifferingPixels(unsized, *shots["restored"], underForm), 0) << "the strip went with the last button";
    // Maximised, it fills the screen: its client area reaches the screen's edges, its caption
    // the top row; the restore button puts back the normal rectangle it kept.
    const gdi::Surface& maximised = *shots["maximised"];
    EXPECT_GT(DifferingPixels(unsized, maximised, RECT{0, 843, 400, 876}), 10000) << "the client area below";
    EXPECT_GT(DifferingPixels(unsized, maximised, status), 100) << "Resize";
    EXPECT_EQ(still(unsized, *shots["unmaximised"]), 0);
    EXPECT_EQ(DifferingPixels(unsized, *shots["unmaximised"], underForm), 0);
    // Alt+Space opened the window menu below the caption's icon, and its Minimize sent the form
    // to the task strip again.
    const RECT menuPlace = Client({0, 0, 120, 100});
    EXPECT_GT(DifferingPixels(*shots["unmaximised"], *shots["windowmenu"], menuPlace), 1500);
    EXPECT_EQ(DifferingPixels(*shots["unmaximised"], *shots["windowmenu"], Client({200, 0, 664, 505})), 0);
    EXPECT_GT(DifferingPixels(*shots["unmaximised"], *shots["menuminimised"], upper), 200000);
    EXPECT_EQ(DifferingPixels(*shots["minimised"], *shots["menuminimised"], RECT{0, 876, 300, 900}), 0) << "its button";
    // The close button asked first (answered OK in a headless run), then the form went and the
    // session ended.
    EXPECT_NE(r.out.find("message box \"Brimlox gallery\": Close the Brimlox gallery?"), std::string::npos) << r.out;
}

// The DreamBar page sized by its right border: the bar aligned to the right edge goes with the
// edge, pixel for pixel, and comes back with it.
TEST(GalleryApp, TheDreamBarPageSizedByItsBorderKeepsItsRightBarOnTheEdge) {
    const std::string script = "move 334 623\nwait 300ms\nscreenshot loaded\n"
                               "move 670 400\ndown left\nwait 50ms\nmove 640 400\nwait 50ms\nmove 610 400\nwait 50ms\n"
                               "up left\nwait 300ms\nmove 334 623\nwait 300ms\nscreenshot narrower\n"
                               "move 610 400\ndown left\nwait 50ms\nmove 670 400\nwait 50ms\nup left\nwait 300ms\n"
                               "move 334 623\nwait 300ms\nscreenshot wider\n";
    ProcessResult r;
    auto shots = PlayGallery("gallery-dreambars-frame", script, {"loaded", "narrower", "wider"}, r, "dreambars");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& [name, shot] : shots) ASSERT_NE(shot, nullptr) << name;
    const RECT rightBar = Client({494, 64, 664, 816});
    EXPECT_EQ(DifferingMoved(*shots["loaded"], *shots["narrower"], rightBar, -60, 0), 0);
    EXPECT_GT(DifferingPixels(*shots["loaded"], *shots["narrower"], RECT{612, 100, 672, 800}), 10000) << "the desktop shows";
    EXPECT_EQ(DifferingPixels(*shots["loaded"], *shots["wider"], rightBar), 0);
}

// Presses Centre in the toggle group, steps the red bar with the arrow button, then opens the
// drop-down menu and its Recent submenu from the keyboard.
const char kStripScript[] =
    "move 442 110\nclick left\nwait 300ms\n"
    "move 262 140\nclick left\nwait 300ms\n"
    "move 636 68\nclick left\nwait 300ms\n"
    "key press VK_DOWN\nwait 100ms\nkey press VK_DOWN\nwait 100ms\nkey press VK_DOWN\nwait 100ms\n"
    "key press VK_DOWN\nwait 100ms\nkey press VK_RIGHT\nwait 300ms\n"
    "screenshot strip\n"
    "key press VK_ESCAPE\nkey press VK_ESCAPE\nwait 200ms\n";

TEST(GalleryApp, ScriptUnderXvfbShowsTheWindowAndMatchesItsGolden) {
    if (system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string dir = FreshDir("gallery-xvfb");
    const std::string script = OutputDir() + "/gallery-strip.script";
    std::ofstream(script) << kStripScript;
    // The X11 and GL libraries under SDL keep allocations of their own until exit; under the
    // sanitizers, leak reports from them would replace the exit status checked here (memory
    // errors are still reported).
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanOptions = std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "detect_leaks=0";
    ProcessResult r = RunProcess({"xvfb-run", "-a", kGallery, "--script", script, "--out", dir},
                                 {{"SDL_VIDEODRIVER", "x11"}, {"ASAN_OPTIONS", asanOptions}});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("showing the script in a window"), std::string::npos) << r.out << r.err;
    std::string error;
    auto shot = gdi::ReadSurfacePng(dir + "/strip.png", &error);
    ASSERT_NE(shot, nullptr) << error;
    EXPECT_TRUE(MatchesGolden(*shot, "apps/gallery_script_strip"));
    EXPECT_NE(ReadText(dir + "/index.html").find("strip.png"), std::string::npos);
}

}  // namespace
}  // namespace brimlox::test
