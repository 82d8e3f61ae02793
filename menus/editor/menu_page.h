// Menu: the design-time property page that edits the popup-menu items of a Command or a
// TrayIcon. It is a host form built from the host's standard controls: the item list with the
// submenu levels shown as indentation, caption and tag boxes, check boxes for the item flags,
// the window-list switch, Insert and Remove, two picture buttons with previews, and a picture
// chooser (drive, folder and file lists) shown over the page. Edits stay in the page until the
// host applies it (ApplyChanges).
//
// The chooser opens in the folder it was last confirmed in, kept in the per-user settings store
// (application "Vesk", section "Quillet", key "Path"); a folder that no longer exists gives the
// home folder instead.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "menus/editor/menu_page_model.h"
#include "platform/host/form.h"
#include "platform/host/settings_store.h"
#include "platform/host/standard_controls.h"

namespace brimlox::menus {

class MenuPage {
public:
    // The page's size in pixels; the host places it in its frame.
    static constexpr int kWidthPx = 448;
    static constexpr int kHeightPx = 300;

    // Builds the page's controls on `form` (made for the page: it should hold nothing else that
    // uses the page's control names). `settings` keeps the chooser's folder.
    MenuPage(std::shared_ptr<host::Form> form, host::SettingsStore& settings);
    ~MenuPage();
    MenuPage(const MenuPage&) = delete;
    MenuPage& operator=(const MenuPage&) = delete;

    // The selected controls changed: the page shows the first one's items.
    void SelectionChanged(const std::vector<std::shared_ptr<host::Control>>& selected);
    // Writes the page to the first selected control (an open picture chooser is confirmed
    // first); level corrections are told in message boxes.
    void ApplyChanges();
    // True once the user changed something since the last load or apply.
    bool Changed() const { return changed_; }
    // Called whenever the page becomes changed (the host enables its Apply button).
    void SetChangedHandler(std::function<void()> handler) { onChanged_ = std::move(handler); }

    host::Form& Form() { return *form_; }
    const MenuPageModel& Model() const { return model_; }
    // The line selected in the item list.
    std::int32_t SelectedLine() const;
    bool ChooserOpen() const;
    // The folder the chooser shows.
    std::string ChooserFolder() const;

    static constexpr const char* kSettingsApp = "Vesk";
    static constexpr const char* kSettingsSection = "Quillet";
    static constexpr const char* kSettingsKey = "Path";

private:
    // Layout: creating and placing the controls.
    void CreateControls();
    void CreateItemControls();
    void CreateChooserControls();
    template <typename T>
    std::shared_ptr<T> Add(const std::string& type, const std::string& name, int x, int y, int w, int h,
                           host::Control* container = nullptr, std::int16_t index = -1);

    // Input: what the controls' events do.
    void On(const std::shared_ptr<host::Control>& control, const std::string& event, std::function<void()> handler);
    void ConnectEvents();
    void ConnectItemEvents();
    void ConnectChooserEvents();
    void ShowLine(std::int32_t line);
    void FillList();
    void RefreshLine(std::size_t line);
    MenuPageItem& EditSelected();
    void CaptionTyped();
    void TagTyped();
    void FlagClicked(host::CheckBox& box, const std::function<void(MenuPageItem&, std::int16_t)>& store);
    void InsertClicked();
    void RemoveClicked();
    void MarkChanged();

    // The picture chooser.
    void OpenChooser(int which);
    void ShowChooserFolder();
    void FileClicked();
    void FileConfirmed();
    void ConfirmChooser();
    void CloseChooser();
    void ShowPreviews();

    std::shared_ptr<host::Form> form_;
    host::SettingsStore& settings_;
    MenuPageModel model_;
    std::weak_ptr<host::Control> target_;
    bool loading_ = false;
    bool changed_ = false;
    std::function<void()> onChanged_;
    std::vector<std::pair<std::weak_ptr<host::Control>, int>> connections_;

    std::shared_ptr<host::ListBox> lstMenu_;
    std::shared_ptr<host::TextBox> txtMenuCaption_, txtMenuTag_;
    std::shared_ptr<host::CheckBox> chkMenuEnabled_, chkMenuVisible_, chkMenuChecked_, chkMenuAutoCheck_,
        chkMenuRadio_, chkWindowList_;
    std::shared_ptr<host::CommandButton> cmdInsert_, cmdRemove_;
    std::shared_ptr<host::CommandButton> cmdIcon_[2];
    std::shared_ptr<host::Image> imgIcon_[2];

    std::shared_ptr<host::Frame> frmDialog_;
    std::shared_ptr<host::DriveListBox> drv_;
    std::shared_ptr<host::DirListBox> dir_;
    std::shared_ptr<host::FileListBox> lst_;
    std::shared_ptr<host::Image> imgPreview_;
    std::shared_ptr<host::CommandButton> cmdBack_, cmdDelete_;
    int chooserFor_ = 0;                          // 0 the icon, 1 the check icon
    std::shared_ptr<host::StdPicture> chosen_;    // the picture the chooser would assign
};

}  // namespace brimlox::menus
