// The popup-menu item list that Command and TrayIcon carry: the items, the editing cursor with
// its copy of the selected item's fields, the last chosen index, the window-list flag, and the
// list's property-bag format. The list never has zero elements: the empty list is one item
// with an empty caption (the empty slot).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/picture.h"
#include "platform/host/property_bag.h"
#include "platform/host/variant.h"

namespace brimlox::menus {

// One item. Caption grammar: leading ">" give the level; the text after the last ">" is the
// item's text; "-" a separator, "|" a column break, "[Title]" a title bar, "-Title-" a titled
// separator, a literal backslash-t separates right-aligned shortcut text, "&" the mnemonic.
struct typPopUpItem {
    host::Variant Tag;
    std::string Caption;
    bool Enabled = false;
    bool Visible = false;
    std::int32_t Checked = 0;  // 0 unchecked, anything else checked
    bool AutoCheck = false;
    bool Radio = false;
    std::shared_ptr<host::StdPicture> Icon;
    std::shared_ptr<host::StdPicture> IconCheck;
};

// Arguments of AddMenu after the caption and tag, with their defaults.
struct AddMenuOptions {
    bool MenuEnabled = true;
    bool MenuVisible = true;
    bool MenuChecked = false;
    bool MenuAutoCheck = false;
    bool MenuRadio = false;
    std::shared_ptr<host::StdPicture> MenuIcon;
    std::shared_ptr<host::StdPicture> MenuIconCheck;
    std::optional<host::Variant> BeforeTag;
};

class PopupItemList {
public:
    // Signals a property change of the owning control ("MenuItem", "MenuItemCaption" ...).
    using ChangeSink = std::function<void(const std::string& property)>;

    // The most items a list holds: the count is a 16-bit value. AddMenu (and so an append
    // through MenuItem) and ReadProperties refuse more with a HostError naming this limit.
    static constexpr std::size_t kMaxItems = 32767;

    PopupItemList();
    void SetChangeSink(ChangeSink sink) { changed_ = std::move(sink); }

    std::vector<typPopUpItem>& Items() { return items_; }
    const std::vector<typPopUpItem>& Items() const { return items_; }

    std::int16_t MenuItemCount() const;
    bool IsPopupMenu() const;
    // True for the empty list: exactly one element, whose caption is empty.
    bool IsEmptyList() const;
    void AddMenu(const std::string& caption, const host::Variant& tag, const AddMenuOptions& options = {});
    // Deletes the item with `tag` (the highest index holding it; *index receives that index or
    // -1), else the item at *index (0 when index is null). Never fails.
    void DeleteMenu(const std::optional<host::Variant>& tag, std::int16_t* index);
    void ClearMenu();

    // The editing cursor and the copy of the selected item's fields.
    std::int16_t MenuItem() const { return cursor_; }
    void SetMenuItem(std::int16_t index);
    // Moves the cursor without appending or signalling; raises runtime error 9 past the end.
    void MenuSelect(std::int16_t index);
    std::string MenuItemCaption() const { return copy_.caption; }
    void SetMenuItemCaption(const std::string& caption);
    std::string MenuItemTag() const { return copy_.tag; }
    void SetMenuItemTag(const std::string& tag);
    bool MenuItemVisible() const { return copy_.visible; }
    void SetMenuItemVisible(bool visible);
    std::int32_t MenuItemChecked() const { return copy_.checked; }
    void SetMenuItemChecked(std::int32_t checked);
    bool MenuItemAutoCheck() const { return copy_.autoCheck; }
    void SetMenuItemAutoCheck(bool autoCheck);
    std::int32_t MenuItemRadio() const { return copy_.radio; }
    void SetMenuItemRadio(std::int32_t radio);
    bool MenuItemEnabled() const { return copy_.enabled; }
    void SetMenuItemEnabled(bool enabled);
    std::shared_ptr<host::StdPicture> MenuItemIcon() const { return copy_.icon; }
    void SetMenuItemIcon(std::shared_ptr<host::StdPicture> icon);
    std::shared_ptr<host::StdPicture> MenuItemIconChk() const { return copy_.iconCheck; }
    void SetMenuItemIconChk(std::shared_ptr<host::StdPicture> icon);

    std::int16_t MenuSelected() const { return selected_; }
    void SetMenuSelected(std::int16_t index) { selected_ = index; }
    bool MenuWindowList() const { return windowList_; }
    void SetMenuWindowList(bool on);
    // The module-wide look flags, set through this control (signals "MenuGradient" /
    // "MenuGradient3D" on it).
    bool MenuGradient() const;
    void SetMenuGradient(bool on);
    bool MenuGradient3D() const;
    void SetMenuGradient3D(bool on);

    // A new control: cursor 0, the copy at its initial values, no window list.
    void InitProperties();
    // Writes "MenuItems", "MenuItem", the items, the copy and "MenuWindowList", in this order.
    void WriteProperties(host::PropertyBag& bag) const;
    // Reads the copy, the flags and the items back.
    void ReadProperties(const host::PropertyBag& bag);

private:
    struct CursorCopy {
        std::string caption, tag;
        bool visible = true;
        std::int32_t checked = 0;
        bool autoCheck = false;
        std::int32_t radio = 0;
        bool enabled = true;
        std::shared_ptr<host::StdPicture> icon, iconCheck;
    };
    void Changed(const std::string& property) const {
        if (changed_) changed_(property);
    }
    void AddEmptyItem();
    // Loads the copy from the cursor item.
    void LoadCopy();
    // The cursor item; runtime error 9 when the cursor is beyond the list.
    typPopUpItem& CursorItem();
    void ReadItems(const host::PropertyBag& bag, std::int16_t upperBound);

    std::vector<typPopUpItem> items_;
    std::int16_t cursor_ = 0;
    CursorCopy copy_;
    std::int16_t selected_ = 0;
    bool windowList_ = false;
    ChangeSink changed_;
};

// The module-wide look of every popup shown in this thread.
bool MenuGradient();
void SetMenuGradient(bool on);
bool MenuGradient3D();
void SetMenuGradient3D(bool on);

}  // namespace brimlox::menus
