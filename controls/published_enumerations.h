// The members of the library's shared enumerations as the type library publishes them, so
// property browsers and form-file checks can name a property's values. Each control's own
// enumerations are published with its type description.
#pragma once

#include <vector>

#include "platform/host/type_info.h"

namespace brimlox::controls {

inline std::vector<host::EnumMember> BevelConstMembers() {
    return {{0, "NoBevel"},   {1, "Inset"},      {2, "Outlined"},  {3, "Bump"},         {4, "Raised"},      {5, "Dip"},
            {6, "Etched"},    {7, "SoftRaised"}, {8, "SoftInset"}, {9, "FlatOutline"}, {10, "MonoOutline"}};
}

inline std::vector<host::EnumMember> Font3dConstMembers() { return {{-1, "Raised3D"}, {0, "Flat"}, {1, "Inset3D"}}; }

}  // namespace brimlox::controls
