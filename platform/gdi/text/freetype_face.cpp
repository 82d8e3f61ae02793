// Typefaces drawn by FreeType: Windows cell and character heights mapped onto the face's
// em, TrueType metrics reported the way GetTextMetricsA reports them, monochrome hinted
// glyphs, and synthetic bold, oblique and rotation applied to the outline before rendering.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/gdi/text/face_match.h"
#include "platform/gdi/text/typeface.h"

namespace brimlox::gdi::text {

namespace {

// Windows-1252 code points for bytes 0x80..0x9F (0 where the code page has no character).
constexpr std::array<std::uint16_t, 32> kCp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned CodePoint(unsigned char ch) {
    if (ch >= 0x80 && ch < 0xA0) return kCp1252High[ch - 0x80];
    return ch;
}

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    return library;
}

// Faces stay open for the life of the process: there are few files and many fonts.
FT_Face OpenFace(const FaceFile& file) {
    static std::map<std::pair<std::string, int>, FT_Face> faces;
    auto key = std::make_pair(file.path, file.index);
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (!Library() || FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0) face = nullptr;
    if (face) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    faces.emplace(key, face);
    return face;
}

long Round(double v) { return std::lround(v); }

// The em (character height) and cell split that a LOGFONT height asks for.
struct VerticalSize {
    long em;
    long ascent;
    long descent;
    double scale;  // pixels per font unit
};

VerticalSize SizeFor(LONG lfHeight, long upem, long winAscent, long winDescent) {
    long long h = lfHeight == 0 ? 16 : lfHeight;  // height 0: a 16-pixel cell, as Windows
    VerticalSize v{};
    long cellUnits = std::max(1L, winAscent + winDescent);
    if (h < 0) {
        v.em = static_cast<long>(std::min<long long>(-h, kMaxEmPixels));
        v.scale = static_cast<double>(v.em) / upem;
        v.ascent = Round(winAscent * v.scale);
        v.descent = Round(winDescent * v.scale);
    } else {
        long long maxCell = static_cast<long long>(kMaxEmPixels) * cellUnits / upem;
        long cell = static_cast<long>(std::min(h, std::max(1LL, maxCell)));
        v.scale = static_cast<double>(cell) / cellUnits;
        v.ascent = Round(winAscent * v.scale);
        v.descent = cell - v.ascent;
        v.em = std::max(1L, Round(upem * v.scale));
    }
    v.em = std::max(1L, v.em);
    return v;
}

class FreeTypeFace final : public Typeface {
public:
    FreeTypeFace(FT_Face face, const FaceFile& file, const LOGFONTA& lf) : face_(face) {
        SetAngle(lf.lfEscapement);
        FT_New_Size(face_, &size_);
        Measure(file, lf);
        FT_Activate_Size(size_);
        FT_Set_Char_Size(face_, xEm_ * 64, yEm_ * 64, 72, 72);
        bool wantBold = lf.lfWeight >= FW_SEMIBOLD;
        boldStrength_ = (wantBold && !file.hasBold) ? 64 * std::max(1L, Round(yEm_ / 24.0)) : 0;
        oblique_ = lf.lfItalic && !file.hasItalic;
        metrics_.tmMaxCharWidth += boldStrength_ / 64;
        SetStyle(file.path + "#" + std::to_string(file.index) + "/" + std::to_string(xEm_) + "x" +
                           std::to_string(yEm_) + "/b" + std::to_string(boldStrength_) + "/o" +
                           std::to_string(oblique_) + "/a" + std::to_string(AngleTenths()));
    }
    ~FreeTypeFace() override {
        if (size_) FT_Done_Size(size_);
    }

protected:
    int ComputeAdvance(unsigned char ch) override {
        if (!Load(ch)) return 0;
        return static_cast<int>((face_->glyph->advance.x + 32) >> 6) + static_cast<int>(boldStrength_ / 64);
    }
    GlyphImage Render(unsigned char ch) override;

private:
    void Measure(const FaceFile& file, const LOGFONTA& lf);
    bool Load(unsigned char ch) {
        FT_Activate_Size(size_);
        FT_UInt index = FT_Get_Char_Index(face_, CodePoint(ch));
        return FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) == 0;
    }
    void TransformOutline();

    FT_Face face_;
    FT_Size size_ = nullptr;
    long xEm_ = 1;
    long yEm_ = 1;
    FT_Pos boldStrength_ = 0;
    bool oblique_ = false;
};

