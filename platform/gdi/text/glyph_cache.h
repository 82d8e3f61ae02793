// Rendered glyphs shared by every font of the same face, size, style and angle. The cache
// keeps the most recently used glyphs within a byte budget, so a paint that draws the same
// caption again never touches FreeType.
//
// Glyphs drawn at an angle live in a pool of their own with its own, smaller budget: text
// turned through many angles (a caption animated round a dial, a label at each of 360
// degrees) makes new glyphs at every angle, and would otherwise push out the upright glyphs
// that every control draws with. Together the two pools never hold more than
// kDefaultLimit + kDefaultRotatedLimit bytes of glyphs (5 MiB) unless a caller changes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace brimlox::gdi::text {

// A 1-bpp glyph image placed relative to the pen position on the baseline.
struct GlyphImage {
    int left = 0;  // first column, from the pen position
    int top = 0;   // first row, from the baseline (negative above it)
    int width = 0;
    int height = 0;
    int pitch = 0;                    // bytes per row
    std::vector<std::uint8_t> bits;   // most significant bit first

    bool Ink(int x, int y) const {
        return (bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch) +
                     static_cast<std::size_t>(x >> 3)] >> (7 - (x & 7))) & 1;
    }
    std::size_t Bytes() const { return sizeof(GlyphImage) + bits.size(); }
};

// Which pool a glyph belongs to: upright text, or text at any other angle.
enum class GlyphPool { Upright = 0, Rotated = 1 };

class GlyphCache {
public:
    static GlyphCache& Instance();

    // The glyph under a key, or nullptr. A returned pointer stays valid until the next Insert.
    const GlyphImage* Find(std::uint64_t key, GlyphPool pool = GlyphPool::Upright);
    // Stores a glyph and evicts the least recently used ones of its pool beyond that pool's
    // budget (never the glyph just stored).
    const GlyphImage* Insert(std::uint64_t key, GlyphImage image, GlyphPool pool = GlyphPool::Upright);

    void SetLimit(std::size_t bytes, GlyphPool pool = GlyphPool::Upright);
    std::size_t Limit(GlyphPool pool = GlyphPool::Upright) const { return Of(pool).limit; }
    // Bytes and glyphs held by one pool.
    std::size_t Bytes(GlyphPool pool) const { return Of(pool).bytes; }
    std::size_t Count(GlyphPool pool) const { return Of(pool).map.size(); }
    // Bytes and glyphs held by both pools.
    std::size_t Bytes() const { return Bytes(GlyphPool::Upright) + Bytes(GlyphPool::Rotated); }
    std::size_t Count() const { return Count(GlyphPool::Upright) + Count(GlyphPool::Rotated); }
    std::uint64_t Hits() const { return hits_; }
    std::uint64_t Misses() const { return misses_; }
    void Clear();

    // A key from the identity of a rendering (face, size, style, angle) and a character.
    static std::uint64_t Key(std::uint32_t styleId, unsigned char ch) {
        return (static_cast<std::uint64_t>(styleId) << 8) | ch;
    }

    // Default budgets: several thousand upright glyphs of typical UI sizes, and about a
    // thousand glyphs at other angles.
    static constexpr std::size_t kDefaultLimit = 4u << 20;
    static constexpr std::size_t kDefaultRotatedLimit = 1u << 20;

private:
    struct Entry {
        std::uint64_t key;
        GlyphImage image;
    };
    struct Pool {
        std::list<Entry> lru;  // most recent first
        std::unordered_map<std::uint64_t, std::list<Entry>::iterator> map;
        std::size_t bytes = 0;
        std::size_t limit = 0;
    };
    GlyphCache();
    Pool& Of(GlyphPool pool) { return pools_[static_cast<int>(pool)]; }
    const Pool& Of(GlyphPool pool) const { return pools_[static_cast<int>(pool)]; }
    static void EvictBeyond(Pool& pool, const Entry* keep);

    // The last glyphs found, by key, in front of the pools' maps: a text run asks for the same
    // few characters again and again. An entry holds while its epoch matches `epoch_`, which
    // every insertion and removal moves on.
    struct Recent {
        std::uint64_t key = 0;
        std::uint64_t epoch = 0;
        int pool = 0;
        std::list<Entry>::iterator at;
    };
    static constexpr std::size_t kRecentSlots = 64;  // Find picks a slot from the top six bits of a hash
    Recent recent_[kRecentSlots];
    std::uint64_t epoch_ = 1;
    const GlyphImage* Touch(Pool& pool, std::list<Entry>::iterator at);

    Pool pools_[2];
    std::uint64_t hits_ = 0;
    std::uint64_t misses_ = 0;
};

}  // namespace brimlox::gdi::text
