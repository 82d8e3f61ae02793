// The state of the Menu property page: a copy of a menu-carrying control's item list that the
// page edits line by line, and the two steps that connect it to the control: loading the items
// through the control's late-bound menu members, and writing them back with the submenu levels
// corrected. The page holds as many items as the control's list can (it grows as lines are
// typed or inserted); edits stay here until they are applied.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/picture.h"
#include "platform/host/type_info.h"

namespace brimlox::menus {

// One line of the page: the fields of one menu item. `checked` and `radio` keep the raw value
// read from the control until the user changes them, so values outside 0 to 1 survive a load
// and apply untouched.
struct MenuPageItem {
    std::string caption;
    std::string tag;
    bool enabled = true;
    bool visible = true;
    std::int32_t checked = 0;
    bool autoCheck = false;
    std::int32_t radio = 0;
    std::shared_ptr<host::StdPicture> icon;
    std::shared_ptr<host::StdPicture> iconCheck;
};

class MenuPageModel {
public:
    // The most items the page holds: the control's item list counts them in 16 bits.
    static constexpr std::size_t kMaxItems = 32767;

    // Tells the user about a correction (a message box with OK).
    using Notice = std::function<void(const std::string& text)>;

    // Replaces the page's items and window-list flag by those of `control` (a Command or a
    // TrayIcon, reached through its published members).
    void Load(host::Dispatch& control);
    // Writes the window-list flag and every item with a caption to `control`, replacing its
    // list. A caption that goes more than one level deeper than the item written before it is
    // moved up to the deepest allowed level, in the page too, and `notice` is told so.
    void Apply(host::Dispatch& control, const Notice& notice);

    // Items, not counting the empty line the page list always ends with.
    std::size_t Count() const { return items_.size(); }
    const MenuPageItem& Item(std::size_t index) const { return items_.at(index); }
    // The item on line `index` for changing; the empty last line (index == Count()) becomes an
    // item first. Throws HostError 9 past that line, 7 when the page is full.
    MenuPageItem& Edit(std::size_t index);
    // Puts a new empty item (enabled and visible) at `index`, moving that line and the ones
    // below it down; `index` may be the empty last line. Throws as Edit does.
    void Insert(std::size_t index);
    // Removes the item at `index`; the empty last line cannot be removed (nothing happens).
    void Remove(std::size_t index);

    bool WindowList() const { return windowList_; }
    void SetWindowList(bool on) { windowList_ = on; }

    // How the page list shows a caption: every ">" as four blanks and every backslash-t pair
    // as a tab.
    static std::string ListLine(const std::string& caption);
    // The submenu level of a caption, counted as the popup display counts it: every ">".
    static int LevelOf(const std::string& caption);
    // `caption` moved to `level`: its leading ">" run replaced so that it counts `level`.
    static std::string WithLevel(const std::string& caption, int level);

private:
    void CheckRoomForOneMore() const;
    void WriteItem(host::Dispatch& control, std::int16_t index, const MenuPageItem& item) const;

    std::vector<MenuPageItem> items_;
    bool windowList_ = false;
};

}  // namespace brimlox::menus