void FreeTypeFace::Measure(const FaceFile& file, const LOGFONTA& lf) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST));
    long upem = std::max<long>(1, face_->units_per_EM);
    long winAscent = os2 ? os2->usWinAscent : face_->ascender;
    long winDescent = os2 ? os2->usWinDescent : -face_->descender;
    long avgUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2;
    VerticalSize v = SizeFor(lf.lfHeight, upem, winAscent, winDescent);
    yEm_ = v.em;
    // A width asks for an average character width: stretch the em horizontally to match.
    long long width = std::llabs(static_cast<long long>(lf.lfWidth));
    xEm_ = width == 0 ? yEm_ : std::clamp<long>(static_cast<long>(width * upem / avgUnits), 1L, 4L * kMaxEmPixels);
    double xScale = static_cast<double>(xEm_) / upem;

    TEXTMETRICA& tm = metrics_;
    tm.tmAscent = v.ascent;
    tm.tmDescent = v.descent;
    tm.tmHeight = v.ascent + v.descent;
    tm.tmInternalLeading = std::max(0L, tm.tmHeight - v.em);
    long gap = hhea ? hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender)) : 0;
    tm.tmExternalLeading = std::max(0L, Round(gap * v.scale));
    tm.tmAveCharWidth = width != 0 ? static_cast<LONG>(std::min<long long>(width, 1L << 20)) : Round(avgUnits * xScale);
    tm.tmMaxCharWidth = Round((face_->bbox.xMax - face_->bbox.xMin) * xScale);
    tm.tmWeight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 1, 1000);
    tm.tmOverhang = 0;
    int dpi = std::max(1, (1440 + TwipsPerPixel() / 2) / TwipsPerPixel());
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = dpi;
    tm.tmFirstChar = 30;
    tm.tmLastChar = 255;
    tm.tmDefaultChar = 31;
    tm.tmBreakChar = 32;
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    bool fixed = FT_IS_FIXED_WIDTH(face_);
    // TMPF_FIXED_PITCH set means variable pitch (the bit's documented, inverted meaning).
    BYTE family = fixed ? 0x30 : (file.family.find("Serif") != std::string::npos ? 0x10 : 0x20);
    tm.tmPitchAndFamily = static_cast<BYTE>(family | TMPF_TRUETYPE | TMPF_VECTOR | (fixed ? 0 : TMPF_FIXED_PITCH));
    tm.tmCharSet = lf.lfCharSet;

    lines_.underline = lf.lfUnderline != 0;
    lines_.strikeOut = lf.lfStrikeOut != 0;
    if (post) {
        lines_.underlineSize = std::max(1, static_cast<int>(Round(post->underlineThickness * v.scale)));
        lines_.underlineTop = std::max(1, static_cast<int>(Round(-post->underlinePosition * v.scale)));
    }
    if (os2) {
        lines_.strikeSize = std::max(1, static_cast<int>(Round(os2->yStrikeoutSize * v.scale)));
        lines_.strikeTop = -static_cast<int>(Round(os2->yStrikeoutPosition * v.scale));
    }
    lines_.underlineTop = std::min(lines_.underlineTop, std::max(1, static_cast<int>(v.descent) - lines_.underlineSize));
}

void FreeTypeFace::TransformOutline() {
    FT_Outline& outline = face_->glyph->outline;
    if (boldStrength_) FT_Outline_EmboldenXY(&outline, boldStrength_, 0);
    if (oblique_) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees, like an italic
        FT_Outline_Transform(&outline, &shear);
    }
    if (AngleTenths() != 0) {
        auto fixed = [](double v) { return static_cast<FT_Fixed>(std::lround(v * 65536.0)); };
        FT_Matrix rotate{fixed(Cos()), fixed(-Sin()), fixed(Sin()), fixed(Cos())};
        FT_Outline_Transform(&outline, &rotate);
    }
}

GlyphImage FreeTypeFace::Render(unsigned char ch) {
    GlyphImage image;
    if (!Load(ch)) return image;
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) TransformOutline();
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return image;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO || bm.width == 0 || bm.rows == 0) return image;
    image.left = slot->bitmap_left;
    image.top = -slot->bitmap_top;
    image.width = static_cast<int>(bm.width);
    image.height = static_cast<int>(bm.rows);
    image.pitch = (image.width + 7) / 8;
    image.bits.resize(static_cast<std::size_t>(image.pitch) * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* src = bm.pitch >= 0 ? bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch
                                                 : bm.buffer + static_cast<std::ptrdiff_t>(image.height - 1 - y) * -bm.pitch;
        std::memcpy(&image.bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.pitch)], src,
                    static_cast<std::size_t>(image.pitch));
    }
    return image;
}

}  // namespace

std::unique_ptr<Typeface> RealizeTypeface(const LOGFONTA& logFont) {
    FaceRequest request{FaceName(logFont), logFont.lfWeight >= FW_SEMIBOLD, logFont.lfItalic != 0,
                        logFont.lfPitchAndFamily};
    const FaceFile& file = MatchFace(request);
    if (file.builtinMarlett) return RealizeMarlett(logFont);
    FT_Face face = file.path.empty() ? nullptr : OpenFace(file);
    if (!face) return RealizeMarlett(logFont);  // no font installed at all: boxes, never a crash
    return std::make_unique<FreeTypeFace>(face, file, logFont);
}

}  // namespace brimlox::gdi::text
