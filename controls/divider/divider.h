// Divider: a separator for tool bars and panels. It draws a thin soft line, sunk (dip) or
// raised (bump), across the middle of its long side, or nothing at all (space and spring, the
// latter stretched by a tool-bar container); optionally over a two-way gradient of its back
// colour or over the part of its container's picture that lies behind it. A tool-bar
// container turns it with Rotate, and the user may drag a Moveable divider with Alt and the
// left mouse button, Escape putting it back.
//
// The model (properties, persistence, Rotate) is in divider_model.cpp, the painting in
// divider_paint.cpp, the Alt-drag in divider_input.cpp and the interface description in
// divider_type.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "controls/alt_drag_watch.h"
#include "foundation/host_contract.h"

namespace brimlox::controls {

enum DividerStyleConst : std::int16_t { SpaceDivider = 0, DipDivider = 1, BumpDivider = 2, SpringDivider = 3 };

class Divider : public host::Control {
public:
    Divider();
    ~Divider() override;

    std::string TypeName() const override { return "Divider"; }
    // The host's provisional name; InitProperties renames a new divider to div, div1 ...
    std::string DefaultNameBase() const override { return "Divider"; }
    const host::TypeInfo* GetTypeInfo() const override;

    // ---- Host lifecycle and events ----------------------------------------------------------
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Paint() override;
    void MouseDown(int button, int shift, float x, float y) override;
    void MouseMove(int button, int shift, float x, float y) override;
    void MouseUp(int button, int shift, float x, float y) override;
    void CaptureLost() override;
    void Terminate() override;

    // ---- Properties --------------------------------------------------------------------------
    std::uint32_t BackColor() const { return host::Control::BackColor(); }
    void SetBackColor(std::uint32_t color);
    std::uint32_t ForeColor() const { return host::Control::ForeColor(); }
    void SetForeColor(std::uint32_t color);
    std::int16_t Style() const { return style_; }
    // Values outside DividerStyleConst are refused: the style stays as it was.
    void SetStyle(std::int16_t style);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // The luminance change of the gradient, -0.99 to 0.99, read back rounded to 2 decimals.
    float GradientPct() const;
    void SetGradientPct(float fraction);
    bool Moveable() const { return moveable_; }
    void SetMoveable(bool on);

    // ---- Methods -----------------------------------------------------------------------------
    void ShowAboutBox();
    // Clears the surface and paints.
    void Refresh();
    // Turns the divider across or along its tool-bar container: inside a SplitWindow a
    // divider that does not lie as asked swaps its width and height. Elsewhere nothing.
    void Rotate(bool vertical);

    // ---- State the tests read ----------------------------------------------------------------
    bool Dragging() const { return dragging_; }
    COLORREF LightColor() const { return lightColor_; }
    COLORREF DarkColor() const { return darkColor_; }

private:
    // Model helpers (divider_model.cpp).
    void ComputeGradient();
    std::shared_ptr<host::Dispatch> SplitWindowContainer() const;
    bool ContainerFlag(const char* property) const;
    void RefreshContainer();
    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;

    // Painting (divider_paint.cpp).
    bool PaintContainerPicture();
    void TakeContainerColour();
    void NoteBackColour();
    void DrawGradient();
    void DrawLine();

    // Input (divider_input.cpp).
    void StartDrag();
    void EndDrag(bool putBack);

    // Persisted properties; BackColor and ForeColor live on the host surface.
    std::int16_t style_ = SpaceDivider;
    bool transparent_ = true;
    float gradientPct_ = 0;
    bool moveable_ = false;

    // The gradient's two colours and the back colour they were made from.
    COLORREF lightColor_ = 0, darkColor_ = 0;
    COLORREF lastBackColour_ = 0;

    // The last press and the drag it began.
    std::int16_t lastButton_ = 0, lastShift_ = 0;
    float grabX_ = 0, grabY_ = 0;
    std::unique_ptr<AltDragWatch> dragWatch_;
    bool dragging_ = false;
    std::int32_t dragStartLeft_ = 0, dragStartTop_ = 0;
    std::int16_t styleBeforeDrag_ = SpaceDivider;
};

}  // namespace brimlox::controls
