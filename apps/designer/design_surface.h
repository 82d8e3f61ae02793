// DesignSurface: the designer's mouse and keyboard on a design-mode form, and the marks it
// draws there. In design mode the controls' windows let the mouse through to the form (they
// answer WM_NCHITTEST with HTTRANSPARENT), so the surface sees every press on the form:
//   - a click selects a control (Ctrl+click adds or removes it), a press on the empty form
//     drags a rubber band that selects what it touches, a press inside a container starts a
//     band in that container;
//   - dragging a selected control moves the selection, dragging one of the eight grab handles
//     (small windows kept above the controls) sizes it; both snap to the grid;
//   - with a type picked in the toolbox, dragging draws the new control's rectangle (a click
//     gives the type's default size) inside the container under the press;
//   - the arrow keys move the selection by one grid step (one pixel with Ctrl), Shift+arrows
//     size it; Delete removes it.
// Each finished gesture is one Commit of the document.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "apps/designer/design_document.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

class DesignSurface {
public:
    explicit DesignSurface(DesignDocument& document);
    ~DesignSurface();
    DesignSurface(const DesignSurface&) = delete;
    DesignSurface& operator=(const DesignSurface&) = delete;

    // The type the next rectangle drawn on the form creates; empty for the pointer.
    void SetPlacingType(std::string typeName);
    const std::string& PlacingType() const { return placingType_; }
    // Called after a control was placed (the toolbox goes back to the pointer).
    void SetPlacedHandler(std::function<void()> handler) { onPlaced_ = std::move(handler); }

    // The grid moves and sizes snap to, in twips (default 120); 0 turns snapping off.
    std::int32_t GridTwips() const { return gridTwips_; }
    void SetGridTwips(std::int32_t twips);

    // A key pressed while the design window is active; true when the surface used it.
    bool HandleKey(WPARAM vk, int shift);

private:
    DesignDocument& document_;
    std::string placingType_;
    std::function<void()> onPlaced_;
    std::int32_t gridTwips_ = 120;
};

}  // namespace brimlox::designer
