// The Menu page's picture chooser: a frame over the page with drive, folder and file lists and
// a preview. It opens in the folder last confirmed (kept in the settings store), previews the
// file clicked, and assigns it to the selected item's icon or check icon on a double click.
#include <cstdlib>
#include <filesystem>

#include "menus/editor/menu_page.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"

namespace brimlox::menus {

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

// The user's home folder, or the current folder when there is none.
std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && IsFolder(home)) return home;
    std::error_code ec;
    return fs::current_path(ec).string();
}

// A folder and a file name in it, with one separator between them.
std::string JoinPath(const std::string& folder, const std::string& file) {
    if (folder.empty() || folder.back() == '/') return folder + file;
    return folder + "/" + file;
}

}  // namespace

void MenuPage::ConnectChooserEvents() {
    // The lists follow each other: the drive sets the folder, the folder the files.
    On(drv_, "Change", [this] {
        host::TryInvoke([&] { dir_->SetPath(drv_->Drive()); });
    });
    On(dir_, "Change", [this] { host::TryInvoke([&] { lst_->SetPath(dir_->Path()); }); });
    On(lst_, "Click", [this] { FileClicked(); });
    On(lst_, "DblClick", [this] { FileConfirmed(); });
    On(cmdBack_, "Click", [this] { CloseChooser(); });
    On(cmdDelete_, "Click", [this] {
        chosen_ = host::LoadPicture();
        ConfirmChooser();
    });
}

bool MenuPage::ChooserOpen() const { return frmDialog_->Visible(); }
std::string MenuPage::ChooserFolder() const { return dir_->Path(); }

void MenuPage::OpenChooser(int which) {
    chooserFor_ = which;
    const auto line = static_cast<std::size_t>(SelectedLine());
    const MenuPageItem* item = line < model_.Count() ? &model_.Item(line) : nullptr;
    chosen_ = item ? (which == 0 ? item->icon : item->iconCheck) : nullptr;
    imgPreview_->SetPicture(chosen_);
    // A remembered folder that has gone since (or none yet) opens the home folder instead.
    std::string folder = settings_.GetSetting(kSettingsApp, kSettingsSection, kSettingsKey);
    if (!IsFolder(folder)) folder = HomeFolder();
    host::TryInvoke([&] { dir_->SetPath(folder); });
    host::TryInvoke([&] { lst_->SetPath(dir_->Path()); });
    frmDialog_->SetVisible(true);
    frmDialog_->ZOrder(0);
}

void MenuPage::FileClicked() {
    const std::string name = lst_->FileName();
    if (name.empty()) return;
    const std::string path = JoinPath(dir_->Path(), name);
    try {
        chosen_ = host::LoadPicture(path);
    } catch (const host::HostError& e) {
        // Nothing is assigned from a file that is not a picture.
        chosen_.reset();
        imgPreview_->SetPicture(nullptr);
        host::MsgBox(path + " cannot be used: " + e.what());
        return;
    }
    imgPreview_->SetPicture(chosen_);
}

void MenuPage::FileConfirmed() {
    if (lst_->FileName().empty()) return;
    // The click before the double click loaded the file; a file that failed to load was told
    // about then and assigns nothing now.
    if (!chosen_) return;
    ConfirmChooser();
}

void MenuPage::ConfirmChooser() {
    if (!ChooserOpen()) return;
    const std::string folder = dir_->Path();
    if (!folder.empty() && !settings_.SaveSetting(kSettingsApp, kSettingsSection, kSettingsKey, folder))
        host::MsgBox("The picture folder could not be remembered: " +
                     (settings_.Problems().empty() ? std::string("the settings file cannot be written")
                                                   : settings_.Problems().back()));
    MenuPageItem& item = EditSelected();
    (chooserFor_ == 0 ? item.icon : item.iconCheck) = chosen_;
    CloseChooser();
    ShowPreviews();
    MarkChanged();
}

void MenuPage::CloseChooser() {
    if (frmDialog_->Visible()) frmDialog_->SetVisible(false);
}

void MenuPage::ShowPreviews() {
    const auto line = static_cast<std::size_t>(SelectedLine());
    const MenuPageItem* item = line < model_.Count() ? &model_.Item(line) : nullptr;
    imgIcon_[0]->SetPicture(item ? item->icon : nullptr);
    imgIcon_[1]->SetPicture(item ? item->iconCheck : nullptr);
}

}  // namespace brimlox::menus
