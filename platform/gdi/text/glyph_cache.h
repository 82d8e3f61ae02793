// Rendered glyphs shared by every font of the same face, size, style and angle. The cache
// keeps the most recently used glyphs within a byte budget, so a paint that draws the same
// caption again never touches FreeType.
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

class GlyphCache {
public:
    static GlyphCache& Instance();

    // The glyph under a key, or nullptr. A returned pointer stays valid until the next Insert.
    const GlyphImage* Find(std::uint64_t key);
    // Stores a glyph and evicts the least recently used ones beyond the budget (never the
    // glyph just stored).
    const GlyphImage* Insert(std::uint64_t key, GlyphImage image);

    void SetLimit(std::size_t bytes);
    std::size_t Limit() const { return limit_; }
    std::size_t Bytes() const { return bytes_; }
    std::size_t Count() const { return map_.size(); }
    std::uint64_t Hits() const { return hits_; }
    std::uint64_t Misses() const { return misses_; }
    void Clear();

    // A key from the identity of a rendering (face, size, style, angle) and a character.
    static std::uint64_t Key(std::uint32_t styleId, unsigned char ch) {
        return (static_cast<std::uint64_t>(styleId) << 8) | ch;
    }

    // Default budget: several thousand glyphs of typical UI sizes.
    static constexpr std::size_t kDefaultLimit = 4u << 20;

private:
    struct Entry {
        std::uint64_t key;
        GlyphImage image;
    };
    void EvictBeyond(std::size_t limit, const Entry* keep);

    std::list<Entry> lru_;  // most recent first
    std::unordered_map<std::uint64_t, std::list<Entry>::iterator> map_;
    std::size_t bytes_ = 0;
    std::size_t limit_ = kDefaultLimit;
    std::uint64_t hits_ = 0;
    std::uint64_t misses_ = 0;
};

}  // namespace brimlox::gdi::text
