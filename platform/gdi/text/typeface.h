// A font made ready for drawing: the metrics GetTextMetricsA reports, advance widths and
// glyph images at the font's angle. A FontObject gets one the first time it is drawn with;
// glyphs come from the shared GlyphCache. Two kinds exist: FreeType faces found through
// fontconfig, and the built-in Marlett symbol face.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdi/font.h"
#include "platform/gdi/text/glyph_cache.h"

namespace brimlox::gdi::text {

// Largest character height in pixels a font is realised at; larger requests are clamped.
constexpr int kMaxEmPixels = 1024;

// Decorations drawn with the glyphs, as offsets from the baseline (y down) in pixels.
struct Decorations {
    bool underline = false;
    bool strikeOut = false;
    int underlineTop = 1;
    int underlineSize = 1;
    int strikeTop = -4;
    int strikeSize = 1;
};

// Advance widths of one rendering, shared by every font object of the same style, so a
// font created for each paint does not measure its characters again.
struct AdvanceTable {
    AdvanceTable() { values.fill(-1); }
    std::array<int, 256> values;  // -1 until measured
    bool complete = false;        // every character measured
};

class Typeface : public RealizedFont {
public:
    const TEXTMETRICA& Metrics() const { return metrics_; }
    const Decorations& Lines() const { return lines_; }
    // Escapement in tenths of a degree, normalised to 0..3599, and its direction.
    int AngleTenths() const { return angleTenths_; }
    double Cos() const { return cos_; }
    double Sin() const { return sin_; }

    // Advance width of a character along the baseline, whole pixels.
    int Advance(unsigned char ch) {
        int& a = advances_->values[ch];
        if (a < 0) a = ComputeAdvance(ch);
        return a;
    }
    // The whole advance table, indexed by character, for loops that measure long texts. The
    // first call for a style measures all 256 characters.
    const int* AllAdvances() {
        if (!advances_->complete) {
            for (int ch = 0; ch < 256; ++ch) Advance(static_cast<unsigned char>(ch));
            advances_->complete = true;
        }
        return advances_->values.data();
    }
    // The glyph of a character at the font's angle. Valid until the next Glyph call.
    const GlyphImage& Glyph(unsigned char ch);

protected:
    Typeface() = default;
    void SetAngle(LONG escapement);
    // Names the rendering (face, size, style, angle): glyphs and advances are shared by name.
    void SetStyle(const std::string& description);
    virtual int ComputeAdvance(unsigned char ch) = 0;
    virtual GlyphImage Render(unsigned char ch) = 0;

    TEXTMETRICA metrics_;
    Decorations lines_;
    std::uint32_t styleId_ = 0;  // identity of face, size, style and angle in the glyph cache

private:
    AdvanceTable* advances_ = nullptr;
    int angleTenths_ = 0;
    double cos_ = 1.0;
    double sin_ = 0.0;
};


// Realises a LOGFONT: the matching face, clamped size, synthetic styles and angle.
std::unique_ptr<Typeface> RealizeTypeface(const LOGFONTA& logFont);
std::unique_ptr<Typeface> RealizeMarlett(const LOGFONTA& logFont);

// The face name of a LOGFONT: at most 31 characters, never read past the field.
std::string FaceName(const LOGFONTA& logFont);

// The typeface of a font object, realised on first use; nullptr for a bad handle.
Typeface* TypefaceOf(HFONT font);

}  // namespace brimlox::gdi::text
