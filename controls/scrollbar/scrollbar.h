// ScrollBar: an owner-painted scroll bar with 32-bit Min, Max and Value, arrow buttons, a
// proportional thumb, auto-repeat on arrow and track presses, thumb dragging, a right-click
// jump, an optional filler square at its end, and a middle-button auto-scroll mode.
//
// The work is split by concern: scrollbar_model.* holds the arithmetic (range rules,
// geometry, thumb), scrollbar.cpp the properties, persistence and Resize,
// scrollbar_paint.cpp the drawing, scrollbar_input.cpp the mouse state machine and the
// repeat timer, scrollbar_type.cpp the interface description and the registration.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "controls/scrollbar/scrollbar_model.h"
#include "controls/font3d.h"
#include "foundation/host_contract.h"
#include "platform/host/keyboard.h"

namespace brimlox::controls {

// Font3D values: how the arrow glyphs stand out.

class ScrollBar : public host::Control, public host::KeyboardControl {
public:
    ScrollBar();
    ~ScrollBar() override;

    std::string TypeName() const override { return "ScrollBar"; }
    const host::TypeInfo* GetTypeInfo() const override;

    // ---- Properties ------------------------------------------------------------------------
    std::int32_t Min() const { return range_.Min; }
    void SetMin(std::int32_t v);
    std::int32_t Max() const { return range_.Max; }
    void SetMax(std::int32_t v);
    std::int32_t LargeChange() const { return largeChange_; }
    void SetLargeChange(std::int32_t v);
    std::int16_t SmallChange() const { return smallChange_; }
    void SetSmallChange(std::int16_t v);
    std::int32_t Value() const { return range_.Value; }
    void SetValue(std::int32_t v);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(std::int16_t v);
    std::int16_t Font3D() const { return font3D_; }
    void SetFont3D(std::int16_t v);
    bool ActiveScroll() const { return activeScroll_; }
    void SetActiveScroll(bool v);
    std::int16_t AutoDelay() const { return autoDelay_; }
    void SetAutoDelay(std::int16_t v);
    std::int16_t AutoInterval() const { return autoInterval_; }
    void SetAutoInterval(std::int16_t v);
    bool SoftButtons() const { return softButtons_; }
    void SetSoftButtons(bool v);
    std::int16_t DeadZone() const { return static_cast<std::int16_t>(deadZone_ / 10); }
    void SetDeadZone(std::int16_t v);
    bool Vertical() const { return vertical_; }
    void SetVertical(bool v);
    bool Extended() const { return extended_; }
    void SetExtended(bool v);
    // Surface properties that also tell the designer.
    std::shared_ptr<host::StdPicture> MouseIcon() const { return Control::MouseIcon(); }
    void SetMouseIcon(std::shared_ptr<host::StdPicture> icon);
    std::int16_t MousePointer() const { return Control::MousePointer(); }
    void SetMousePointer(std::int16_t pointer);
    bool Enabled() const { return Control::Enabled(); }
    void SetEnabled(bool enabled);
    bool AutoRedraw() const { return Control::AutoRedraw(); }
    void SetAutoRedraw(bool on);
    // The handles as the host's 32-bit values.
    std::int32_t hDCValue() const;
    std::int32_t hWndValue() const;

    // ---- Methods ---------------------------------------------------------------------------
    // Works out the thumb for Value and paints track and thumb when it moved (or always when
    // forced).
    void Refresh(bool forceRedraw = false);
    void ShowAboutBox();

    // ---- Host calls ------------------------------------------------------------------------
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    void MouseDown(int button, int shift, float x, float y) override;
    void MouseMove(int button, int shift, float x, float y) override;
    void MouseUp(int button, int shift, float x, float y) override;
    void DblClick() override;
    void KeyDown(int keyCode, int shift, bool repeat) override;
    void KeyUp(int keyCode, int shift) override;
    void GotFocus() override;
    void LostFocus() override;
    void FocusCueChanged() override { Refresh(true); }
    void Terminate() override;

    // ---- State the painting and the tests read ---------------------------------------------
    const ScrollGeometry& Geometry() const { return geom_; }
    bool Dragging() const { return dragging_; }
    bool AutoScrolling() const { return anchor_ != 0; }
    std::int16_t ScrollDirection() const { return scrollDirection_; }
    const user::HostTimer& RepeatTimer() const { return *tmrRep_; }

private:
    // Painting (scrollbar_paint.cpp).
    void DrawButtons();
    void PaintTrackAndThumb();
    void DrawArrowGlyphs(HDC dc);
    void DrawGlyph(HDC dc, bool second, int shift, COLORREF colour);
    void DrawTrack(HDC dc, RECT track);
    void DrawThumb(HDC dc);
    void DrawAnchorMark();
    void ShowSurface();
    RECT ButtonRect(bool second) const;
    RECT TrackRect() const;

    // Input (scrollbar_input.cpp).
    void TimerStep();
    void ReportDragProgress();
    void StepPress(std::int32_t old);
    void StepAutoScroll();
    void JumpTo(double along);
    void BeginPress(double along);
    void EndDrag();
    void StartAutoScroll(double along);
    void StopAutoScroll();
    void ShowAutoScrollCursor(int direction);
    void RaiseChange(std::int64_t distance);
    // Keys (scrollbar_keys.cpp).
    void BeginKeyStep(int keyCode, std::int64_t step);
    void EndKeyStep();
    void StepKey();
    void DrawFocusFrame();
    double Along(float x, float y) const { return vertical_ ? y : x; }
    double Across(float x, float y) const { return vertical_ ? x : y; }

    // Model helpers (scrollbar.cpp).
    void SignalRange(const RangeChanges& changes);
    void ApplyReadRange(std::int32_t min, std::int32_t max, std::int32_t value);
    double TwipsPerPixelNow() const;

    ScrollRange range_;
    std::int32_t largeChange_ = 10;
    std::int16_t smallChange_ = 1;
    std::int16_t borderStyle_ = 0;
    std::int16_t font3D_ = Flat;
    bool activeScroll_ = false;
    std::int16_t autoDelay_ = 500;
    std::int16_t autoInterval_ = 55;
    bool softButtons_ = false;
    std::int16_t deadZone_ = 10;  // tenths: ten times the property
    bool vertical_ = false;
    bool extended_ = false;

    ScrollGeometry geom_;
    bool resizing_ = false;

    // Input state.
    std::int16_t lastButton_ = 0;
    std::int16_t lastShift_ = 0;
    double pointerPos_ = 0;
    double pointerCross_ = 0;
    bool mouseDown_ = false;
    bool pressedFirst_ = false;
    bool pressedSecond_ = false;
    bool dragging_ = false;
    std::int32_t dragStart_ = 0;
    std::int32_t lastReported_ = 0;
    double grabOffset_ = 0;
    double anchor_ = 0;
    std::int16_t scrollDirection_ = 0;
    bool inTimer_ = false;
    int heldKey_ = 0;            // the key whose steps repeat, 0 when none
    std::int64_t keyStep_ = 0;   // what each of its steps adds to Value
    std::unique_ptr<user::HostTimer> tmrRep_;
    std::shared_ptr<host::StdPicture> anchorMark_;
};

}  // namespace brimlox::controls
