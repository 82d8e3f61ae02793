#include "apps/brimlox-gallery/gallery_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "apps/brimlox-gallery/dreambar_page.h"
#include "apps/brimlox-gallery/gallery_form.h"
#include "apps/brimlox-gallery/gallery_tour.h"
#include "apps/brimlox-gallery/scenes.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_presenter.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/gdi/png.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/type_info.h"
#include "platform/kernel/atomic_file.h"
#include "platform/user/user.h"

namespace brimlox::gallery {

namespace {

namespace fs = std::filesystem;

// The screen the gallery's forms stand on: the framed form at the origin (672 x 843 pixels: a
// 664 x 816 client area inside a sizing border of 4 and a caption of 19), room below it for
// the form to grow when the floating tool bar docks at its bottom, and under that the 24 rows
// of the task and tray strips, so neither covers the form.
desktop::DesktopSettings GalleryScreen(bool headlessDialogs) {
    desktop::DesktopSettings s;
    s.width = 672;
    s.height = 900;
    s.headlessDialogs = headlessDialogs;
    return s;
}

std::string FormsDir(const Options& o) { return o.forms.empty() ? DefaultFormsDir() : o.forms; }

constexpr const char* kDreamBarPage = "dreambars";

// The form of the page the options name, loaded and wired.
std::shared_ptr<host::Form> OpenPage(const Options& o) {
    if (o.page == kDreamBarPage) return OpenDreamBarPage(FormsDir(o));
    return OpenGalleryForm(FormsDir(o));
}

// A picture in the index, with its caption.
struct Entry {
    std::string file;
    std::string caption;
};

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

// Written atomically, so a reader never sees half an index.
bool WriteIndex(const std::string& dir, const std::vector<Entry>& entries) {
    std::ostringstream html;
    html << "<!doctype html><meta charset=\"utf-8\"><title>Brimlox gallery</title>\n"
            "<body style=\"font-family:sans-serif;background:#eee;max-width:1400px\"><h1>Brimlox gallery</h1>\n";
    for (const auto& e : entries)
        html << "<figure><img src=\"" << Escape(e.file) << "\" style=\"image-rendering:pixelated\">"
             << "<figcaption>" << Escape(e.caption) << "</figcaption></figure>\n";
    html << "</body>\n";
    std::string error;
    return kernel::WriteFileAtomically(fs::path(dir) / "index.html", html.str(), &error);
}

// Renders one drawing scene into a fresh 32-bpp bitmap and writes it as a PNG.
bool RenderScene(const Scene& scene, const std::string& path, std::string* error) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(scene.width, scene.height, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    scene.draw(dc, scene.width, scene.height);
    // Pictures are written whole or not at all (the PNG writer goes through a temporary file).
    bool ok = gdi::WritePng(dc, path, error);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return ok;
}

bool MakeOutputDir(const std::string& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) std::fprintf(stderr, "brimlox-gallery: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
    return !ec;
}

// Scripted input that also shows each new frame in a window while the script plays.
class ShownScript : public desktop::InputSource {
public:
    ShownScript(std::unique_ptr<desktop::ScriptedInput> script, desktop::SdlPresenter* window)
        : script_(std::move(script)), window_(window) {}
    std::optional<std::uint64_t> NextTime() override {
        if (window_) window_->Present();
        return script_->NextTime();
    }
    std::optional<desktop::InputEvent> TakeDue(std::uint64_t now) override { return script_->TakeDue(now); }
    bool Exhausted() const override { return script_->Exhausted(); }
    std::uint64_t EndTime() const override { return script_->EndTime(); }

private:
    std::unique_ptr<desktop::ScriptedInput> script_;
    desktop::SdlPresenter* window_;
};

// Loads the gallery form, plays `script` on the virtual clock and writes its screenshots to
// `out`; `written` receives their names in order. Returns the exit status.
int PlayScript(const Options& o, const desktop::InputScript& script, desktop::SdlPresenter* window,
               std::vector<std::string>& written, const std::function<std::string(const host::Form&)>& makeScript = {}) {
    auto& d = desktop::Desktop::Instance();
    d.Configure(GalleryScreen(true));
    d.UseVirtualClock();
    // A scene that unloaded its form left the quit of "last form gone"; it is not ours.
    MSG stale;
    while (PeekMessageA(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    std::shared_ptr<host::Form> form;
    try {
        form = OpenPage(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brimlox-gallery: %s\n", e.what());
        return 1;
    }
    form->Show();
    host::DoEvents();
    desktop::InputScript played = script;
    if (makeScript) {
        std::string error;
        if (!desktop::ParseInputScript(makeScript(*form), played, error)) {
            std::fprintf(stderr, "brimlox-gallery: tour: %s\n", error.c_str());
            return 1;
        }
    }
    desktop::HeadlessPresenter presenter(o.out);
    bool failed = false;
    d.SetScreenshotHandler([&](const std::string& name) {
        const std::string file = name.ends_with(".png") ? name : name + ".png";
        std::string error;
        if (presenter.WriteScreen((fs::path(o.out) / file).string(), true, &error)) {
            written.push_back(file);
        } else {
            failed = true;
            std::fprintf(stderr, "brimlox-gallery: %s\n", error.c_str());
        }
    });
    d.SetInputSource(std::make_unique<ShownScript>(
        std::make_unique<desktop::ScriptedInput>(played.events, played.endTime), window));
    host::Run();
    if (window) window->Present();
    // Headless message boxes were answered OK at once; say what they said.
    for (const auto& box : host::MessageBoxLog())
        std::printf("brimlox-gallery: message box \"%s\": %s\n", box.title.c_str(), box.text.c_str());
    host::ClearMessageBoxLog();
    d.SetInputSource(nullptr);
    d.SetScreenshotHandler(nullptr);
    for (auto& f : host::LoadedForms()) f->Unload();
    return failed ? 1 : 0;
}

// Plays the tour `makeTour` writes for the page of `o` and adds its pictures to `entries`.
int PlayTour(const Options& o, const std::function<Tour(const host::Form&)>& makeTour, std::vector<Entry>& entries) {
    std::vector<std::string> written;
    Tour tour;
    auto write = [&](const host::Form& form) {
        tour = makeTour(form);
        return tour.script;
    };
    if (int status = PlayScript(o, {}, nullptr, written, write)) return status;
    for (const auto& shot : tour.shots) {
        if (std::find(written.begin(), written.end(), shot.name + ".png") == written.end()) {
            std::fprintf(stderr, "brimlox-gallery: the tour's picture %s was not taken\n", shot.name.c_str());
            return 1;
        }
        entries.push_back({shot.name + ".png", shot.caption});
    }
    return 0;
}

}  // namespace

bool KnownPage(const std::string& page) { return page.empty() || page == "main" || page == kDreamBarPage; }

bool DisplayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}

int RunLive(const Options& o) {
    auto& d = desktop::Desktop::Instance();
    d.Configure(GalleryScreen(false));
    d.UseRealClock();
    std::string error;
    auto window = desktop::SdlPresenter::Open("Brimlox gallery", &error);
    if (!window) {
        std::fprintf(stderr, "brimlox-gallery: no window (%s); writing the pictures instead\n", error.c_str());
        return RunHeadless(o);
    }
    d.SetInputSource(std::move(window));
    std::shared_ptr<host::Form> form;
    try {
        form = OpenPage(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brimlox-gallery: %s\n", e.what());
        d.SetInputSource(nullptr);
        return 1;
    }
    // The live gallery reopens where it was left: its splitter keeps the form's layout in the
    // settings store, as an application does from its form's Load.
    if (auto splitter = form->Find("splPanes"))
        host::TryInvoke([&] { host::CallMethod(*splitter, "PersistForm", {host::Variant(form), host::Variant(false)}); });
    std::printf("brimlox-gallery: showing the gallery; close its window to quit\n");
    std::fflush(stdout);
    form->Show();
    host::Run();
    for (auto& f : host::LoadedForms()) f->Unload();
    d.SetInputSource(nullptr);
    return 0;
}

int RunHeadless(const Options& o) {
    if (!MakeOutputDir(o.out)) return 1;
    std::vector<Entry> entries;
    for (const auto& scene : Scenes()) {
        const std::string file = scene.name + ".png";
        std::string error;
        if (!RenderScene(scene, (fs::path(o.out) / file).string(), &error)) {
            std::fprintf(stderr, "brimlox-gallery: %s\n", error.c_str());
            return 1;
        }
        entries.push_back({file, scene.caption});
    }
    // Every page's tour, whatever --page says: the main form, then the DreamBar page.
    Options mainPage = o, dreamBars = o;
    mainPage.page.clear();
    dreamBars.page = kDreamBarPage;
    if (int status = PlayTour(mainPage, GalleryTour, entries)) return status;
    if (int status = PlayTour(dreamBars, DreamBarTour, entries)) return status;
    if (!WriteIndex(o.out, entries)) {
        std::fprintf(stderr, "brimlox-gallery: cannot write %s/index.html\n", o.out.c_str());
        return 1;
    }
    for (const auto& e : entries) std::printf("brimlox-gallery: wrote %s\n", fs::absolute(fs::path(o.out) / e.file).c_str());
    std::printf("brimlox-gallery: open %s\n", fs::absolute(fs::path(o.out) / "index.html").c_str());
    return 0;
}

int RunScript(const Options& o, bool showWindow) {
    desktop::InputScript script;
    std::string error;
    if (!desktop::LoadInputScript(o.script, script, error)) {
        std::fprintf(stderr, "brimlox-gallery: %s\n", error.c_str());
        return 2;
    }
    if (!MakeOutputDir(o.out)) return 1;
    std::unique_ptr<desktop::SdlPresenter> window;
    if (showWindow) {
        desktop::Desktop::Instance().Configure(GalleryScreen(true));
        window = desktop::SdlPresenter::Open("Brimlox gallery", &error);
        if (window) std::printf("brimlox-gallery: showing the script in a window\n");
        else std::fprintf(stderr, "brimlox-gallery: no window (%s); playing the script headless\n", error.c_str());
    }
    std::vector<std::string> written;
    if (int status = PlayScript(o, script, window.get(), written)) return status;
    std::vector<Entry> entries;
    for (const auto& file : written) entries.push_back({file, file.substr(0, file.size() - 4)});
    if (!WriteIndex(o.out, entries)) {
        std::fprintf(stderr, "brimlox-gallery: cannot write %s/index.html\n", o.out.c_str());
        return 1;
    }
    for (const auto& file : written) std::printf("brimlox-gallery: wrote %s\n", fs::absolute(fs::path(o.out) / file).c_str());
    return 0;
}

}  // namespace brimlox::gallery
