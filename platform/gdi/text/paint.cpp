// Glyph and band painting for every surface layout.
#include "platform/gdi/text/paint.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "platform/gdi/raster/fill.h"
#include "platform/gdi/text/glyph_cache.h"

namespace brimlox::gdi::text {

PlacedRun PlaceRun(Typeface& face, std::string_view chars, const INT* dx, int extra) {
    PlacedRun run;
    run.chars = chars;
    run.pens.resize(chars.size());
    const int* advances = face.AllAdvances();
    long long pen = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        run.pens[i] = static_cast<int>(std::clamp<long long>(pen, -kMaxSurfaceSide * 64LL, kMaxSurfaceSide * 64LL));
        pen += dx ? dx[i] : advances[static_cast<unsigned char>(chars[i])] + extra;
    }
    run.width = static_cast<int>(std::clamp<long long>(pen, -kMaxSurfaceSide * 64LL, kMaxSurfaceSide * 64LL));
    return run;
}

namespace {

// Copies the ink of one glyph whose bitmap's top left corner lands at (x0, y0). The bitmap
// is walked a byte at a time and only its set bits are visited: a glyph is mostly blank.
void BlitGlyph(Surface& target, const RECT& clip, const GlyphImage& g, int x0, int y0, std::uint32_t value) {
    int gxBegin = std::max(0, clip.left - x0), gxEnd = std::min(g.width, clip.right - x0);
    int gyBegin = std::max(0, clip.top - y0), gyEnd = std::min(g.height, clip.bottom - y0);
    if (gxBegin >= gxEnd || gyBegin >= gyEnd) return;
    const bool direct = target.Format() == PixelFormat::Bgrx32;
    const int firstByte = gxBegin >> 3, lastByte = (gxEnd - 1) >> 3;
    // Bit 7 is the leftmost pixel of a byte; the columns clipped off the ends are masked out.
    const unsigned headMask = 0xFFu >> (gxBegin & 7);
    const unsigned tailMask = (0xFF00u >> (((gxEnd - 1) & 7) + 1)) & 0xFFu;
    for (int gy = gyBegin; gy < gyEnd; ++gy) {
        const std::uint8_t* row = g.bits.data() + static_cast<std::size_t>(gy) * static_cast<std::size_t>(g.pitch);
        std::uint32_t* out = direct ? target.Row32(y0 + gy) + x0 : nullptr;
        for (int b = firstByte; b <= lastByte; ++b) {
            unsigned bits = row[b];
            if (b == firstByte) bits &= headMask;
            if (b == lastByte) bits &= tailMask;
            // Lowest set bit first (the rightmost pixel): clearing it is one instruction, so
            // the next bit does not wait for the position of this one.
            while (bits) {
                const int gx = b * 8 + 7 - std::countr_zero(bits);
                bits &= bits - 1;
                if (direct) out[gx] = value;
                else target.Put(x0 + gx, y0 + gy, value);
            }
        }
    }
}

}  // namespace

void PaintGlyphs(Surface& target, const RECT& clip, Typeface& face, const PlacedRun& run, const RunFrame& frame,
                 std::uint32_t value) {
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;
    // Upright text (the common case) lands each pen offset on a whole pixel: no rounding.
    const bool upright = frame.sin == 0 && frame.cos == 1;
    // The glyphs this run has looked up, by character. A glyph stays where the cache put it
    // until the cache stores another one, which only a miss does, so the memo is dropped
    // whenever the miss count moves.
    struct Seen {
        int ch = -1;
        const GlyphImage* glyph = nullptr;
    };
    std::array<Seen, 32> seen{};
    const GlyphCache& cache = GlyphCache::Instance();
    std::uint64_t misses = cache.Misses();
    for (std::size_t i = 0; i < run.chars.size(); ++i) {
        const auto ch = static_cast<unsigned char>(run.chars[i]);
        Seen& slot = seen[ch & 31];
        if (slot.ch != ch || cache.Misses() != misses) {
            const GlyphImage& found = face.Glyph(ch);
            if (cache.Misses() != misses) {
                seen.fill(Seen{});
                misses = cache.Misses();
            }
            slot = Seen{ch, &found};
        }
        const GlyphImage& g = *slot.glyph;
        if (g.width == 0) continue;
        long long x = static_cast<long long>(g.left), y = static_cast<long long>(g.top);
        if (upright) {
            x += static_cast<long long>(frame.originX) + run.pens[i];
            y += frame.originY;
        } else {
            x += frame.ToX(run.pens[i], 0);
            y += frame.ToY(run.pens[i], 0);
        }
        if (x >= clip.right || y >= clip.bottom || x + g.width <= clip.left || y + g.height <= clip.top) continue;
        BlitGlyph(target, clip, g, static_cast<int>(x), static_cast<int>(y), value);
    }
}

void FillBand(Surface& target, const RECT& clip, const RunFrame& frame, int u0, int u1, int v0, int v1,
              std::uint32_t value) {
    if (u0 >= u1 || v0 >= v1) return;
    double c = frame.cos, s = frame.sin;
    if (s == 0) {  // upright or upside down: a plain rectangle
        RECT r{frame.ToX(c > 0 ? u0 : u1, 0), frame.ToY(0, c > 0 ? v0 : v1),
               frame.ToX(c > 0 ? u1 : u0, 0), frame.ToY(0, c > 0 ? v1 : v0)};
        RECT clipped{std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
                     std::min(r.bottom, clip.bottom)};
        if (clipped.left < clipped.right && clipped.top < clipped.bottom) raster::FillSolid(target, clipped, value);
        return;
    }
    // Any other angle: test each pixel centre of the bounding box against the band.
    double xs[4] = {u0 * c + v0 * s, u1 * c + v0 * s, u0 * c + v1 * s, u1 * c + v1 * s};
    double ys[4] = {-u0 * s + v0 * c, -u1 * s + v0 * c, -u0 * s + v1 * c, -u1 * s + v1 * c};
    int left = std::max<long long>(clip.left, frame.originX + static_cast<long long>(std::floor(*std::min_element(xs, xs + 4))));
    int right = std::min<long long>(clip.right, frame.originX + static_cast<long long>(std::ceil(*std::max_element(xs, xs + 4))));
    int top = std::max<long long>(clip.top, frame.originY + static_cast<long long>(std::floor(*std::min_element(ys, ys + 4))));
    int bottom = std::min<long long>(clip.bottom, frame.originY + static_cast<long long>(std::ceil(*std::max_element(ys, ys + 4))));
    for (int y = top; y < bottom; ++y) {
        double dy = y + 0.5 - frame.originY;
        for (int x = left; x < right; ++x) {
            double dx = x + 0.5 - frame.originX;
            double u = dx * c - dy * s, v = dx * s + dy * c;
            if (u >= u0 && u < u1 && v >= v0 && v < v1) target.Put(x, y, value);
        }
    }
}

}  // namespace brimlox::gdi::text
