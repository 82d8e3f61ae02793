#include "platform/host/runtime.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/host/font.h"
#include "platform/host/form.h"
#include "platform/host/picture.h"
#include "platform/host/standard_controls.h"
#include "platform/user/user.h"

// The USER layer's message box, if this build links it; otherwise the host logs and answers OK.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) __attribute__((weak));

namespace brimlox::host {

namespace {

struct RuntimeState {
    std::vector<std::weak_ptr<Form>> forms;
    std::vector<MessageBoxRecord> boxes;
    std::uint32_t rndSeed = 0x50000;  // the generator's documented starting seed
    float lastRnd = 0;
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

// The generator is a 24-bit linear congruential one, as the host language's Rnd is, so a seed
// gives the same sequence on every platform.
float NextRnd(std::uint32_t& seed) {
    seed = (seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<float>(seed) / 16777216.0f;
}

std::string ProgramPath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

}  // namespace

void StartHost() {
    static bool started = false;
    if (started) return;
    started = true;
    RegisterPictureCodec();
    RegisterFontCodec();
    RegisterStandardControls();
}

void ReportHostError(const HostError& e) {
    MsgBox("Run-time error '" + std::to_string(e.Number()) + "':\n\n" + e.Description(), MB_OK | MB_ICONHAND);
}

void NoteFormLoaded(Form& form) {
    auto& forms = State().forms;
    std::erase_if(forms, [](const auto& w) { return w.expired(); });
    forms.push_back(std::static_pointer_cast<Form>(form.shared_from_this()));
}

void NoteFormUnloaded(Form& form) {
    auto& forms = State().forms;
    std::erase_if(forms, [&](const auto& w) {
        auto f = w.lock();
        return !f || f.get() == &form;
    });
    // The program ends when its last form has gone.
    if (forms.empty()) PostQuitMessage(0);
}

std::vector<std::shared_ptr<Form>> LoadedForms() {
    std::vector<std::shared_ptr<Form>> out;
    for (const auto& w : State().forms)
        if (auto f = w.lock()) out.push_back(f);
    return out;
}

// A program that arranged no input of its own (no script, no window) runs live when a display
// is named: the screen shows in an SDL2 window on the real clock until the window is closed or
// the last form unloads. Returns the window, or nullptr for the headless loop.
std::unique_ptr<desktop::SdlPresenter> OpenLiveWindow() {
    auto& d = desktop::Desktop::Instance();
    if (d.Source() || !desktop::DisplayNamed()) return nullptr;
    std::string title = "Brimlox";
    if (auto forms = LoadedForms(); !forms.empty()) title = forms.front()->Caption();
    std::string error;
    auto window = desktop::SdlPresenter::Open(title, &error);
    if (!window) std::fprintf(stderr, "brimlox: no window (%s); running without one\n", error.c_str());
    return window;
}

int Run() {
    auto& d = desktop::Desktop::Instance();
    bool live = false;
    if (auto window = OpenLiveWindow()) {
        d.UseRealClock();
        d.SetInputSource(std::move(window));
        live = true;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (live) d.SetInputSource(nullptr);
    return static_cast<int>(msg.wParam);
}

int DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // A quit belongs to the outer loop: put it back for it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(LoadedForms().size());
}

ScreenInfo Screen() {
    const auto& s = desktop::Desktop::Instance().Settings();
    ScreenInfo info;
    info.TwipsPerPixelX = info.TwipsPerPixelY = s.twipsPerPixel;
    info.Width = s.width * s.twipsPerPixel;
    info.Height = s.height * s.twipsPerPixel;
    return info;
}

AppInfo App() {
    AppInfo app;
    // One module: the program itself, whose instance handle is a fixed non-zero value here.
    app.hInstance = 0x400000;
    app.ThreadID = static_cast<std::int32_t>(GetCurrentThreadId());
    std::filesystem::path exe = ProgramPath();
    app.Path = exe.parent_path().string();
    app.EXEName = exe.stem().string();
    return app;
}

float Timer() {
    std::uint64_t ms = desktop::Desktop::Instance().Now() % 86400000u;
    return static_cast<float>(static_cast<double>(ms / 10) / 100.0);
}

float Rnd(float argument) {
    auto& s = State();
    if (argument == 0) return s.lastRnd;
    if (argument < 0) {
        std::uint32_t bits;
        static_assert(sizeof bits == sizeof argument);
        std::memcpy(&bits, &argument, sizeof bits);
        s.rndSeed = (bits + (bits >> 24)) & 0xFFFFFFu;
    }
    s.lastRnd = NextRnd(s.rndSeed);
    return s.lastRnd;
}

void Randomize() { Randomize(static_cast<double>(Timer())); }

void Randomize(double seed) {
    // The seed's bits are mixed into the middle of the generator state, keeping its low byte.
    std::uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    std::uint32_t mix = static_cast<std::uint32_t>((bits >> 32) ^ (bits >> 48)) & 0xFFFFu;
    auto& s = State();
    s.rndSeed = (s.rndSeed & 0xFF0000FFu) | (mix << 8);
    s.rndSeed &= 0xFFFFFFu;
}

int MsgBox(const std::string& text, unsigned style, const std::string& title) {
    std::string caption = title.empty() ? App().EXEName : title;
    // The box's record is found again by its place: a box may open more boxes while it runs.
    std::size_t index = State().boxes.size();
    State().boxes.push_back({caption, text, style});
    int answer = ::MessageBoxA ? ::MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style) : IDOK;
    if (index < State().boxes.size()) State().boxes[index].answer = answer;
    return answer;
}

const std::vector<MessageBoxRecord>& MessageBoxLog() { return State().boxes; }
void ClearMessageBoxLog() { State().boxes.clear(); }

void ResetHostState() {
    State().forms.clear();
    State().boxes.clear();
    State().rndSeed = 0x50000;
    State().lastRnd = 0;
}

}  // namespace brimlox::host
