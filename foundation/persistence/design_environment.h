// Whether the program runs inside the interactive design environment in run mode, told from
// the titles of the top-level windows the way a program sees them from outside.
#pragma once

namespace brimlox::foundation {

// Walks the top-level windows in z-order up to the first whose title names the design
// environment's product; true when that title also says " [run]". False in a normal run,
// where no such window exists.
bool InDesignEnvironment();

}  // namespace brimlox::foundation
