// The item list's editing semantics: adding, inserting before a tag, deleting, clearing, the
// cursor with its copy of the selected item, and the module-wide menu look flags.
//
// Whether the list is empty is decided by its size: the empty list is exactly one element
// whose caption is empty. An element with an empty caption among others is an item like any
// other (an editor appends such items before it names them), so deleting item 0 in front of
// one, or inserting an empty item at the top, neither hides the menu nor loses items.
#include "menus/popup_item_list.h"

#include "platform/host/host_error.h"

namespace brimlox::menus {

namespace {

thread_local bool t_menuGradient = false;
thread_local bool t_menuGradient3D = false;

// The names signalled, in order, whenever the cursor is set through MenuItem.
constexpr const char* kCursorProperties[] = {
    "MenuItem",      "MenuItemCaption", "MenuItemChecked", "MenuItemAutoCheck", "MenuItemRadio",
    "MenuItemEnabled", "MenuItemTag",   "MenuItemVisible", "MenuItemIcon",      "MenuItemIconChk"};

typPopUpItem EmptySlot() {
    typPopUpItem item;
    item.Tag = host::Variant(std::string());
    item.Enabled = true;
    item.Visible = true;
    return item;
}

}  // namespace

bool MenuGradient() { return t_menuGradient; }
void SetMenuGradient(bool on) { t_menuGradient = on; }
bool MenuGradient3D() { return t_menuGradient3D; }
void SetMenuGradient3D(bool on) { t_menuGradient3D = on; }

PopupItemList::PopupItemList() {
    // A new control's empty slot has every flag cleared; the slots rewritten later by
    // DeleteMenu and ClearMenu come out enabled and visible.
    items_.resize(1);
}

bool PopupItemList::IsEmptyList() const { return items_.size() == 1 && items_[0].Caption.empty(); }

std::int16_t PopupItemList::MenuItemCount() const {
    return IsEmptyList() ? 0 : static_cast<std::int16_t>(items_.size());
}

bool PopupItemList::IsPopupMenu() const { return !IsEmptyList() || windowList_; }

void PopupItemList::AddMenu(const std::string& caption, const host::Variant& tag, const AddMenuOptions& options) {
    std::size_t target = 0;
    if (!IsEmptyList()) {
        // The count is a 16-bit value: refuse the item that would make it overflow.
        if (items_.size() >= kMaxItems)
            throw host::HostError(host::kErrOverflow,
                                  "A popup menu holds at most " + std::to_string(kMaxItems) + " items");
        items_.emplace_back();
        target = items_.size() - 1;
    }
    if (options.BeforeTag) {
        // Shift items down one by one until the item carrying BeforeTag has moved; the new
        // item takes its old place. Without a match it lands at the top.
        target = 0;
        for (std::size_t i = items_.size() - 1; i >= 1; --i) {
            items_[i] = items_[i - 1];
            if (*options.BeforeTag == items_[i].Tag) {
                target = i - 1;
                break;
            }
        }
    }
    typPopUpItem& item = items_[target];
    item.Caption = caption;
    item.Tag = tag;
    item.Enabled = options.MenuEnabled;
    item.Visible = options.MenuVisible;
    item.Checked = options.MenuChecked ? -1 : 0;
    item.AutoCheck = options.MenuAutoCheck;
    item.Radio = options.MenuRadio;
    item.Icon = options.MenuIcon;
    item.IconCheck = options.MenuIconCheck;
}

void PopupItemList::AddEmptyItem() { AddMenu("", host::Variant(std::string()), AddMenuOptions{}); }

void PopupItemList::DeleteMenu(const std::optional<host::Variant>& tag, std::int16_t* index) {
    try {
        std::int16_t at = index ? *index : 0;
        if (tag) {
            at = -1;
            for (std::size_t i = items_.size(); i-- > 0;) {
                if (items_[i].Tag == *tag) {
                    at = static_cast<std::int16_t>(i);
                    break;
                }
            }
            if (index) *index = at;
        }
        if (at < 0 || static_cast<std::size_t>(at) >= items_.size()) return;
        if (items_.size() == 1) {
            items_[0] = EmptySlot();
        } else {
            items_.erase(items_.begin() + at);
        }
        auto last = static_cast<std::int16_t>(items_.size() - 1);
        SetMenuItem(cursor_ > last ? last : cursor_);
    } catch (const std::exception&) {
        // Deleting never fails; a sink that raises is ignored like any other error here.
    }
}

void PopupItemList::ClearMenu() { items_.assign(1, EmptySlot()); }

void PopupItemList::LoadCopy() {
    const typPopUpItem& item = items_.at(static_cast<std::size_t>(cursor_));
    copy_.caption = item.Caption;
    copy_.visible = item.Visible;
    copy_.checked = item.Checked;
    copy_.autoCheck = item.AutoCheck;
    copy_.radio = item.Radio ? -1 : 0;
    copy_.enabled = item.Enabled;
    copy_.icon = item.Icon;
    copy_.iconCheck = item.IconCheck;
    copy_.tag = item.Tag.ToString();  // last: an object tag cannot be shown as text
}

void PopupItemList::SetMenuItem(std::int16_t index) {
    if (index < 0) return;
    cursor_ = index;
    if (static_cast<std::size_t>(index) >= items_.size()) {
        AddEmptyItem();
        cursor_ = static_cast<std::int16_t>(items_.size() - 1);
    }
    try {
        LoadCopy();
    } catch (const std::exception&) {
        // A tag that has no text leaves the copy's tag as it was.
    }
    for (const char* name : kCursorProperties) Changed(name);
}

void PopupItemList::MenuSelect(std::int16_t index) {
    // The new index is checked, not the old cursor: a cursor that a form file left beyond the
    // list would otherwise pin every later selection, and an index past the end would leave
    // the cursor where writes through it fail.
    if (index < 0) return;
    if (static_cast<std::size_t>(index) >= items_.size()) throw host::HostError(host::kErrSubscript);
    cursor_ = index;
    try {
        LoadCopy();
    } catch (const std::exception&) {
    }
}

typPopUpItem& PopupItemList::CursorItem() {
    if (cursor_ < 0 || static_cast<std::size_t>(cursor_) >= items_.size()) throw host::HostError(host::kErrSubscript);
    return items_[static_cast<std::size_t>(cursor_)];
}

void PopupItemList::SetMenuItemCaption(const std::string& caption) {
    if (caption.empty()) {
        std::int16_t at = cursor_;
        DeleteMenu(std::nullopt, &at);
        return;
    }
    copy_.caption = caption;
    Changed("MenuItemCaption");
    CursorItem().Caption = caption;
}

void PopupItemList::SetMenuItemTag(const std::string& tag) {
    copy_.tag = tag;
    Changed("MenuItemTag");
    CursorItem().Tag = host::Variant(tag);
}

void PopupItemList::SetMenuItemVisible(bool visible) {
    copy_.visible = visible;
    Changed("MenuItemVisible");
    CursorItem().Visible = visible;
}

void PopupItemList::SetMenuItemChecked(std::int32_t checked) {
    copy_.checked = checked;
    Changed("MenuItemChecked");
    CursorItem().Checked = checked;
}

void PopupItemList::SetMenuItemAutoCheck(bool autoCheck) {
    copy_.autoCheck = autoCheck;
    Changed("MenuItemAutoCheck");
    CursorItem().AutoCheck = autoCheck;
}

void PopupItemList::SetMenuItemRadio(std::int32_t radio) {
    // The copy keeps the number given; the item only knows radio or not.
    copy_.radio = radio;
    Changed("MenuItemRadio");
    CursorItem().Radio = radio != 0;
}

void PopupItemList::SetMenuItemEnabled(bool enabled) {
    copy_.enabled = enabled;
    Changed("MenuItemEnabled");
    CursorItem().Enabled = enabled;
}

void PopupItemList::SetMenuItemIcon(std::shared_ptr<host::StdPicture> icon) {
    copy_.icon = icon;
    Changed("MenuItemIcon");
    CursorItem().Icon = std::move(icon);
}

void PopupItemList::SetMenuItemIconChk(std::shared_ptr<host::StdPicture> icon) {
    copy_.iconCheck = icon;
    Changed("MenuItemIconChk");
    CursorItem().IconCheck = std::move(icon);
}

void PopupItemList::SetMenuWindowList(bool on) {
    windowList_ = on;
    Changed("MenuWindowList");
}

bool PopupItemList::MenuGradient() const { return menus::MenuGradient(); }
bool PopupItemList::MenuGradient3D() const { return menus::MenuGradient3D(); }

void PopupItemList::SetMenuGradient(bool on) {
    menus::SetMenuGradient(on);
    Changed("MenuGradient");
}

void PopupItemList::SetMenuGradient3D(bool on) {
    menus::SetMenuGradient3D(on);
    Changed("MenuGradient3D");
}

void PopupItemList::InitProperties() {
    cursor_ = 0;
    copy_ = CursorCopy{};
    copy_.icon = std::make_shared<host::StdPicture>();
    copy_.iconCheck = std::make_shared<host::StdPicture>();
    windowList_ = false;
}

}  // namespace brimlox::menus
