// Checks a loaded control's property bag against the interface its type publishes: what the
// form-file loader accepts but is most likely a mistake in a hand-edited file. Used by
// `brimlox check` and open to designers.
#pragma once

#include <string>
#include <vector>

#include "platform/host/control.h"
#include "platform/host/property_bag.h"

namespace brimlox::host {

struct BagWarning {
    std::string key;
    std::string problem;
};

// The warnings for `bag`, which `control` has read (LoadFormFile hands both back), in bag
// order: keys the control never read (a misspelt name); values of another kind than the
// property's (a number for a caption); numbers outside the property's published enumeration
// or range (ArrowType 77, a scroll bar's Value beyond Max).
std::vector<BagWarning> CheckBag(Control& control, const PropertyBag& bag);

}  // namespace brimlox::host
