// How many times a device context has been used: every GDI call that reads or draws through a
// DC looks it up first. Code that holds a DC can tell from two readings whether anything may
// have been drawn in between (an unchanged count means no DC was used at all).
#pragma once

#include <cstdint>

namespace brimlox::gdi {

std::uint64_t DcUseCount();

}  // namespace brimlox::gdi
