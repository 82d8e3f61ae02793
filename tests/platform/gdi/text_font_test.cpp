// Fonts: CreateFontIndirectA's LOGFONT fields, metrics, face fallbacks, system parameters,
// the glyph cache's budget, and bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/gdi/text/face_match.h"
#include "platform/gdi/text/glyph_cache.h"
#include "support/gdi_test.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
namespace text = brimlox::gdi::text;

namespace {

LOGFONTA Font(const char* face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

TEXTMETRICA MetricsOf(HDC dc, const LOGFONTA& lf) {
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, f);
    TEXTMETRICA tm;
    EXPECT_TRUE(GetTextMetricsA(dc, &tm));
    SelectObject(dc, old);
    DeleteObject(f);
    return tm;
}

SIZE ExtentOf(HDC dc, const LOGFONTA& lf, const char* s) {
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, f);
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, s, static_cast<int>(std::strlen(s)), &size));
    SelectObject(dc, old);
    DeleteObject(f);
    return size;
}

}  // namespace

class TextFont : public GdiTest {};

// Checked against Windows: a positive height is the cell height (tmHeight equals it), a
// negative one the character height (tmHeight - tmInternalLeading), and 0 gives the same
// font as a 16-pixel cell.
TEST_F(TextFont, HeightsFollowCellAndCharacterRules) {
    Canvas c(8, 8);
    TEXTMETRICA cell = MetricsOf(c.dc(), Font("Arial", 16));
    EXPECT_EQ(cell.tmHeight, 16);
    EXPECT_EQ(cell.tmAscent + cell.tmDescent, cell.tmHeight);
    TEXTMETRICA character = MetricsOf(c.dc(), Font("Arial", -16));
    EXPECT_EQ(character.tmHeight - character.tmInternalLeading, 16);
    EXPECT_GT(character.tmHeight, 16);
    TEXTMETRICA zero = MetricsOf(c.dc(), Font("Arial", 0));
    EXPECT_EQ(zero.tmHeight, cell.tmHeight);
    EXPECT_EQ(zero.tmAveCharWidth, cell.tmAveCharWidth);
    // lfWidth asks for an average character width.
    LOGFONTA wide = Font("Arial", -16);
    wide.lfWidth = 20;
    EXPECT_EQ(MetricsOf(c.dc(), wide).tmAveCharWidth, 20);
    EXPECT_GT(ExtentOf(c.dc(), wide, "Hello").cx, ExtentOf(c.dc(), Font("Arial", -16), "Hello").cx);
}

TEST_F(TextFont, StylesAndFlagsAreReportedAndChangeTheText) {
    Canvas c(8, 8);
    LOGFONTA lf = Font("MS Sans Serif", -11);
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 1;
    TEXTMETRICA tm = MetricsOf(c.dc(), lf);
    EXPECT_EQ(tm.tmItalic, 1);
    EXPECT_EQ(tm.tmUnderlined, 1);
    EXPECT_EQ(tm.tmStruckOut, 1);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH);  // set means variable pitch
    EXPECT_FALSE(MetricsOf(c.dc(), Font("Courier New", -12)).tmPitchAndFamily & TMPF_FIXED_PITCH);
    // Bold is wider than regular; a bold request of a face with a bold file reports 700.
    EXPECT_GT(ExtentOf(c.dc(), Font("Tahoma", -11, FW_BOLD), "Bold text").cx,
              ExtentOf(c.dc(), Font("Tahoma", -11), "Bold text").cx);
    EXPECT_EQ(MetricsOf(c.dc(), Font("Tahoma", -11, FW_BOLD)).tmWeight, FW_BOLD);
    // GetObjectA gives back the LOGFONT as created.
    HFONT f = CreateFontIndirectA(&lf);
    LOGFONTA back;
    EXPECT_EQ(GetObjectA(f, sizeof back, &back), static_cast<int>(sizeof(LOGFONTA)));
    EXPECT_STREQ(back.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(back.lfStrikeOut, 1);
    EXPECT_EQ(GetObjectType(f), OBJ_FONT);
    DeleteObject(f);
}

