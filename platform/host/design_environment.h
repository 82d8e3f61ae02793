// The interactive design environment of the host, as programs see it from outside: its main
// window's title carries the product name below, followed by " [run]" while a program started
// from it is running and " [design]" while it is being edited. This is the one place the name
// is kept; code that asks whether it runs under the designer reads it from here.
#pragma once

#include <string_view>

namespace brimlox::host {

inline constexpr std::string_view kDesignEnvironmentProduct = "Brimlox Designer";

// The product name that the design environment's window titles contain.
inline std::string_view DesignEnvironmentProduct() { return kDesignEnvironmentProduct; }

}  // namespace brimlox::host
