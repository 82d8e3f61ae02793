// Command: the library's owner-painted push button. Besides a plain button it can be a toggle,
// a member of a mutually exclusive toggle group, an auto-repeating button, an arrow button, a
// picture button with a separate pressed picture, a flat button that raises under the mouse, a
// button whose picture stays grey until the mouse is over it, a gradient or picture face, a
// transparent button showing its container's picture, a default or cancel button with an
// accelerator, and a button with an attached owner-drawn drop-down menu.
//
// The model (properties, persistence, setters) is in command_properties.cpp, the layout and
// painting in command_layout.cpp, command_paint.cpp and command_arrow.cpp, the input state
// machine in command_input.cpp, toggle groups in command_group.cpp, the menu cycle in
// command_menu.cpp and the type description in command_type.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/alt_drag_watch.h"
#include "controls/font3d.h"
#include "controls/mouse_info.h"
#include "foundation/host_contract.h"
#include "platform/host/keyboard.h"
#include "menus/popup_item_list.h"

namespace brimlox::controls {

enum DrawArrowConst : std::int16_t {
    NoArrow = 0, ArrowDown = 1, ArrowUp = 2, ArrowLeft = 3, ArrowRight = 4, BarDown = 5, BarUp = 6,
    BarLeft = 7, BarRight = 8, DownBar = 9, UpBar = 10, LeftBar = 11, RightBar = 12, DoubleDown = 13,
    DoubleUp = 14, DoubleLeft = 15, DoubleRight = 16,
};
enum PictureAlignConst : std::int16_t {
    CenterMiddle = 0, CenterTop = 1, CenterBottom = 2, LeftMiddle = 3, RightMiddle = 4, StretchFull = 5,
};

class Command : public host::Control, public host::KeyboardControl {
public:
    Command();
    ~Command() override;

    std::string TypeName() const override { return "Command"; }
    // The host's provisional name; InitProperties renames a new button to cmd, cmd1 ...
    std::string DefaultNameBase() const override { return "Command"; }
    const host::TypeInfo* GetTypeInfo() const override;

    // ---- Host lifecycle and events ------------------------------------------------------------
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    bool PaintsWholeClient() const override;
    void MouseDown(int button, int shift, float x, float y) override;
    void MouseMove(int button, int shift, float x, float y) override;
    void MouseUp(int button, int shift, float x, float y) override;
    void DblClick() override;
    void CaptureLost() override;
    void KeyDown(int keyCode, int shift, bool repeat) override;
    void KeyUp(int keyCode, int shift) override;
    LRESULT DialogCode(int keyCode) const override;
    void GotFocus() override;
    void LostFocus() override;
    void FocusCueChanged() override { Repaint(); }
    void Terminate() override;