TEST_F(TextFont, ClassicFacesFallBackToMetricCompatibleFaces) {
    EXPECT_EQ(text::SubstituteFamily("MS Sans Serif", 0), "Liberation Sans");
    EXPECT_EQ(text::SubstituteFamily("segoe ui", 0), "Liberation Sans");
    EXPECT_EQ(text::SubstituteFamily("Times New Roman", 0), "Liberation Serif");
    EXPECT_EQ(text::SubstituteFamily("Courier New", 0), "Liberation Mono");
    EXPECT_EQ(text::MatchFace({"Arial", false, false, 0}).family, "Liberation Sans");
    EXPECT_EQ(text::MatchFace({"Times New Roman", true, false, 0}).family, "Liberation Serif");
    EXPECT_TRUE(text::MatchFace({"Times New Roman", true, false, 0}).hasBold);
    // An unknown name falls back by pitch and family bits.
    EXPECT_EQ(text::MatchFace({"No Such Face 123", false, false, 0}).family, "Liberation Sans");
    EXPECT_EQ(text::MatchFace({"No Such Face 123", false, false, 0x10}).family, "Liberation Serif");
    EXPECT_EQ(text::MatchFace({"No Such Face 123", false, false, FIXED_PITCH}).family, "Liberation Mono");
    EXPECT_TRUE(text::MatchFace({"Marlett", false, false, 0}).builtinMarlett);
}

TEST_F(TextFont, BadLogFontsGiveDefinedFonts) {
    Canvas c(8, 8);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    // A face name filling all 32 bytes is cut to 31 characters, never read past.
    LOGFONTA full = Font("", -12);
    std::memset(full.lfFaceName, 'A', LF_FACESIZE);
    HFONT f = CreateFontIndirectA(&full);
    LOGFONTA back;
    GetObjectA(f, sizeof back, &back);
    EXPECT_EQ(std::strlen(back.lfFaceName), 31u);
    DeleteObject(f);
    // Absurd heights and widths are clamped; angles far outside a turn are reduced.
    for (LONG h : {100000, -100000, static_cast<LONG>(-2147483647 - 1), 2147483647}) {
        TEXTMETRICA tm = MetricsOf(c.dc(), Font("Arial", h));
        EXPECT_GT(tm.tmHeight, 0);
        EXPECT_LE(tm.tmHeight, 2048);
    }
    LOGFONTA odd = Font("Arial", -12);
    odd.lfWidth = -2147483647;
    odd.lfEscapement = -2147483647;
    odd.lfWeight = 123456;
    HFONT g = CreateFontIndirectA(&odd);
    HGDIOBJ old = SelectObject(c.dc(), g);
    EXPECT_TRUE(TextOutA(c.dc(), 0, 0, "x", 1));
    SelectObject(c.dc(), old);
    DeleteObject(g);
}

TEST_F(TextFont, MarlettReportsASquareCell) {
    Canvas c(8, 8);
    TEXTMETRICA tm = MetricsOf(c.dc(), Font("Marlett", -13));
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(ExtentOf(c.dc(), Font("Marlett", -13), "3456").cx, 4 * 13);
}

TEST_F(TextFont, SystemParametersFollowTheTableAndTheScale) {
    NONCLIENTMETRICSA m;
    m.cbSize = sizeof m;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &m, 0));
    EXPECT_EQ(m.cbSize, 340u);
    EXPECT_EQ(m.iScrollWidth, 16);
    EXPECT_EQ(m.iCaptionHeight, 18);
    EXPECT_EQ(m.lfCaptionFont.lfHeight, -11);
    EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(m.lfMenuFont.lfWeight, FW_NORMAL);
    EXPECT_STREQ(m.lfMessageFont.lfFaceName, "Tahoma");
    LOGFONTA icon;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETICONTITLELOGFONT, 0, &icon, 0));
    EXPECT_EQ(icon.lfHeight, -11);
    BOOL gradient = FALSE;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0));
    EXPECT_TRUE(gradient);
    NONCLIENTMETRICSA bad;
    bad.cbSize = 12;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &bad, 0));
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, nullptr, 0));
    // 144 dots per inch: everything half as large again.
    brimlox::gdi::SetTwipsPerPixel(10);
    m.cbSize = sizeof m;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &m, 0);
    brimlox::gdi::SetTwipsPerPixel(15);
    EXPECT_EQ(m.iScrollWidth, 24);
    EXPECT_EQ(m.lfCaptionFont.lfHeight, -16);
}

