// Binary (ROP2) and ternary (ROP3) raster operations on device values.
//
// A ROP2 mode m (1..16) is a 4-entry truth table: bit ((P << 1) | D) of (m - 1) is the result
// for pen bit P and destination bit D. A ROP3 code carries its 8-entry truth table in bits
// 16-23: bit ((P << 2) | (S << 1) | D) is the result for pattern P, source S, destination D.
// Both are evaluated bitwise over whole words, so they work on every pixel layout alike.
#pragma once

#include <cstdint>

namespace brimlox::gdi::raster {

inline std::uint32_t ApplyRop2(int rop2, std::uint32_t pen, std::uint32_t dst) {
    unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;
    std::uint32_t r = 0;
    if (table & 8) r |= pen & dst;
    if (table & 4) r |= pen & ~dst;
    if (table & 2) r |= ~pen & dst;
    if (table & 1) r |= ~pen & ~dst;
    return r & 0xFFFFFF;
}

// A binary operation with a fixed pen value is bitwise in the destination: each bit is kept,
// inverted, set or cleared, which one AND and one XOR mask express: (dst & keep) ^ flip.
struct Rop2Masks {
    std::uint32_t keep = 0;
    std::uint32_t flip = 0;
    std::uint32_t Apply(std::uint32_t dst) const { return (dst & keep) ^ flip; }
};

inline Rop2Masks MasksOfRop2(int rop2, std::uint32_t pen) {
    const std::uint32_t cleared = ApplyRop2(rop2, pen, 0);
    return Rop2Masks{ApplyRop2(rop2, pen, 0xFFFFFFFFu) ^ cleared, cleared};
}

inline std::uint8_t Rop3Index(std::uint32_t rop) { return static_cast<std::uint8_t>(rop >> 16); }

// The reference evaluation of any ternary operation: the OR of its minterms.
inline std::uint32_t ApplyRop3(std::uint8_t index, std::uint32_t pat, std::uint32_t src,
                               std::uint32_t dst) {
    std::uint32_t r = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (!(index & (1u << bit))) continue;
        std::uint32_t p = (bit & 4) ? pat : ~pat;
        std::uint32_t s = (bit & 2) ? src : ~src;
        std::uint32_t d = (bit & 1) ? dst : ~dst;
        r |= p & s & d;
    }
    return r & 0xFFFFFF;
}

// Whether a ternary operation reads its source, its pattern, or the destination.
inline bool Rop3UsesSource(std::uint8_t index) { return ((index >> 2) & 0x33) != (index & 0x33); }
inline bool Rop3UsesPattern(std::uint8_t index) { return ((index >> 4) & 0x0F) != (index & 0x0F); }
inline bool Rop3UsesDest(std::uint8_t index) { return ((index >> 1) & 0x55) != (index & 0x55); }

}  // namespace brimlox::gdi::raster