    // ---- Properties ------------------------------------------------------------------------------
    std::uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(std::uint32_t v);
    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t v);
    std::uint32_t ButtonColor() const { return buttonColor_; }
    void SetButtonColor(std::uint32_t v);
    std::uint32_t ButtonColorDn() const { return buttonColorDn_; }
    void SetButtonColorDn(std::uint32_t v);
    std::uint32_t FontColorDn() const { return fontColorDn_; }
    void SetFontColorDn(std::uint32_t v);
    std::uint32_t FontColor3D() const { return fontColor3D_; }
    void SetFontColor3D(std::uint32_t v);
    std::uint32_t MaskColor() const { return maskColor_; }
    void SetMaskColor(std::uint32_t v);
    std::shared_ptr<host::StdFont> Font() const { return host::Control::Font(); }
    void SetFont(std::shared_ptr<host::StdFont> font);
    std::int16_t MousePointer() const { return host::Control::MousePointer(); }
    void SetMousePointer(std::int16_t v);
    std::shared_ptr<host::StdPicture> MouseIcon() const { return host::Control::MouseIcon(); }
    void SetMouseIcon(std::shared_ptr<host::StdPicture> v);
    bool Enabled() const { return host::Control::Enabled(); }
    void SetEnabled(bool v);
    std::string Caption() const { return caption_; }
    void SetCaption(std::string v);
    std::int16_t BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(std::int16_t v);
    std::int16_t AutoDelay() const { return autoDelay_; }
    void SetAutoDelay(std::int16_t v);
    std::int16_t AutoInterval() const { return autoInterval_; }
    void SetAutoInterval(std::int16_t v);
    std::uint8_t Group() const { return group_; }
    void SetGroup(std::uint8_t v);
    std::int16_t ArrowType() const { return arrowType_; }
    void SetArrowType(std::int16_t v);
    bool Toggle() const { return toggle_; }
    void SetToggle(bool v);
    bool Value() const { return value_; }
    void SetValue(bool v);
    bool Rounded() const { return rounded_; }
    void SetRounded(bool v);
    bool AllowAllup() const { return allowAllup_; }
    void SetAllowAllup(bool v);
    bool Locked() const { return locked_; }
    void SetLocked(bool v);
    bool Button3D() const { return button3D_; }
    void SetButton3D(bool v);
    bool FontEffects() const { return fontEffects_; }
    void SetFontEffects(bool v);
    bool ColorEffects() const { return colorEffects_; }
    void SetColorEffects(bool v);
    std::shared_ptr<host::StdPicture> Picture() const { return picture_; }
    void SetPicture(std::shared_ptr<host::StdPicture> v);
    std::shared_ptr<host::StdPicture> PictureDown() const { return pictureDown_; }
    void SetPictureDown(std::shared_ptr<host::StdPicture> v);
    std::shared_ptr<host::StdPicture> PictureBg() const { return pictureBg_; }
    void SetPictureBg(std::shared_ptr<host::StdPicture> v);
    bool UseMask() const { return useMask_; }
    void SetUseMask(bool v);
    bool ActiveBorder() const { return activeBorder_; }
    void SetActiveBorder(bool v);
    bool ActiveColor() const { return activeColor_; }
    void SetActiveColor(bool v);
    std::int16_t Font3D() const { return font3D_; }
    void SetFont3D(std::int16_t v);
    bool SoftButton() const { return softButton_; }
    void SetSoftButton(bool v);
    std::int16_t PictureAlignment() const { return pictureAlignment_; }
    void SetPictureAlignment(std::int16_t v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v);
    bool MenuButton() const { return menuButton_; }
    void SetMenuButton(bool v);
    // Held as a fraction; read and written as a percentage rounded to 2 decimals.
    float GradientPct() const;
    void SetGradientPct(float percent);
    bool Moveable() const { return moveable_; }
    void SetMoveable(bool v);
    HWND hWnd() const { return host::Control::hWnd(); }
    HDC hDC() const { return host::Control::hDC(); }
    // The handles as the host's 32-bit values.
    std::int32_t hWndValue() const { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(hWnd())); }
    std::int32_t hDCValue() const { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(hDC())); }

    // ---- Menu members (the item list) ---------------------------------------------------------
    menus::PopupItemList& Menu() { return menu_; }
    const menus::PopupItemList& Menu() const { return menu_; }
    std::int16_t MenuItemCount() const { return menu_.MenuItemCount(); }
    bool IsPopupMenu() const { return menu_.IsPopupMenu(); }
    std::int16_t MenuSelected() const { return menu_.MenuSelected(); }

    // ---- Methods -----------------------------------------------------------------------------
    void ShowAboutBox();
    CmdMouseInfo GetMouseInfo() const { return mouseInfo_; }
    // Prepares the pictures from now on and paints at once.
    void Refresh();
    // Group synchronisation run on a sibling by the button whose state changed.
    bool GroupValues(Command& source);

    // ---- Painting (also used by the input handlers) ---------------------------------------------
    void DrawButton(bool up);
    void ComputeLayout();

    // Layout in twips and pixels, for tests and containers.
    struct Layout {
        float faceLeft = 0, faceTop = 0, faceWidth = 0, faceHeight = 0, faceHalfHeight = 0, menuWidth = 0;
        int faceLeftPx = 0, faceTopPx = 0, faceWidthPx = 0, faceHeightPx = 0, faceHalfHeightPx = 0, menuWidthPx = 0;
    };
    const Layout& GetLayout() const { return layout_; }
    bool Pressed() const { return pressed_; }
    bool Hovering() const { return hovering_; }

