// The text of the stored layout values. "Form" holds a form record as five comma-separated
// numbers (left, top, width, height, state); "Window"n holds a control record as fourteen
// fields (name, index + 1, left, top, width, height, float width, float height, fixed X,
// fixed Y, vertical as 0 or 1, dock, container name, container index + 1).
//
// Numbers are written without the locale: a point as decimal separator, up to seven
// significant digits, a space in front of a non-negative number and a minus sign in front of a
// negative one; the first number of "Form" loses its leading space, so a form at 1200, 900 of
// size 6000 x 4500 in the normal state reads "1200, 900, 6000, 4500, 0".
//
// The readers accept exactly what the writers produce (and blanks around a field): no
// exponents, no hexadecimal, no "nan", no values beyond the bounds below. A value that does
// not split into the right number of fields, or holds a field that is not such a number, is
// rejected as a whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/persistence/persist_records.h"

namespace brimlox::foundation {

// Positions and the docking-control lengths lie within +/- this many twips.
inline constexpr double kMaxLayoutCoordinate = 2000000;
// Widths and heights are at most this many twips, as in form files: every form gets a backing
// surface of its size, and a stored value must not make the host allocate gigabytes.
inline constexpr double kMaxLayoutSize = 100000;

// One number as the writer formats it: " 1200", " 0.5", "-15".
std::string FormatLayoutNumber(double value);
// The number a field spells, or nothing.
std::optional<double> ParseLayoutNumber(std::string_view field);
// The value split at every comma (no quoting: a name holding a comma gives an extra field).
std::vector<std::string_view> SplitLayoutFields(std::string_view value);

std::string FormatFormValue(const typPersistForm& form);
// A state outside 0-2 (or not a whole number) reads as 0, the normal state.
std::optional<typPersistForm> ParseFormValue(std::string_view value);

std::string FormatWindowValue(const typPersistControl& control);
// A dock value outside 0-4 (or not a whole number) reads as typPersistControl::kNoDock.
std::optional<typPersistControl> ParseWindowValue(std::string_view value);

}  // namespace brimlox::foundation
