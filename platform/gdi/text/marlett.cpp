// The built-in Marlett symbol face: the four filled arrow triangles ("3" left, "4" right,
// "5" up, "6" down) that scroll bars draw, and the caption button glyphs ("0" minimise,
// "1" maximise, "2" restore, "r" close), in a square em cell. Other characters draw an
// outlined missing-glyph box, except the space, which is blank.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/gdi/text/typeface.h"

namespace brimlox::gdi::text {

namespace {

// An unrotated glyph drawn cell by cell in em coordinates (0,0 at the cell's top left).
class CellImage {
public:
    explicit CellImage(int size) : size_(size), ink_(static_cast<std::size_t>(size) * size, false) {}
    void Set(int x, int y) {
        if (x >= 0 && y >= 0 && x < size_ && y < size_) ink_[static_cast<std::size_t>(y) * size_ + x] = true;
    }
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < size_ && y < size_ && ink_[static_cast<std::size_t>(y) * size_ + x];
    }
    int Size() const { return size_; }

private:
    int size_;
    std::vector<bool> ink_;
};

// A filled triangle pointing in a direction, centred in the cell; the base is odd so the
// tip sits on the centre pixel.
void DrawArrow(CellImage& cell, unsigned char ch) {
    int s = cell.Size();
    int base = std::max(3, (s / 2) | 1);
    int depth = (base + 1) / 2;
    int c = s / 2;
    int start = c - depth / 2;
    for (int i = 0; i < depth; ++i) {
        int half = (ch == '6' || ch == '4') ? depth - 1 - i : i;  // tip last for down/right
        for (int k = -half; k <= half; ++k) {
            switch (ch) {
                case '6': case '5': cell.Set(c + k, start + i); break;
                default: cell.Set(start + i, c + k); break;
            }
        }
    }
}

// The caption glyphs as drawn in a 14-pixel cell (the classic 16 x 14 caption button less a
// pixel each side); other sizes scale them by whole pixels.
struct CaptionGlyph {
    char ch;
    int left, top;
    const char* rows[9];
};
constexpr CaptionGlyph kCaptionGlyphs[] = {
    {'r', 3, 3, {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##", nullptr}},
    {'0', 3, 9, {"######", "######", nullptr}},
    {'1', 2, 2, {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
                 "#.......#", "#########"}},
    {'2', 2, 2, {"..######", "..######", "..#....#", "######.#", "######.#", "#....###", "#....#", "#....#",
                 "######"}},
};

// The close glyph of small (tool window) caption buttons, for cells under 14 pixels.
constexpr CaptionGlyph kSmallClose{'r', 0, 0, {"##...##", ".##.##.", "..###..", ".##.##.", "##...##", nullptr}};

bool DrawCaptionGlyph(CellImage& cell, unsigned char ch) {
    if (ch == 'r' && cell.Size() < 14) {
        const int left = (cell.Size() - 7) / 2, top = (cell.Size() - 5) / 2;
        for (int y = 0; kSmallClose.rows[y]; ++y)
            for (int x = 0; kSmallClose.rows[y][x]; ++x)
                if (kSmallClose.rows[y][x] == '#') cell.Set(left + x, top + y);
        return true;
    }
    for (const CaptionGlyph& g : kCaptionGlyphs) {
        if (static_cast<unsigned char>(g.ch) != ch) continue;
        const int scale = std::max(1, (cell.Size() + 7) / 14);
        const int offset = (cell.Size() - 14 * scale) / 2;  // centre the scaled 14-pixel design
        for (int y = 0; y < 9 && g.rows[y]; ++y)
            for (int x = 0; g.rows[y][x]; ++x)
                if (g.rows[y][x] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            cell.Set(offset + (g.left + x) * scale + dx, offset + (g.top + y) * scale + dy);
        return true;
    }
    return false;
}

void DrawBox(CellImage& cell) {
    int s = cell.Size();
    int l = s / 6, r = s - 1 - s / 6, t = s / 6, b = s - 1 - s / 6;
    for (int x = l; x <= r; ++x) cell.Set(x, t), cell.Set(x, b);
    for (int y = t; y <= b; ++y) cell.Set(l, y), cell.Set(r, y);
}

class MarlettFace final : public Typeface {
public:
    explicit MarlettFace(const LOGFONTA& lf) {
        SetAngle(lf.lfEscapement);
        long long h = lf.lfHeight == 0 ? 16 : std::llabs(static_cast<long long>(lf.lfHeight));
        em_ = static_cast<int>(std::clamp<long long>(h, 1, kMaxEmPixels));
        TEXTMETRICA& tm = metrics_;
        tm.tmHeight = tm.tmAscent = em_;
        tm.tmAveCharWidth = tm.tmMaxCharWidth = em_;
        tm.tmWeight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 1, 1000);
        int dpi = std::max(1, (1440 + TwipsPerPixel() / 2) / TwipsPerPixel());
        tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = dpi;
        tm.tmFirstChar = 32;
        tm.tmLastChar = 255;
        tm.tmDefaultChar = 32;
        tm.tmBreakChar = 32;
        tm.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE;
        tm.tmCharSet = SYMBOL_CHARSET;
        tm.tmItalic = lf.lfItalic ? 1 : 0;
        tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
        tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
        lines_.underline = lf.lfUnderline != 0;
        lines_.strikeOut = lf.lfStrikeOut != 0;
        lines_.underlineTop = 0;
        lines_.strikeTop = -em_ / 2;
        SetStyle("marlett/" + std::to_string(em_) + "/a" + std::to_string(AngleTenths()));
    }

protected:
    int ComputeAdvance(unsigned char) override { return em_; }
    GlyphImage Render(unsigned char ch) override;

private:
    int em_ = 16;
};

GlyphImage MarlettFace::Render(unsigned char ch) {
    GlyphImage image;
    if (ch == ' ') return image;
    CellImage cell(em_);
    if (ch >= '3' && ch <= '6') DrawArrow(cell, ch);
    else if (!DrawCaptionGlyph(cell, ch)) DrawBox(cell);
    // Map every target pixel back into the unrotated cell (its top left is at (0, -em) from
    // the pen), which leaves no holes at any angle.
    double c = Cos(), s = Sin();
    double corners[4][2] = {{0, -1.0 * em_}, {1.0 * em_, -1.0 * em_}, {0, 0}, {1.0 * em_, 0}};
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (auto& p : corners) {
        double x = p[0] * c + p[1] * s, y = -p[0] * s + p[1] * c;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    image.left = static_cast<int>(std::floor(minX));
    image.top = static_cast<int>(std::floor(minY));
    image.width = static_cast<int>(std::ceil(maxX)) - image.left;
    image.height = static_cast<int>(std::ceil(maxY)) - image.top;
    image.pitch = (image.width + 7) / 8;
    image.bits.assign(static_cast<std::size_t>(image.pitch) * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            double dx = image.left + x + 0.5, dy = image.top + y + 0.5;
            double u = dx * c - dy * s, v = dx * s + dy * c;  // inverse rotation
            if (cell.At(static_cast<int>(std::floor(u)), static_cast<int>(std::floor(v + em_))))
                image.bits[static_cast<std::size_t>(y) * image.pitch + (x >> 3)] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
    }
    return image;
}

}  // namespace

std::unique_ptr<Typeface> RealizeMarlett(const LOGFONTA& logFont) { return std::make_unique<MarlettFace>(logFont); }

}  // namespace brimlox::gdi::text
