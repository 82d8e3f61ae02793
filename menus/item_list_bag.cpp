// The item list in the property bag: "MenuItems" (the upper bound), "MenuItem" (the cursor),
// nine keys per item with a caption ("MenuTag0", "MenuCaption0" ...), the cursor copy and
// "MenuWindowList". Items with an empty caption are not written; reading gives them back as
// empty-caption items at their index, so every other item keeps its index.
#include <string>

#include "menus/popup_item_list.h"
#include "platform/host/host_error.h"

namespace brimlox::menus {

namespace {

using host::Variant;

Variant Nothing() { return Variant(std::shared_ptr<host::Dispatch>()); }
Variant Text(const std::string& s) { return Variant(s); }

// An empty picture is no picture: it equals the default Nothing and is not stored.
Variant PictureValue(const std::shared_ptr<host::StdPicture>& p) {
    if (!p || p->Type() == host::PictureType::None) return Nothing();
    return Variant(std::static_pointer_cast<host::Dispatch>(p));
}

std::shared_ptr<host::StdPicture> PictureOf(const Variant& v) {
    if (!v.IsObject()) return nullptr;
    return v.As<host::StdPicture>();
}

// The cursor copy holds an empty picture where the bag holds none, as a new control's does.
std::shared_ptr<host::StdPicture> CopyPictureOf(const Variant& v) {
    auto p = PictureOf(v);
    return p ? p : std::make_shared<host::StdPicture>();
}

void WriteItem(host::PropertyBag& bag, const typPopUpItem& item, const std::string& n) {
    bag.WriteProperty("MenuTag" + n, item.Tag, Text(""));
    bag.WriteProperty("MenuCaption" + n, Text(item.Caption), Text(""));
    bag.WriteProperty("MenuChecked" + n, Variant(item.Checked), Variant(std::int32_t{0}));
    bag.WriteProperty("MenuAutoCheck" + n, Variant(item.AutoCheck), Variant(false));
    bag.WriteProperty("MenuRadio" + n, Variant(item.Radio), Variant(false));
    bag.WriteProperty("MenuEnabled" + n, Variant(item.Enabled), Variant(true));
    bag.WriteProperty("MenuVisible" + n, Variant(item.Visible), Variant(true));
    bag.WriteProperty("MenuIcon" + n, PictureValue(item.Icon), Nothing());
    bag.WriteProperty("MenuIconCheck" + n, PictureValue(item.IconCheck), Nothing());
}

typPopUpItem ReadItem(const host::PropertyBag& bag, const std::string& n) {
    typPopUpItem item;
    item.Caption = bag.ReadProperty("MenuCaption" + n, Text("")).ToString();
    item.Tag = bag.ReadProperty("MenuTag" + n, Text(""));
    item.Enabled = bag.ReadProperty("MenuEnabled" + n, Variant(true)).ToBool();
    item.Visible = bag.ReadProperty("MenuVisible" + n, Variant(true)).ToBool();
    item.Checked = bag.ReadProperty("MenuChecked" + n, Variant(false)).ToLong();
    item.AutoCheck = bag.ReadProperty("MenuAutoCheck" + n, Variant(false)).ToBool();
    item.Radio = bag.ReadProperty("MenuRadio" + n, Variant(false)).ToBool();
    item.Icon = PictureOf(bag.ReadProperty("MenuIcon" + n, Nothing()));
    item.IconCheck = PictureOf(bag.ReadProperty("MenuIconCheck" + n, Nothing()));
    return item;
}

}  // namespace

void PopupItemList::WriteProperties(host::PropertyBag& bag) const {
    auto upper = static_cast<std::int16_t>(items_.size() - 1);
    bag.WriteProperty("MenuItems", Variant(upper), Variant(std::int16_t{0}));
    bag.WriteProperty("MenuItem", Variant(cursor_), Variant(std::int16_t{0}));
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (!items_[i].Caption.empty()) WriteItem(bag, items_[i], std::to_string(i));
    bag.WriteProperty("MenuItemCaption", Text(copy_.caption), Text(""));
    bag.WriteProperty("MenuItemTag", Text(copy_.tag), Text(""));
    bag.WriteProperty("MenuItemVisible", Variant(copy_.visible), Variant(true));
    bag.WriteProperty("MenuItemChecked", Variant(copy_.checked), Variant(std::int32_t{0}));
    bag.WriteProperty("MenuItemAutoCheck", Variant(copy_.autoCheck), Variant(false));
    bag.WriteProperty("MenuItemRadio", Variant(copy_.radio), Variant(std::int32_t{0}));
    bag.WriteProperty("MenuItemEnabled", Variant(copy_.enabled), Variant(true));
    bag.WriteProperty("MenuItemIcon", PictureValue(copy_.icon), Nothing());
    bag.WriteProperty("MenuItemIconChk", PictureValue(copy_.iconCheck), Nothing());
    bag.WriteProperty("MenuWindowList", Variant(windowList_), Variant(false));
}

void PopupItemList::ReadProperties(const host::PropertyBag& bag) {
    copy_.icon = CopyPictureOf(bag.ReadProperty("MenuItemIcon", Nothing()));
    copy_.iconCheck = CopyPictureOf(bag.ReadProperty("MenuItemIconChk", Nothing()));
    cursor_ = bag.ReadProperty("MenuItem", Variant(std::int16_t{0})).ToInteger();
    copy_.caption = bag.ReadProperty("MenuItemCaption", Text("")).ToString();
    copy_.tag = bag.ReadProperty("MenuItemTag", Text("")).ToString();
    copy_.visible = bag.ReadProperty("MenuItemVisible", Variant(true)).ToBool();
    copy_.checked = bag.ReadProperty("MenuItemChecked", Variant(std::int32_t{0})).ToLong();
    copy_.autoCheck = bag.ReadProperty("MenuItemAutoCheck", Variant(false)).ToBool();
    copy_.radio = bag.ReadProperty("MenuItemRadio", Variant(std::int32_t{0})).ToLong();
    copy_.enabled = bag.ReadProperty("MenuItemEnabled", Variant(true)).ToBool();
    windowList_ = bag.ReadProperty("MenuWindowList", Variant(false)).ToBool();
    std::int16_t upper = bag.ReadProperty("MenuItems", Variant(std::int16_t{0})).ToInteger();
    // Item 0 may be an unnamed item in front of named ones, so the upper bound counts too.
    bool hasItems = upper > 0 || !bag.ReadProperty("MenuCaption0", Text("")).ToString().empty();
    if (hasItems) ReadItems(bag, upper);
}

void PopupItemList::ReadItems(const host::PropertyBag& bag, std::int16_t upperBound) {
    std::size_t count = upperBound > 0 ? static_cast<std::size_t>(upperBound) + 1 : 1;
    if (count > kMaxItems)
        throw host::HostError(host::kErrOverflow,
                              "A popup menu holds at most " + std::to_string(kMaxItems) + " items");
    std::vector<typPopUpItem> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) items.push_back(ReadItem(bag, std::to_string(i)));
    items_ = std::move(items);
}

}  // namespace brimlox::menus
