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
//     size it; Delete removes it; Escape cancels a drag, or else selects the container one
//     level up (then the form).
// Each finished gesture is one Commit of the document.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/designer/design_document.h"
#include "apps/designer/grab_handles.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

class DesignSurface {
public:
    // Subclasses the document's form window until destroyed; destroy it before the document.
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
    // What a press on the form started (see surface_input.cpp for the state table).
    enum class Gesture { None, Pending, Move, Size, Band, Place };
    struct Drag {
        Gesture gesture = Gesture::None;
        POINT start{};                           // the press, form client pixels
        POINT last{};                            // the latest point
        std::shared_ptr<host::Control> pressed;  // the control under the press
        host::Control* container = nullptr;      // band and placing: where (nullptr: the form)
        GrabPlace place = kTopLeft;              // sizing: the handle
        std::vector<RECT> original;              // move and size: the selection's twips before
        bool outlineShown = false;               // band and placing: the XOR outline is drawn
        RECT outline{};                          // ... at this screen rectangle
    };

    // --- the form's window (design_surface.cpp) ---
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnFormMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void RefreshHandles();
    // The selected controls' windows are subclassed while selected, so that a move or size
    // made elsewhere (the property grid, code) brings the handles along.
    static LRESULT CALLBACK WatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void WatchSelection();
    void UnwatchAll();
    RECT RectOnForm(const host::Control& control) const;
    std::shared_ptr<host::Control> ControlAt(POINT formPoint, host::Control* within = nullptr) const;
    std::shared_ptr<host::Control> Shared(const host::Control* control) const;
    bool IsSelected(const host::Control& control) const;
    std::int32_t Snap(std::int32_t twips) const;

    // --- mouse gestures (surface_input.cpp) ---
    void Press(POINT p);
    void DragTo(POINT p);
    void Release(POINT p);
    void CancelGesture();
    void OnHandleMouse(UINT msg, GrabPlace place, POINT p);
    void BeginMove();
    void MoveSelection(POINT p);
    void SizeSelection(POINT p);
    void RestoreOriginal();
    void DrawOutline(RECT formRect);
    void EraseOutline();
    void FinishBand(RECT formRect, host::Control* container);
    void EndGesture();

    // --- placing and keys (surface_keys.cpp) ---
    void FinishPlace(POINT p, const Drag& done);
    RECT PlacedTwips(POINT p, const Drag& done) const;
    bool MoveOrSizeByKey(WPARAM vk, bool size, bool fine);

    DesignDocument& document_;
    std::string placingType_;
    std::function<void()> onPlaced_;
    std::int32_t gridTwips_ = 120;
    HWND formWindow_ = nullptr;
    LONG_PTR formProc_ = 0;  // the form's own procedure, called for what the surface leaves
    std::unique_ptr<GrabHandles> handles_;
    std::size_t selectionListener_ = 0;
    std::size_t rebuildListener_ = 0;
    std::vector<HWND> watched_;
    Drag drag_;
};

}  // namespace brimlox::designer
