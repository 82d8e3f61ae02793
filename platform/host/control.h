// Control: the surface a control author derives from (the host's "UserControl"), together with
// the extender the host wraps around every control on a form. The host creates the control's
// window as a child of its container, calls the lifecycle handlers in their fixed order
// (Initialize; InitProperties or ReadProperties; then Resize, Paint, mouse, click and timer
// handlers; WriteProperties when the form is saved; Terminate), captures the mouse from a press
// to its release, and keeps the surface's DC for the control's whole life.
//
// Geometry at the interface is in twips. The extender's Left, Top, Width and Height are in
// twips of the container's client area; the surface's own coordinates follow its ScaleMode.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/event_source.h"
#include "platform/host/font.h"
#include "platform/host/picture.h"
#include "platform/host/property_bag.h"
#include "platform/host/type_info.h"
#include "platform/user/timer.h"

namespace brimlox::host {

class Form;

// ScaleMode values; Himetric exists for ScaleX/ScaleY only.
enum ScaleModeValue : std::int16_t {
    kScaleUser = 0, kScaleTwips = 1, kScalePoints = 2, kScalePixels = 3, kScaleCharacters = 4,
    kScaleInches = 5, kScaleMillimeters = 6, kScaleCentimeters = 7, kScaleHimetric = 8,
};
// Align values (also the type of SplitWindow.Dock).
enum AlignValue : std::int16_t { kAlignNone = 0, kAlignTop = 1, kAlignBottom = 2, kAlignLeft = 3, kAlignRight = 4 };
enum class LineMode { Line, Box, FilledBox };

// One straight line for Control::Lines, in the surface's scale.
struct LineSegment {
    float x1, y1, x2, y2;
};

// The ambient properties the container offers its controls.
struct AmbientProperties {
    bool UserMode = true;        // false while the form is in design mode
    std::string DisplayName;     // the name the container shows: "cmdOk" or "cmdOk(2)"
    std::shared_ptr<StdFont> Font;
    std::uint32_t BackColor = 0x8000000F;
    std::uint32_t ForeColor = 0x80000012;
};

class Control : public Dispatch, public EventSource {
public:
    Control();
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Makes a control the way the host's factories do. A control made so that loses its last
    // owner while it is handling a message (a handler unloaded its form or removed it) lives
    // on until the handling is over; the guard costs nothing otherwise. A control made any
    // other way is kept alive through shared_from_this while it handles a message.
    template <typename T>
    static std::shared_ptr<T> Make() {
        T* control = new T();
        static_cast<Control*>(control)->freedAfterHandling_ = true;
        return std::shared_ptr<T>(control, [](T* c) { Release(c); });
    }

    const TypeInfo* GetExtenderTypeInfo() const override;

