// DreamBar: a captioned container bar, usually docked to an edge of its form through Align.
// It shrinks to a strip showing only its caption (towards the top or the left) and grows back,
// can hide itself when the mouse leaves and show itself when the mouse comes, keeps the
// controls on it at a margin, and paints a flat, gradient or tiled background with a bevel.
//
// The files of the control:
//   dreambar_properties.cpp  the model: properties, setters, methods, persistence members
//   dreambar_minimize.cpp    the minimise operation and the remembered full size
//   dreambar_animate.cpp     minimising and expanding spread over AnimationTime on a timer
//   dreambar_type.cpp        interface description, registration, property-bag read/write
//   dreambar_paint.cpp       the paint routine: background, margins, border, caption
//   dreambar_adjust.cpp      the form and the sibling bars take up a change of size
//   dreambar_autohide.cpp    the auto-hide timer and the click that minimises
//   dreambar_bands.cpp       tool windows on the bar arranged as bands
//   dreambar_text.cpp        PrintText (wrapped or rotated) and PaintPanel
//   dreambar_input.cpp       mouse handlers
//
// Units: Width, Height, FullSize, StdWidth and StdHeight are twips; the caption height and
// Leading are pixels, converted through the host's scale.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/mouse_info.h"
#include "foundation/host_contract.h"
#include "foundation/persistence/form_persistence.h"
#include "platform/host/keyboard.h"

namespace brimlox::controls {

class SplitWindow;

enum GradDirection : std::int16_t { NoGradient = 0, VerticalGradient = 1, HorizontalGradient = 2 };
enum MinDirection : std::int16_t { MinToTop = 0, MinToLeft = 1 };

// What Message was last given: the text and where and how it is printed.
struct DreamBarMessage {
    std::string text;
    std::int16_t alignment = 0;
    float x = 0, y = 0, maxWidth = 0, angle = 0;
};

class DreamBar : public host::Control, public host::KeyboardControl {
public:
    DreamBar();
    ~DreamBar() override;

    std::string TypeName() const override { return "DreamBar"; }
    std::string DefaultNameBase() const override { return "DreamBar"; }
    const host::TypeInfo* GetTypeInfo() const override;
    bool IsContainer() const override { return true; }

    // ---- Host lifecycle and events ----------------------------------------------------------
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    void MouseDown(int button, int shift, float x, float y) override;
    void MouseMove(int button, int shift, float x, float y) override;
    void MouseUp(int button, int shift, float x, float y) override;
    void Click() override;
    void DblClick() override;
    // Space minimises or expands a focused bar (dreambar_keys.cpp).
    void KeyDown(int keyCode, int shift, bool repeat) override;
    void GotFocus() override;
    void LostFocus() override;
    void FocusCueChanged() override { host::Control::Refresh(); }
    void DrawFocusFrame();
    void Terminate() override;