private:
    struct PictureCache {
        HBITMAP bitmap = nullptr;
        RECT source{};
        RECT dest{};
        int width = 0;  // 0: not prepared
    };

    // Model helpers (command_properties.cpp).
    void Changed(const std::string& property) { PropertyChanged(property); }
    void Repaint() { host::Control::Refresh(); }
    void ComputeGradient();
    void TakeFontBase();
    void RegisterKeys();
    void UnregisterKeys();
    bool RunTime() const { return Ambient().UserMode; }
    void ClearOthers(const char* property);
    void ReadColours(const host::PropertyBag& bag);
    void ReadFlags(const host::PropertyBag& bag);
    void WriteLooks(host::PropertyBag& bag) const;

    // Painting helpers (command_paint.cpp, command_arrow.cpp).
    void PreparePictures();
    void PrepareCache(const host::StdPicture& picture, PictureCache& cache) const;
    void TakeContainerLook();
    bool FitCaption();
    void DrawFace(std::uint32_t faceColor);
    void DrawFaceColourBox(std::uint32_t faceColor);
    void DrawGradientFace();
    void DrawPictureFace();
    void DrawBorder(bool up);
    void DrawPictureAndCaption(bool up, std::uint32_t textColor);
    void DrawPicture(bool up);
    void DrawCaption(bool up, std::uint32_t textColor);
    void DrawArrowGlyph(std::uint32_t textColor);
    void DrawArrow(float offset, std::uint32_t color);
    void DrawFocusFrame();
    void ClickMenuStrip();
    bool StripPressed() const;
    bool InSplitWindow(const char* property) const;
    float PxX() const;
    float PxY() const;
    int ToPixelsX(float twips) const;
    int ToPixelsY(float twips) const;

    // Input helpers (command_input.cpp, command_group.cpp, command_menu.cpp).
    bool HitTest(float x, float y);
    bool IsMouseInside() const;
    bool OverMenuStrip(float x) const;
    bool OpensMenu(float x) const;
    void TogglePress(bool raiseClick);
    void OnTimer();
    void StartHoverWatch();
    void StopTimer();
    void StartAltDrag();
    void EndAltDrag(bool restore);
    void RaiseClick();
    void RaiseMouse(const char* event, int& button, int& shift, float& x, float& y);
    void SyncGroup();
    void ForEachGroupSibling(std::uint8_t group, const std::function<bool(Command&)>& visit);
    void OpenMenu(int button, int shift, float x, float y, bool raiseMouseUp);
    void EndLockedPress();
    void ReportMenuBand(bool open);
    void HandOverMenu();
    void RaiseMenuClick(std::int32_t chosen);

    // Persisted properties.
    std::uint32_t foreColor_ = 0x80000012, backColor_ = 0x8000000F, buttonColor_ = 0x8000000F;
    std::uint32_t buttonColorDn_ = 0x8000000F, fontColorDn_ = 0x80000012, fontColor3D_ = 0x80000014;
    std::uint32_t maskColor_ = 0x8000000F;
    std::string caption_;
    std::int16_t bevelOuter_ = 0, autoDelay_ = 0, autoInterval_ = 0, arrowType_ = 0;
    std::uint8_t group_ = 0;
    bool toggle_ = false, value_ = false, rounded_ = false, allowAllup_ = true, locked_ = false;
    bool button3D_ = true, fontEffects_ = false, colorEffects_ = false, useMask_ = false;
    bool activeBorder_ = false, activeColor_ = false, softButton_ = false, stretch_ = false;
    bool transparent_ = false, default_ = false, cancel_ = false, menuButton_ = false, moveable_ = false;
    std::int16_t font3D_ = 0, pictureAlignment_ = 0;
    float gradientFraction_ = 0;
    std::shared_ptr<host::StdPicture> picture_, pictureDown_, pictureBg_;
    menus::PopupItemList menu_;

    // Private state.
    CmdMouseInfo mouseInfo_;
    bool fontBoldBase_ = false, fontItalicBase_ = false;
    COLORREF gradientTop_ = 0, gradientBottom_ = 0, lastBackColor_ = 0xFFFFFFFF;
    bool pressed_ = false, hovering_ = false, autoClicked_ = false, movingControl_ = false;
    bool picturesReady_ = false, hasPictureDown_ = false;
    PictureCache pictureCache_, pictureDownCache_;
    Layout layout_;
    bool inDefaultLet_ = false, inCancelLet_ = false;
    bool menuPress_ = false, ignoreRelease_ = false, lockedPress_ = false;
    // When the menu last closed, on the millisecond tick count (which does not restart at
    // midnight); menuClosedRecently_ is false after an ordinary release.
    DWORD menuClosedTick_ = 0;
    bool menuClosedRecently_ = false;
    float dragStartLeft_ = 0, dragStartTop_ = 0;
    std::unique_ptr<AltDragWatch> dragWatch_;
    bool spacePress_ = false;  // a press made with the Space bar, released by its key up
    bool fitting_ = false;
    bool inTimer_ = false;
    std::unique_ptr<user::HostTimer> tmrAutoRepeat_;
    // Cleared when the control terminates, so handlers that outlive it stop touching it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace brimlox::controls
