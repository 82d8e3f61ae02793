// Command: the drop-down menu cycle (open on release, MenuClick, hand-over to the neighbouring
// menu button) and the About box.
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

#include "controls/command/command.h"
#include "menus/popup_menu.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

bool IsBarContainer(const std::shared_ptr<host::Dispatch>& container) {
    return container && (container->TypeName() == "DreamBar" || container->TypeName() == "SplitWindow");
}

bool WiderThanTall(host::Dispatch& container) {
    return host::GetProperty(container, "Width").ToDouble() > host::GetProperty(container, "Height").ToDouble();
}

// Opens the menu of another button by a posted press and release near its right edge, half
// way down: on the drop-down strip of a menu button (a press on its main part would click
// it), anywhere on a button whose whole face opens its menu.
void PostMenuOpeningClick(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client)) return;
    const LPARAM at = MAKELPARAM(std::max<LONG>(0, client.right - 2), client.bottom / 2);
    PostMessageA(window, WM_LBUTTONDOWN, 0, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

}  // namespace

// Tells a bar container which band of it this button's open menu covers (or that it closed),
// so the container can hand the menu over when the mouse moves to another button.
void Command::ReportMenuBand(bool open) {
    host::TryInvoke([&] {
        auto container = Container();
        if (!IsBarContainer(container)) return;
        std::vector<host::Variant> args;
        if (!open) {
            args = {std::int32_t{0}, std::int32_t{0}, std::int32_t{0}, std::int32_t{0}, false};
        } else if (WiderThanTall(*container)) {
            args = {std::int32_t{ToPixelsX(static_cast<float>(Left()))}, std::int32_t{ToPixelsX(static_cast<float>(Left() + Width()))},
                    std::int32_t{-65534}, std::int32_t{65535}, true};
        } else {
            args = {std::int32_t{-65534}, std::int32_t{65535}, std::int32_t{ToPixelsY(static_cast<float>(Top()))},
                    std::int32_t{ToPixelsY(static_cast<float>(Top() + Height()))}, true};
        }
        host::Invoke(*container, "MenuPoppedUp", host::InvokeKind::PropertyLet, args);
    });
}

// The arrow keys in an open menu move to the nearest menu button on that side of the same
// container, wrapping round to the farthest one on the other side.
void Command::HandOverMenu() {
    const bool right = menus::Popup().arrowRight;
    host::Form* form = ParentForm();
    if (!form) return;
    Command* nearest = nullptr;
    Command* farthest = nullptr;
    for (const auto& control : form->Controls()) {
        auto* other = dynamic_cast<Command*>(control.get());
        if (!other || other == this || other->ContainerHwnd() != ContainerHwnd() || other->MenuItemCount() <= 0) continue;
        const bool onSide = right ? other->Left() > Left() : other->Left() < Left();
        if (onSide) {
            if (!nearest || (right ? other->Left() < nearest->Left() : other->Left() > nearest->Left())) nearest = other;
        } else if (!farthest || (right ? other->Left() < farthest->Left() : other->Left() > farthest->Left())) {
            farthest = other;
        }
    }
    Command* target = nearest ? nearest : farthest;
    if (target && target->hWnd()) PostMenuOpeningClick(target->hWnd());
}

// MenuClick gets a copy of the item's tag; a handler's change is stored back only if the item
// is still there (the handler may have cleared the menu).
void Command::RaiseMenuClick(std::int32_t chosen) {
    const auto index = static_cast<std::int16_t>(chosen - 1);
    menu_.SetMenuSelected(index);
    menu_.SetMenuItem(index);
    if (index < 0 || static_cast<std::size_t>(index) >= menu_.Items().size()) return;
    host::Variant tag = menu_.Items()[static_cast<std::size_t>(index)].Tag;
    RaiseEvent("MenuClick", tag);
    if (*alive_ && static_cast<std::size_t>(index) < menu_.Items().size())
        menu_.Items()[static_cast<std::size_t>(index)].Tag = tag;
}

void Command::OpenMenu(int button, int shift, float x, float y, bool raiseMouseUp) {
    auto alive = alive_;
    DrawButton(false);
    float menuX = 0, menuY = static_cast<float>(Height());
    host::TryInvoke([&] {
        auto container = Container();
        if (IsBarContainer(container) && !WiderThanTall(*container)) menuX = static_cast<float>(Width()), menuY = 0;
    });
    ReportMenuBand(true);
    menus::PopupState& popup = menus::Popup();
    popup.menuShowing = true;
    popup.menuOwnerIsMenuButton = menuButton_;
    popup.menuContainer = ContainerHwnd();
    const std::int32_t chosen =
        menus::ShowPopupMenu(hWnd(), ContainerHwnd(), menuX, menuY, menu_, menu_.MenuWindowList());
    if (popup.arrowLeft || popup.arrowRight) {
        if (*alive) HandOverMenu();
        popup.arrowLeft = popup.arrowRight = false;
    }
    if (popup.hostDestroyed) {
        // The popup's host went away: no MenuClick, but the keyboard roles of every button and
        // the other menus must keep working.
        popup.hostDestroyed = false;
        popup.menuShowing = false;
        return;
    }
    if (!*alive) {
        popup.menuShowing = false;
        return;
    }
    if (chosen > 0) RaiseMenuClick(chosen);
    popup.menuShowing = false;
    if (!*alive) return;
    ReportMenuBand(false);
    if (popup.nextMenuOwner) {
        PostMenuOpeningClick(popup.nextMenuOwner);
        popup.nextMenuOwner = nullptr;
    }
    menuClosedTick_ = GetTickCount();
    menuClosedRecently_ = true;
    TogglePress(false);
    if (activeBorder_) StartHoverWatch();
    if (raiseMouseUp) RaiseMouse("MouseUp", button, shift, x, y);
}

// The library's About box: its name and version, and what the machine it runs on is.
void Command::ShowAboutBox() {
    std::string text = std::string("Brimlox ") + BRIMLOX_VERSION + "\nOwner-drawn controls for the component host.";
    utsname info{};
    if (uname(&info) == 0) {
        text += std::string("\n\nSystem: ") + info.sysname + " " + info.release + " (" + info.machine + ")";
        text += "\nProcessors: " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN));
    }
    host::MsgBox(text, MB_ICONINFORMATION, "About Brimlox");
}

}  // namespace brimlox::controls