TEST_F(TextFont, GlyphCacheStaysWithinItsBudgetAndReusesGlyphs) {
    Canvas c(200, 40);
    auto& cache = text::GlyphCache::Instance();
    cache.Clear();
    LOGFONTA lf = Font("Tahoma", -11);
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(c.dc(), f);
    const char* caption = "The quick brown fox jumps over the lazy dog 0123456789";
    TextOutA(c.dc(), 0, 0, caption, static_cast<int>(std::strlen(caption)));
    std::size_t misses = cache.Misses();
    TextOutA(c.dc(), 0, 20, caption, static_cast<int>(std::strlen(caption)));
    EXPECT_EQ(cache.Misses(), misses);  // the second caption is drawn from the cache alone
    // Every printable character of a typical UI font takes a few kilobytes at most.
    std::string all;
    for (int ch = 32; ch < 256; ++ch) all += static_cast<char>(ch);
    TextOutA(c.dc(), 0, 0, all.c_str(), static_cast<int>(all.size()));
    EXPECT_LT(cache.Bytes(), 64u * 1024u);
    RecordProperty("GlyphCacheBytesTahoma8pt", static_cast<int>(cache.Bytes()));
    // A small budget evicts old glyphs but drawing still works.
    cache.SetLimit(2048);
    TextOutA(c.dc(), 0, 0, all.c_str(), static_cast<int>(all.size()));
    EXPECT_LE(cache.Bytes(), 2048u + 1024u);
    // A run that keeps evicting the glyphs it used a moment ago (a budget of one glyph, every
    // character rendered again) paints what a run drawn from a warm cache paints.
    const char* repeated = "abcabc WMWM abcabc";
    const int length = static_cast<int>(std::strlen(repeated));
    Canvas cold(200, 20), warm(200, 20);
    HGDIOBJ oldCold = SelectObject(cold.dc(), f);
    HGDIOBJ oldWarm = SelectObject(warm.dc(), f);
    cache.Clear();
    cache.SetLimit(1);
    TextOutA(cold.dc(), 0, 0, repeated, length);
    EXPECT_LE(cache.Count(), 1u);
    cache.SetLimit(text::GlyphCache::kDefaultLimit);
    TextOutA(warm.dc(), 0, 0, repeated, length);
    int differing = 0, ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x) {
            differing += cold.At(x, y) != warm.At(x, y);
            ink += warm.At(x, y) != RGB(255, 255, 255);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(ink, 50);
    // A glyph just found is found again from the recent slots, but never one that was replaced,
    // evicted or cleared since.
    const std::uint64_t key = text::GlyphCache::Key(0xFFFFFF, 'q');
    auto image = [](int width) {
        text::GlyphImage g;
        g.width = width;
        return g;
    };
    cache.Insert(key, image(3));
    ASSERT_NE(cache.Find(key), nullptr);
    EXPECT_EQ(cache.Find(key)->width, 3);
    cache.Insert(key, image(5));
    ASSERT_NE(cache.Find(key), nullptr);
    EXPECT_EQ(cache.Find(key)->width, 5);
    EXPECT_EQ(cache.Find(key, text::GlyphPool::Rotated), nullptr);
    cache.SetLimit(0);
    EXPECT_EQ(cache.Find(key), nullptr);
    cache.SetLimit(text::GlyphCache::kDefaultLimit);
    cache.Insert(key, image(7));
    EXPECT_EQ(cache.Find(key)->width, 7);
    cache.Clear();
    EXPECT_EQ(cache.Find(key), nullptr);
    SelectObject(cold.dc(), oldCold);
    SelectObject(warm.dc(), oldWarm);
    SelectObject(c.dc(), old);
    DeleteObject(f);
}
