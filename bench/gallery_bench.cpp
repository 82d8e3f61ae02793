// The gallery's start-up and repaint costs, each with its baseline in the same run:
//  - cold start to the first frame: load forms/gallery.json, show the form, run every paint
//    and compose the screen, with the glyph cache emptied first, against loading the fonts the
//    form uses (the same cache emptied, every printable character of each font rendered);
//  - a full repaint of the form and all its controls against memset of its pixels (the
//    form's whole window, frame included, as loaded from the file).
// Font files are opened once per process (fontconfig and FreeType keep them), so "cold" here
// means every glyph is rendered again, not that the files are read again.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "controls/library.h"
#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text/glyph_cache.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace {

namespace host = brimlox::host;

// The gallery program's screen: the framed form at the origin with room under it.
constexpr int kWidth = 672;
constexpr int kHeight = 900;

std::string GalleryFormPath() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "forms" / "gallery.json").string();
}

void UseGalleryScreen() {
    auto& d = brimlox::desktop::Desktop::Instance();
    d.Configure({kWidth, kHeight, 15, true});
    d.UseVirtualClock();
    brimlox::controls::RegisterLibrary();
}

// Loads and shows the gallery form and runs its paints; the screen then holds the frame.
std::shared_ptr<host::Form> FirstFrame() {
    auto form = host::LoadFormFile(GalleryFormPath());
    form->Show();
    host::DoEvents();
    return form;
}

void BM_GalleryColdStartToFirstFrame(benchmark::State& state) {
    UseGalleryScreen();
    for (auto _ : state) {
        brimlox::gdi::text::GlyphCache::Instance().Clear();
        auto form = FirstFrame();
        benchmark::DoNotOptimize(brimlox::desktop::Desktop::Instance().FrameSerial());
        state.PauseTiming();
        form->Unload();
        host::ResetHostState();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GalleryColdStartToFirstFrame)->Unit(benchmark::kMillisecond);

// The faces the form draws with: its 8-point sans-serif captions (regular and bold, as the
// default button and the menu title use), the menu's 8-point Tahoma and the Marlett arrows.
void BM_LoadGalleryFonts(benchmark::State& state) {
    UseGalleryScreen();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(kWidth, 64, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    struct Face {
        const char* name;
        LONG weight;
    };
    const Face faces[] = {{"MS Sans Serif", 400}, {"MS Sans Serif", 700}, {"Tahoma", 400}, {"Tahoma", 700}, {"Marlett", 400}};
    std::string all;
    for (int c = 32; c < 127; ++c) all += static_cast<char>(c);
    for (auto _ : state) {
        brimlox::gdi::text::GlyphCache::Instance().Clear();
        for (const auto& face : faces) {
            LOGFONTA lf{};
            lf.lfHeight = -11;
            lf.lfWeight = face.weight;
            std::strcpy(lf.lfFaceName, face.name);
            HFONT font = CreateFontIndirectA(&lf);
            HGDIOBJ previous = SelectObject(dc, font);
            TextOutA(dc, 0, 0, all.c_str(), static_cast<int>(all.size()));
            SelectObject(dc, previous);
            DeleteObject(font);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}
BENCHMARK(BM_LoadGalleryFonts)->Unit(benchmark::kMillisecond);

void BM_GalleryFullRepaint(benchmark::State& state) {
    UseGalleryScreen();
    auto form = FirstFrame();
    for (auto _ : state)
        RedrawWindow(form->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    form->Unload();
    host::ResetHostState();
}
BENCHMARK(BM_GalleryFullRepaint)->Unit(benchmark::kMicrosecond);

void BM_MemsetGalleryPixels(benchmark::State& state) {
    UseGalleryScreen();
    RECT window{};
    {
        auto form = host::LoadFormFile(GalleryFormPath());
        GetWindowRect(form->hWnd(), &window);
        form->Unload();
        host::ResetHostState();
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(window.right - window.left) *
                                      static_cast<std::size_t>(window.bottom - window.top));
    if (pixels.empty()) state.SkipWithError("the gallery form has no window");
    std::uint8_t value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), ++value, pixels.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetGalleryPixels)->Unit(benchmark::kMicrosecond);

}  // namespace
