// Text drawing against its baselines in the same run:
//  - TextOutA of a 64-character caption with a warm glyph cache, against loading and
//    rendering the same characters with FreeType directly (the work the cache saves);
//  - DrawTextA with DT_CALCRECT | DT_WORDBREAK on a 2,000-character paragraph, against
//    GetTextExtentPoint32A of the same text.
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/text/face_match.h"

namespace {

const char kCaption[] = "Brimlox caption: the quick brown fox jumps over the lazy dog 123";
static_assert(sizeof(kCaption) - 1 == 64, "the caption has 64 characters");

std::string Paragraph() {
    const std::string words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor. ";
    std::string p;
    while (p.size() < 2000) p += words;
    p.resize(2000);
    return p;
}

// A memory DC over a 32-bpp bitmap with 8-point Tahoma selected.
class TextDc {
public:
    TextDc(int width, int height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        LOGFONTA lf;
        lf.lfHeight = -11;
        std::strcpy(lf.lfFaceName, "Tahoma");
        font_ = CreateFontIndirectA(&lf);
        oldFont_ = SelectObject(dc_, font_);
        SetBkMode(dc_, TRANSPARENT);
    }
    ~TextDc() {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(font_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
    HFONT font_;
    HGDIOBJ oldFont_;
};

void BM_FreeTypeLoadAndRender64(benchmark::State& state) {
    const auto& file = brimlox::gdi::text::MatchFace({"Tahoma", false, false, 0});
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, file.path.c_str(), file.index, &face)) {
        state.SkipWithError("no face");
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, 11);
    for (auto _ : state) {
        for (int i = 0; i < 64; ++i) {
            FT_Load_Char(face, static_cast<unsigned char>(kCaption[i]), FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO);
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
            benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
BENCHMARK(BM_FreeTypeLoadAndRender64);

void BM_TextOutCaption64WarmCache(benchmark::State& state) {
    TextDc t(400, 20);
    TextOutA(t.dc(), 0, 0, kCaption, 64);  // warm the glyph cache
    for (auto _ : state) benchmark::DoNotOptimize(TextOutA(t.dc(), 0, 0, kCaption, 64));
}
BENCHMARK(BM_TextOutCaption64WarmCache);

void BM_GetTextExtentParagraph2000(benchmark::State& state) {
    TextDc t(8, 8);
    std::string p = Paragraph();
    SIZE size;
    for (auto _ : state) benchmark::DoNotOptimize(GetTextExtentPoint32A(t.dc(), p.c_str(), 2000, &size));
}
BENCHMARK(BM_GetTextExtentParagraph2000);

void BM_DrawTextCalcRectWordBreak2000(benchmark::State& state) {
    TextDc t(8, 8);
    std::string p = Paragraph();
    for (auto _ : state) {
        RECT r{0, 0, 300, 0};
        benchmark::DoNotOptimize(DrawTextA(t.dc(), p.c_str(), 2000, &r, DT_CALCRECT | DT_WORDBREAK));
    }
}
BENCHMARK(BM_DrawTextCalcRectWordBreak2000);

}  // namespace
