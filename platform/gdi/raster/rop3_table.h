// The 256 ternary raster operations as compiled row loops. Each row of the table holds the
// shortest expression over P (pattern), S (source) and D (destination) that has the
// operation's truth table, and a loop that applies it to a row of device values. The
// expressions are checked against the truth-table reference ApplyRop3 in rop.h by a test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brimlox::gdi::raster {

// Applies one operation to n pixels: dst[i] = f(pat[i], src[i], dst[i]). The three rows must
// not overlap; a row the operation does not read may be any readable row of n values.
using Rop3RowFn = void (*)(std::uint32_t* __restrict__ dst, const std::uint32_t* __restrict__ src,
                           const std::uint32_t* __restrict__ pat, std::size_t n);

struct Rop3Entry {
    const char* formula;  // as written in the table, e.g. "((D^P)&S)^P" for 0xB8
    Rop3RowFn row;
    std::uint32_t (*pixel)(std::uint32_t pat, std::uint32_t src, std::uint32_t dst);
};

// The table row of an operation index (bits 16-23 of a ROP3 code).
const Rop3Entry& Rop3(std::uint8_t index);

}  // namespace brimlox::gdi::raster