    // ---- Properties (interface order) -------------------------------------------------------
    std::string RegistryLocation() const { return foundation::FormPersistence::RegistryLocation(); }
    bool FormRestored() const { return persistence_.FormRestored(); }
    std::string Message() const { return message_.text; }
    void SetMessage(const DreamBarMessage& message);
    std::uint32_t BackColor() const { return host::Control::BackColor(); }
    void SetBackColor(std::uint32_t color);
    std::uint32_t ForeColor() const { return host::Control::ForeColor(); }
    void SetForeColor(std::uint32_t color);
    bool Enabled() const { return host::Control::Enabled(); }
    void SetEnabled(bool on);
    std::shared_ptr<host::StdFont> Font() const { return host::Control::Font(); }
    void SetFont(std::shared_ptr<host::StdFont> font);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(std::int16_t style);
    std::shared_ptr<host::StdPicture> MouseIcon() const { return host::Control::MouseIcon(); }
    void SetMouseIcon(std::shared_ptr<host::StdPicture> icon);
    std::int16_t MousePointer() const { return host::Control::MousePointer(); }
    void SetMousePointer(std::int16_t pointer);
    std::shared_ptr<host::StdPicture> Picture() const { return picture_; }
    void SetPicture(std::shared_ptr<host::StdPicture> picture);
    std::uint8_t Leading() const { return leading_; }
    void SetLeading(std::uint8_t pixels);
    bool Minimized() const { return minimized_; }
    void SetMinimized(bool on);
    float CurrentX() const { return host::Control::CurrentX(); }
    void SetCurrentX(float v);
    float CurrentY() const { return host::Control::CurrentY(); }
    void SetCurrentY(float v);
    std::int32_t hDCValue() const;
    std::int32_t hWndValue() const;
    std::int16_t MinimizeStyle() const { return minimizeStyle_; }
    void SetMinimizeStyle(std::int16_t style);
    bool MinimizeAuto() const { return minimizeAuto_; }
    void SetMinimizeAuto(bool on);
    bool AutoHide() const { return autoHideLive_; }
    void SetAutoHide(bool on);
    bool AutoAdjust() const { return autoAdjust_; }
    void SetAutoAdjust(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    std::int32_t AutoHideDelay() const { return autoHideDelay_; }
    void SetAutoHideDelay(std::int32_t ms);
    bool AutoAdjustForm() const { return autoAdjustForm_; }
    void SetAutoAdjustForm(bool on);
    bool AlignControls() const { return alignControls_; }
    void SetAlignControls(bool on);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool AutoShow() const { return autoShow_; }
    void SetAutoShow(bool on);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    std::uint32_t MinimizeColor() const { return minimizeColor_; }
    void SetMinimizeColor(std::uint32_t color);
    std::uint32_t GradientColor() const { return gradientColor_; }
    void SetGradientColor(std::uint32_t color);
    bool CaptionBar() const { return captionBar_; }
    void SetCaptionBar(bool on);
    std::int16_t Gradient() const { return gradient_; }
    void SetGradient(std::int16_t direction);
    float FullSize() const { return fullSize_; }
    void SetFullSize(float twips);
    // How long minimising and expanding take, in milliseconds (up to kMaxAnimationMs); 0
    // changes the size at once.
    static constexpr std::int32_t kMaxAnimationMs = 5000;
    std::int32_t AnimationTime() const { return animationTime_; }
    void SetAnimationTime(std::int32_t ms);

    // ---- Methods ------------------------------------------------------------------------------
    void PersistForm(const std::shared_ptr<host::Form>& form, bool center = true);
    void ShowAboutBox();
    float TextWidthOf(const std::string& text);
    float TextHeightOf(const std::string& text);
    void Refresh();
    // Prints `text` at (x, y) twips (0: centred across, middle down) with SetTextAlign flags
    // `alignment`; wrapped at spaces to `maxWidth` twips when it is positive, else one line per
    // CR LF; at `angle` degrees when it is not 0.
    void PrintText(const std::string& text, std::int16_t alignment = 0, float x = 0, float y = 0, float maxWidth = 0,
                   float angle = 0);
    // Tiles `target` (anything with Left, Width, Height and hDC) with the bar's picture.
    void PaintPanel(host::Dispatch& target);
    // Arranges the tool windows on the bar as bands (run by every paint with AlignControls).
    void ArrangeToolWindows();
    // The lines PrintText prints for `text` wrapped to `maxWidth` twips.
    std::vector<std::string> WrapLines(const std::string& text, float maxWidth);
    CmdMouseInfo GetMouseInfo() const { return mouseInfo_; }
    void MenuPoppedUp(std::int32_t l, std::int32_t r, std::int32_t T, std::int32_t B, bool shown);
    void RemovePersistence(const std::string& formName = "");
    void RemovePersistenceIDE(const std::string& formName = "");

    // ---- State the tests read -------------------------------------------------------------------
    int CaptionHeight() const { return captionHeight_; }
    bool LoadedMinimized() const { return loadedMinimized_; }
    float FullWidth() const { return fullWidth_; }
    float FullHeight() const { return fullHeight_; }
    const DreamBarMessage& MessageInfo() const { return message_; }
    bool AutoHideTimerEnabled() const;
    int AutoHideTimerInterval() const;
    bool Initialised() const { return initialised_; }
    bool Animating() const { return animation_.active; }
    // The thickness of the minimised bar in twips along its minimise direction.
    std::int32_t MinimizedThickness() const;

private:
    // ---- Model (dreambar_properties.cpp) ----
    bool UserMode() const;
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    int MeasureCaptionHeight(const std::string& caption);
    bool WorksVertically() const;
    void ApplyThickness();
    void SetTimerInterval(std::int32_t ms);
    void SetTimerEnabled(bool on);

    // ---- Painting (dreambar_paint.cpp) ----
    void PaintForeground();
    void FollowContainerLook();
    void PaintBackground();
    void PaintTiles();
    void FirstPaintMinimize();
    bool Wide() const;
    bool FormSpansWidth() const;
    bool FormSpansHeight() const;
    UINT BorderEdgesByAlign() const;
    void KeepControlsInside();
    void FitToControls(bool wide, std::int32_t wanted);
    void PaintBorder(std::int16_t style, UINT edges);
    void PaintCaption();

    // ---- Adjustments (dreambar_adjust.cpp) and auto-hide (dreambar_autohide.cpp) ----
    void AdjustForm(bool vertical, std::int32_t change);
    void AdjustSiblings(bool vertical, std::int32_t change);
    void PassOnSizeChange(bool vertical, std::int32_t change);
    void AutoHideTick();
    void HandMenuOver(POINT cursor);
    void ClickToMinimize(int button, float x, float y);

    // ---- Tool windows (dreambar_bands.cpp) ----
    std::vector<std::shared_ptr<SplitWindow>> ToolWindows() const;
    void SeparateInRow(SplitWindow& a, SplitWindow& b, const RECT& ra, const RECT& rb, std::int32_t room);
    void SeparateInColumn(SplitWindow& a, SplitWindow& b, const RECT& ra, const RECT& rb, std::int32_t room);
    void PackBands(const std::vector<std::shared_ptr<SplitWindow>>& bands, bool wide, std::int32_t margin);

    // ---- Minimise (dreambar_minimize.cpp) ----
    void MinimizeOperation(bool minimize);
    void ShiftContainedControls(std::int32_t dx, std::int32_t dy);
    void ApplyLoadedState();
    void RememberFullSize();

    // ---- Animation (dreambar_animate.cpp) ----
    bool Animates() const;
    void StartAnimation(bool vertical, std::int32_t from, std::int32_t to, std::int32_t change);
    void AnimationTick();
    void StepAnimation(double progress);
    void FinishAnimation();
    void RaiseChanged(bool minimize, std::int32_t change);

    // ---- Persisted properties (BackColor, ForeColor, Font, Enabled live on the host surface) --
    std::uint32_t minimizeColor_ = 0x8000000F;
    std::uint32_t gradientColor_ = 0x80000010;
    std::int16_t gradient_ = NoGradient;
    std::int16_t borderStyle_ = 1;
    std::shared_ptr<host::StdPicture> picture_;
    std::string caption_;
    bool captionBar_ = true;
    bool transparent_ = false;
    bool alignControls_ = true;
    bool autoSize_ = false;
    std::uint8_t leading_ = 4;
    std::int16_t minimizeStyle_ = MinToTop;
    bool minimizeAuto_ = false;
    bool autoHideLive_ = false;
    bool autoHideConfigured_ = false;
    bool autoShow_ = false;
    bool autoAdjust_ = false;
    bool autoAdjustForm_ = false;
    std::int32_t autoHideDelay_ = 250;
    float fullSize_ = 0;
    bool minimized_ = false;

    // ---- Private state ----
    int captionHeight_ = 5;
    float fullWidth_ = 0, fullHeight_ = 0;
    bool loadedMinimized_ = false;
    // The shift (twips, along the minimise direction) the contained controls were given by the
    // last minimise, undone exactly by the next expand.
    std::int32_t recordedShift_ = 0;
    DreamBarMessage message_;
    CmdMouseInfo mouseInfo_;
    RECT menuRect_{};
    bool menuShown_ = false;
    bool initialised_ = false;
    bool inMinimize_ = false;
    bool siblingGuard_ = false;
    bool resizing_ = false;
    bool painting_ = false;
    std::int32_t lastWidth_ = 0, lastHeight_ = 0;
    std::unique_ptr<user::HostTimer> tmrAutoRepeat_;

    // A minimise or expand in progress: the bar's size goes from `from` to `to` (twips along
    // the minimise direction) and the change passed on to the form or the sibling bars grows
    // to `change`, both in proportion to the time gone.
    struct SizeAnimation {
        bool active = false;
        bool vertical = true;
        bool minimize = false;
        std::int32_t from = 0, to = 0, change = 0, passed = 0;
        std::uint32_t startMs = 0;
    };
    std::int32_t animationTime_ = 0;
    SizeAnimation animation_;
    // Set while an animation step passes its part of the change on: the sibling bars are only
    // moved then (they were minimised when the animation started).
    bool stepping_ = false;
    std::unique_ptr<user::HostTimer> tmrAnimate_;
    foundation::FormPersistence persistence_;
};

}  // namespace brimlox::controls
