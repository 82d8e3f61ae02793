// The Menu page's controls and where they stand. Positions are pixels of the page, turned into
// the host's twips as the controls are placed.
#include "menus/editor/menu_page.h"

#include "platform/host/control.h"

namespace brimlox::menus {

template <typename T>
std::shared_ptr<T> MenuPage::Add(const std::string& type, const std::string& name, int x, int y, int w, int h,
                                 host::Control* container, std::int16_t index) {
    auto control = std::dynamic_pointer_cast<T>(form_->Add(type, name, container, index));
    const int tpp = host::TwipsPerPixel();
    control->Move(x * tpp, y * tpp, w * tpp, h * tpp);
    return control;
}

MenuPage::MenuPage(std::shared_ptr<host::Form> form, host::SettingsStore& settings)
    : form_(std::move(form)), settings_(settings) {
    CreateControls();
    ConnectEvents();
    // Until a control is selected the page shows one empty line.
    FillList();
}

MenuPage::~MenuPage() {
    // The controls may outlive the page (the host owns the form); their handlers must not.
    for (auto& [control, id] : connections_)
        if (auto c = control.lock()) c->Disconnect(id);
}

void MenuPage::CreateControls() {
    CreateItemControls();
    CreateChooserControls();
}

void MenuPage::CreateItemControls() {
    lstMenu_ = Add<host::ListBox>("ListBox", "lstMenu", 8, 8, 200, 284);
    // Shortcut text after a tab lines up in a column.
    lstMenu_->SetTabStops({96});
    Add<host::Label>("Label", "lblMenuCaption", 216, 11, 56, 16)->SetCaption("Caption:");
    txtMenuCaption_ = Add<host::TextBox>("TextBox", "txtMenuCaption", 272, 8, 168, 21);
    Add<host::Label>("Label", "lblMenuTag", 216, 37, 56, 16)->SetCaption("Tag:");
    txtMenuTag_ = Add<host::TextBox>("TextBox", "txtMenuTag", 272, 34, 168, 21);

    auto check = [&](const char* name, const char* caption, int x, int y) {
        auto box = Add<host::CheckBox>("CheckBox", name, x, y, 108, 17);
        box->SetCaption(caption);
        return box;
    };
    chkMenuEnabled_ = check("chkMenuEnabled", "Enabled", 216, 64);
    chkMenuVisible_ = check("chkMenuVisible", "Visible", 332, 64);
    chkMenuChecked_ = check("chkMenuChecked", "Checked", 216, 86);
    chkMenuAutoCheck_ = check("chkMenuAutoCheck", "AutoCheck", 332, 86);
    chkMenuRadio_ = check("chkMenuRadio", "Radio", 216, 108);

    Add<host::Label>("Label", "lblIcon", 216, 136, 224, 16)->SetCaption("Icon and check icon:");
    const char* iconCaptions[2] = {"Icon...", "Check icon..."};
    for (int i = 0; i < 2; ++i) {
        const int y = 156 + i * 38;
        cmdIcon_[i] = Add<host::CommandButton>("CommandButton", "cmdIcon", 216, y, 100, 25, nullptr,
                                               static_cast<std::int16_t>(i));
        cmdIcon_[i]->SetCaption(iconCaptions[i]);
        imgIcon_[i] = Add<host::Image>("Image", "imgIcon", 324, y - 3, 32, 32, nullptr, static_cast<std::int16_t>(i));
    }
    chkWindowList_ = Add<host::CheckBox>("CheckBox", "chkWindowList", 216, 236, 224, 17);
    chkWindowList_->SetCaption("Window list at the end of the menu");
    cmdInsert_ = Add<host::CommandButton>("CommandButton", "cmdInsert", 216, 266, 108, 25);
    cmdInsert_->SetCaption("Insert");
    cmdRemove_ = Add<host::CommandButton>("CommandButton", "cmdRemove", 332, 266, 108, 25);
    cmdRemove_->SetCaption("Remove");
}

void MenuPage::CreateChooserControls() {
    // The chooser covers the page while it is open; it is made last so it lies on top.
    frmDialog_ = Add<host::Frame>("Frame", "frmDialog", 8, 8, 432, 284);
    frmDialog_->SetCaption("Picture");
    frmDialog_->SetVisible(false);
    host::Control* in = frmDialog_.get();
    drv_ = Add<host::DriveListBox>("DriveListBox", "drv", 8, 20, 200, 18, in);
    dir_ = Add<host::DirListBox>("DirListBox", "dir", 8, 42, 200, 152, in);
    lst_ = Add<host::FileListBox>("FileListBox", "lst", 216, 20, 208, 174, in);
    lst_->SetPattern("*.bmp;*.ico;*.png;*.gif;*.BMP;*.ICO;*.PNG;*.GIF");
    imgPreview_ = Add<host::Image>("Image", "imgPreview", 8, 202, 64, 64, in);
    cmdDelete_ = Add<host::CommandButton>("CommandButton", "cmdDelete", 216, 246, 100, 25, in);
    cmdDelete_->SetCaption("No picture");
    cmdBack_ = Add<host::CommandButton>("CommandButton", "cmdBack", 324, 246, 100, 25, in);
    cmdBack_->SetCaption("Back");
}

}  // namespace brimlox::menus
