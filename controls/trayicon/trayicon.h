// TrayIcon: an icon with a tooltip in the notification area while the application runs. Clicks
// and double clicks on the icon come back as events; a left click that is not the start of a
// double click opens the control's popup menu at the mouse cursor once the double-click time
// has passed. In the designer it is a small fixed-size raised box showing the icon; at run
// time it draws nothing and only the tray icon is seen.
//
// The model (properties, persistence, the shell records) is in trayicon_model.cpp, the
// designer look in trayicon_paint.cpp, the callback decoding, delayed click and menu in
// trayicon_input.cpp and the interface description in trayicon_type.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/host_contract.h"
#include "menus/popup_item_list.h"
#include "platform/shell/shellapi.h"

namespace brimlox::controls {

class TrayIcon : public host::Control {
public:
    TrayIcon();
    ~TrayIcon() override;

    std::string TypeName() const override { return "TrayIcon"; }
    // The host's provisional name; InitProperties renames a new control to traIcon, traIcon1 ...
    std::string DefaultNameBase() const override { return "TrayIcon"; }
    const host::TypeInfo* GetTypeInfo() const override;
    bool InvisibleAtRunTime() const override { return true; }

    // ---- Host lifecycle and events ----------------------------------------------------------
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    // The shell's callback arrives as a mouse move whose x is the mouse message number.
    void MouseMove(int button, int shift, float x, float y) override;
    void Terminate() override;

    // ---- Properties --------------------------------------------------------------------------
    std::shared_ptr<host::StdPicture> Icon() const { return host::Control::Picture(); }
    // Only an icon (or nothing) is taken; anything else shows a message and keeps the old one.
    void SetIcon(std::shared_ptr<host::StdPicture> picture);
    std::string ToolTip() const { return toolTip_; }
    void SetToolTip(std::string text);
    bool Hidden() const { return hidden_; }
    void SetHidden(bool hidden);

    // ---- Methods -----------------------------------------------------------------------------
    void Refresh();
    void ShowAboutBox();

    // ---- Menu members (the item list) ---------------------------------------------------------
    menus::PopupItemList& Menu() { return menu_; }
    const menus::PopupItemList& Menu() const { return menu_; }
    std::int16_t MenuItemCount() const { return menu_.MenuItemCount(); }
    bool IsPopupMenu() const { return menu_.IsPopupMenu(); }
    std::int16_t MenuSelected() const { return menu_.MenuSelected(); }

    // ---- State the tests read ----------------------------------------------------------------
    bool Added() const { return added_; }
    const NOTIFYICONDATAA& Record() const { return record_; }
    bool DelayRunning() const;

    // The size the control always has, in twips.
    static constexpr std::int32_t kSideTwips = 495;

private:
    // Model helpers (trayicon_model.cpp).
    bool AtRunTime() const;
    void FillRecord(std::uint32_t flags);
    void SetTip(const std::string& text);
    void Notify(DWORD message);
    void AddToTray();
    void RemoveFromTray();

    // Input helpers (trayicon_input.cpp).
    void LeftButtonUp();
    void StopDelay();
    void DelayElapsed();
    void OpenMenu();
    void RaiseMenuClick(std::int32_t chosen);
    void RaiseButtonEvent(std::string_view name, std::int16_t button);

    std::string toolTip_;
    bool hidden_ = false;

    bool added_ = false;
    bool doubleClicked_ = false;
    NOTIFYICONDATAA record_{};
    std::unique_ptr<user::HostTimer> delay_;
    menus::PopupItemList menu_;
    // Cleared when the control goes, so code after an event can tell that a handler unloaded it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace brimlox::controls
