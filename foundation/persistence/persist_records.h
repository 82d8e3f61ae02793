// The records of form layout persistence, as the type library publishes them: the placement of
// a form and the placement of one control on it. Lengths are twips.
#pragma once

#include <cstdint>
#include <string>

namespace brimlox::foundation {

// A form's placement and window state (0 normal, 1 minimised, 2 maximised).
struct typPersistForm {
    float Top = 0;
    float Left = 0;
    float Height = 0;
    float Width = 0;
    std::int32_t State = 0;
};

// One control's placement, its docking-control properties and its container.
struct typPersistControl {
    float Top = 0;
    float Left = 0;
    float Height = 0;
    float Width = 0;
    float FloatHeight = 0;
    float FloatWidth = 0;
    float FixedX = 0;
    float FixedY = 0;
    std::int16_t Dock = 0;        // an Align value; kNoDock when a stored value was out of range
    std::string Name;
    std::int16_t Index = -1;      // -1 outside a control array
    std::string Container;
    std::int16_t ContainIdx = -1; // the container's index, -1 when it has none
    std::int32_t Style = 0;       // collected, never written
    bool Vertical = false;

    static constexpr std::int16_t kNoDock = -1;
};

}  // namespace brimlox::foundation
