#include "menus/editor/menu_page_model.h"

#include <algorithm>

#include "platform/host/host_error.h"

namespace brimlox::menus {

namespace {

host::Variant PictureValue(const std::shared_ptr<host::StdPicture>& picture) {
    return host::Variant(std::static_pointer_cast<host::Dispatch>(picture));
}

void SetPicture(host::Dispatch& control, std::string_view name, const std::shared_ptr<host::StdPicture>& picture) {
    std::vector<host::Variant> args{PictureValue(picture)};
    host::Invoke(control, name, host::InvokeKind::PropertySet, args);
}

// The item the control's cursor copy holds now.
MenuPageItem ReadCursorCopy(host::Dispatch& control) {
    MenuPageItem item;
    item.caption = host::GetProperty(control, "MenuItemCaption").ToString();
    item.tag = host::GetProperty(control, "MenuItemTag").ToString();
    item.enabled = host::GetProperty(control, "MenuItemEnabled").ToBool();
    item.visible = host::GetProperty(control, "MenuItemVisible").ToBool();
    item.checked = host::GetProperty(control, "MenuItemChecked").ToLong();
    item.autoCheck = host::GetProperty(control, "MenuItemAutoCheck").ToBool();
    item.radio = host::GetProperty(control, "MenuItemRadio").ToLong();
    item.icon = host::GetProperty(control, "MenuItemIcon").As<host::StdPicture>();
    item.iconCheck = host::GetProperty(control, "MenuItemIconChk").As<host::StdPicture>();
    return item;
}

}  // namespace

void MenuPageModel::Load(host::Dispatch& control) {
    windowList_ = host::GetProperty(control, "MenuWindowList").ToBool();
    items_.clear();
    const std::int16_t count = host::GetProperty(control, "MenuItemCount").ToInteger();
    items_.reserve(static_cast<std::size_t>(std::max<std::int16_t>(count, 0)));
    // MenuSelect moves the cursor to each item in turn and loads its copy; it checks the index
    // it is given, so a cursor left beyond the list by a form file cannot make every line read
    // the same stale copy.
    for (std::int16_t i = 0; i < count; ++i) {
        host::CallMethod(control, "MenuSelect", {host::Variant(i)});
        items_.push_back(ReadCursorCopy(control));
    }
}

void MenuPageModel::WriteItem(host::Dispatch& control, std::int16_t index, const MenuPageItem& item) const {
    // Selecting one past the end appends an item that is enabled, visible, unchecked, without
    // tag or pictures (after ClearMenu the first slot is the same); only the fields that differ
    // from that are written, each through the control's cursor property.
    host::LetProperty(control, "MenuItem", host::Variant(index));
    if (!item.tag.empty()) host::LetProperty(control, "MenuItemTag", host::Variant(item.tag));
    host::LetProperty(control, "MenuItemCaption", host::Variant(item.caption));
    if (!item.enabled) host::LetProperty(control, "MenuItemEnabled", host::Variant(item.enabled));
    if (!item.visible) host::LetProperty(control, "MenuItemVisible", host::Variant(item.visible));
    if (item.checked != 0) host::LetProperty(control, "MenuItemChecked", host::Variant(item.checked));
    if (item.autoCheck) host::LetProperty(control, "MenuItemAutoCheck", host::Variant(item.autoCheck));
    if (item.radio != 0) host::LetProperty(control, "MenuItemRadio", host::Variant(item.radio));
    if (item.icon) SetPicture(control, "MenuItemIcon", item.icon);
    if (item.iconCheck) SetPicture(control, "MenuItemIconChk", item.iconCheck);
}

void MenuPageModel::Apply(host::Dispatch& control, const Notice& notice) {
    host::LetProperty(control, "MenuWindowList", host::Variant(windowList_));
    // Emptying the list first makes a second apply give the same list as the first.
    host::CallMethod(control, "ClearMenu");
    std::int16_t written = 0;
    int previousLevel = -1;
    for (auto& item : items_) {
        if (item.caption.empty()) continue;  // an empty line is no item and takes no index
        const int allowed = previousLevel + 1;
        if (LevelOf(item.caption) > allowed) {
            if (notice)
                notice("Menu entry " + item.caption + " skipped a level.\r\nEntry changed to level " +
                       std::to_string(allowed));
            item.caption = WithLevel(item.caption, allowed);
            if (item.caption.empty()) continue;  // nothing but ">": no text left to show
        }
        WriteItem(control, written, item);
        previousLevel = LevelOf(item.caption);
        ++written;
    }
}

void MenuPageModel::CheckRoomForOneMore() const {
    if (items_.size() >= kMaxItems)
        throw host::HostError(7, "Out of memory: a menu holds at most " + std::to_string(kMaxItems) + " items");
}

MenuPageItem& MenuPageModel::Edit(std::size_t index) {
    if (index > items_.size()) throw host::HostError(host::kErrSubscript);
    if (index == items_.size()) {
        CheckRoomForOneMore();
        items_.emplace_back();
    }
    return items_[index];
}

void MenuPageModel::Insert(std::size_t index) {
    if (index > items_.size()) throw host::HostError(host::kErrSubscript);
    CheckRoomForOneMore();
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), MenuPageItem{});
}

void MenuPageModel::Remove(std::size_t index) {
    if (index >= items_.size()) return;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string MenuPageModel::ListLine(const std::string& caption) {
    std::string line;
    line.reserve(caption.size() + 8);
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '>') {
            line += "    ";
        } else if (caption[i] == '\\' && i + 1 < caption.size() && caption[i + 1] == 't') {
            line += '\t';
            ++i;
        } else {
            line += caption[i];
        }
    }
    return line;
}

int MenuPageModel::LevelOf(const std::string& caption) {
    return static_cast<int>(std::count(caption.begin(), caption.end(), '>'));
}

std::string MenuPageModel::WithLevel(const std::string& caption, int level) {
    const std::size_t prefix = caption.find_first_not_of('>');
    std::string rest = prefix == std::string::npos ? std::string() : caption.substr(prefix);
    // A ">" inside the text counts as a level too (the display splits there), so the prefix
    // makes up only what the text does not already count.
    const int inside = LevelOf(rest);
    return std::string(static_cast<std::size_t>(std::max(level - inside, 0)), '>') + rest;
}

}  // namespace brimlox::menus