    // ---- What the host calls (authors override the handlers below) -------------------------
    virtual void Initialize() {}
    virtual void InitProperties() {}
    virtual void ReadProperties(PropertyBag& bag) { (void)bag; }
    virtual void WriteProperties(PropertyBag& bag) { (void)bag; }
    virtual void Resize() {}
    virtual void Paint() {}
    virtual void MouseDown(int button, int shift, float x, float y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void MouseMove(int button, int shift, float x, float y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void MouseUp(int button, int shift, float x, float y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void Click() {}
    virtual void DblClick() {}
    // Another window took the mouse capture while a press was in progress: no release will
    // come for it.
    virtual void CaptureLost() {}
    virtual void Terminate() {}
    // A container control holds other controls (ControlContainer).
    virtual bool IsContainer() const { return false; }
    // A windowless control has no window; its container draws it after its own paint.
    virtual bool IsWindowless() const { return false; }
    virtual void DrawWindowless(HDC hdc) { (void)hdc; }
    // True when the coming Paint covers every pixel of the client area: the background is then
    // not erased before it, since the paint would only fill it again.
    virtual bool PaintsWholeClient() const { return false; }
    // A control that only does its work at run time (a timer, a tray icon) keeps its window
    // hidden on a running form whatever Visible says; the designer shows it.
    virtual bool InvisibleAtRunTime() const { return false; }
    // Visible, and not a control that hides itself at run time.
    bool ShownOnForm() const;
    // The base of names given to new instances ("Label" gives Label1, Label2 ...).
    virtual std::string DefaultNameBase() const { return TypeName(); }

    // ---- The surface ---------------------------------------------------------------------------
    HWND hWnd() const { return hwnd_; }
    // The surface DC: the window's own DC, or the persistent bitmap's DC with AutoRedraw.
    HDC hDC() const { return autoRedraw_ ? memDc_ : ownDc_; }
    HWND ContainerHwnd() const;
    std::int16_t ScaleMode() const { return scaleMode_; }
    void SetScaleMode(std::int16_t mode);
    float ScaleLeft() const { return scaleLeft_; }
    float ScaleTop() const { return scaleTop_; }
    float ScaleWidth() const;
    float ScaleHeight() const;
    void SetScaleWidth(float w);
    void SetScaleHeight(float h);
    void SetScaleLeft(float v);
    void SetScaleTop(float v);
    // Conversions between scale modes (0 means this surface's user scale).
    float ScaleX(float value, std::int16_t from = kScaleTwips, std::int16_t to = kScaleUser) const;
    float ScaleY(float value, std::int16_t from = kScaleTwips, std::int16_t to = kScaleUser) const;
    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t color);
    std::uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(std::uint32_t color) { foreColor_ = color; }
    std::shared_ptr<StdFont> Font() const { return font_; }
    void SetFont(std::shared_ptr<StdFont> font);
    std::int16_t MousePointer() const { return mousePointer_; }
    void SetMousePointer(std::int16_t pointer);
    std::shared_ptr<StdPicture> MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(std::shared_ptr<StdPicture> icon) { mouseIcon_ = std::move(icon); }
    std::shared_ptr<StdPicture> Picture() const { return picture_; }
    void SetPicture(std::shared_ptr<StdPicture> picture);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on);
    float CurrentX() const { return currentX_; }
    float CurrentY() const { return currentY_; }
    void SetCurrentX(float v) { currentX_ = v; }
    void SetCurrentY(float v) { currentY_ = v; }
    void Cls();
    void Refresh();
    // Line from (x1, y1) to (x2, y2) in the surface's scale; a colour of -1 means ForeColor.
    void Line(float x1, float y1, float x2, float y2, std::int64_t color = -1, LineMode mode = LineMode::Line);
    // Several lines in one colour: the pixels of one Line call each, with the pen set up once.
    // The current position ends at the last line's end.
    void Lines(std::span<const LineSegment> segments, std::int64_t color = -1);
    // Draws a picture at (x, y); a missing width or height means the picture's own size.
    void PaintPicture(const StdPicture& picture, float x, float y, std::optional<float> width = {},
                      std::optional<float> height = {});
    float TextWidth(const std::string& text);
    float TextHeight(const std::string& text);
    std::vector<std::shared_ptr<Control>> ContainedControls() const;
    // Tells the host a property changed (the designer marks the form as modified).
    void PropertyChanged(const std::string& name);
    AmbientProperties Ambient() const;
    Control& Extender() { return *this; }
    // A timer owned by this control; its ticks run like any host event (errors reported, the
    // surface shown afterwards). The control keeps the returned object.
    std::unique_ptr<user::HostTimer> CreateTimer(std::function<void()> onTick);

    // ---- The extender ----------------------------------------------------------------------
    std::string Name() const { return name_; }
    // Renames the control in the designer; throws HostError 382 at run time, 380 when the name
    // is not valid or is in use.
    void SetName(std::string name);
    std::int16_t Index() const { return index_; }  // -1 outside a control array
    bool IsArrayMember() const { return index_ >= 0; }
    std::int32_t Left() const { return left_; }
    std::int32_t Top() const { return top_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void SetLeft(std::int32_t v) { Move(v, top_, width_, height_); }
    void SetTop(std::int32_t v) { Move(left_, v, width_, height_); }
    void SetWidth(std::int32_t v) { Move(left_, top_, v, height_); }
    void SetHeight(std::int32_t v) { Move(left_, top_, width_, v); }
    // Moves and sizes in twips; a size change raises Resize before Move returns.
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    std::int16_t Align() const { return align_; }
    void SetAlign(std::int16_t align);
    std::string Tag() const { return tag_; }
    void SetTag(std::string tag) { tag_ = std::move(tag); }
    // The container: a container control, or the form itself.
    std::shared_ptr<Dispatch> Container() const;
    Control* ContainerControl() const { return container_; }
    void SetContainer(std::shared_ptr<Dispatch> container);
    // 0 brings the control to the front of its container's z-order, 1 sends it to the back.
    void ZOrder(std::int16_t position = 0);
    std::shared_ptr<Form> Parent() const;
    Form* ParentForm() const { return form_; }

    // Called by the host's form while it creates, places and destroys controls.
    void AttachToForm(Form& form, std::string name, std::int16_t index);
    // Creates the window at the extender's place; `show` makes it visible at once if Visible.
    void CreateSurface(HWND parentWindow, bool show = false);
    void DestroySurface();
    // Sets the extender values a form file gives, before the control is initialised (no events).
    void Site(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, bool visible,
              std::int16_t align, std::string tag);
    void PlaceAligned(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    void SetContainerDirect(Control* container) { container_ = container; }
    // Runs Initialize; a control the host never initialised gets no Terminate either.
    void RunInitialize() {
        initialised_ = true;
        Initialize();
    }
    bool Initialised() const { return initialised_; }
    bool Terminated() const { return terminated_; }
    void MarkTerminated() { terminated_ = true; }
    // Draws the windowless controls whose container this is onto `hdc`.
    void DrawWindowlessChildren(HDC hdc) const;

protected:
    // Pixels of the surface to this surface's scale and back.
    float PixelsToScaleX(float px) const { return scaleMode_ == kScalePixels ? px : PixelsToOtherScaleX(px); }
    float PixelsToScaleY(float px) const { return scaleMode_ == kScalePixels ? px : PixelsToOtherScaleY(px); }
    int ScaleToPixelsX(float v) const;
    int ScaleToPixelsY(float v) const;
    // Fills the surface with the back colour and the picture (Cls and erasing).
    void FillBackground(HDC hdc) const;
    // Cls without putting the result on the screen: for a paint that shows its whole frame
    // when it ends.
    void ClearSurface();
    // Makes drawing done outside a paint visible on the screen.
    void Flush();

private:
    // Counts the messages this control is handling; the control is freed at the end of the
    // outermost one if its last owner let go meanwhile.
    class HandlingScope;
    static void Release(Control* control);

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void HandlePaint();
    void HandleButton(UINT msg, WPARAM wParam, LPARAM lParam);
    void SelectFont();
    void ResizeMemorySurface();
    void ApplyWindowPosition();
    void SetUserScaleFromMode();
    float TextUnitsFromPixels(float px, bool horizontal) const;
    float PixelsToOtherScaleX(float px) const;
    float PixelsToOtherScaleY(float px) const;

    Form* form_ = nullptr;
    Control* container_ = nullptr;
    HWND hwnd_ = nullptr;
    HDC ownDc_ = nullptr;
    HDC memDc_ = nullptr;
    HBITMAP memBitmap_ = nullptr;
    HGDIOBJ memOldBitmap_ = nullptr;
    HGDIOBJ ownOldFont_ = nullptr;
    HGDIOBJ memOldFont_ = nullptr;

    std::string name_;
    std::int16_t index_ = -1;
    std::int32_t left_ = 0, top_ = 0, width_ = 1200, height_ = 600;
    bool visible_ = true;
    std::int16_t align_ = kAlignNone;
    std::string tag_;

    std::int16_t scaleMode_ = kScaleTwips;
    std::int16_t textScaleMode_ = kScaleTwips;  // the unit TextWidth/TextHeight report in
    float scaleLeft_ = 0, scaleTop_ = 0, userScaleWidth_ = 0, userScaleHeight_ = 0;
    std::uint32_t backColor_ = 0x8000000F;
    std::uint32_t foreColor_ = 0x80000012;
    std::shared_ptr<StdFont> font_;
    int fontListener_ = 0;
    std::int16_t mousePointer_ = 0;
    std::shared_ptr<StdPicture> mouseIcon_;
    std::shared_ptr<StdPicture> picture_;
    bool enabled_ = true;
    bool autoRedraw_ = false;
    float currentX_ = 0, currentY_ = 0;

    int buttons_ = 0;          // buttons held since a press on this control (1 left, 2 right, 4 middle)
    bool clickArmed_ = false;  // a left press here that a release inside turns into Click
    int paintDepth_ = 0;
    int handling_ = 0;                 // messages being handled, nested
    bool freedAfterHandling_ = false;  // made by Make: Release defers the delete while handling_
    bool released_ = false;            // the last owner let go while a message was being handled
    bool initialised_ = false;
    bool terminated_ = false;
};

// Shift bits of the keys held now: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState();
// Twips per pixel of the screen (the host's scale).
int TwipsPerPixel();
// The RGB value of an OLE colour (system colours translated).
COLORREF ResolveColor(std::uint32_t oleColor);

}  // namespace brimlox::host
