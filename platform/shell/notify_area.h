// The notification area: the icons that Shell_NotifyIconA put there, each with its own copy of
// the caller's icon, its tooltip and its callback message, and the tray strip that shows them
// in a band at the bottom right of the screen. The strip reports mouse activity over an icon
// to the icon's window with the callback message (wParam the icon's uID, lParam the mouse
// message), and shows the tooltip after the mouse has rested on an icon.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/shell/shellapi.h"

namespace brimlox::shell {

struct TrayEntry {
    HWND hwnd = nullptr;
    UINT id = 0;
    bool hasCallback = false;  // NIF_MESSAGE was given
    UINT callbackMessage = 0;
    HICON icon = nullptr;  // the shell's own copy, or none
    std::string tip;
};

class NotifyArea {
public:
    static NotifyArea& Instance();

    WINBOOL Add(const NOTIFYICONDATAA& data);
    WINBOOL Modify(const NOTIFYICONDATAA& data);
    WINBOOL Delete(const NOTIFYICONDATAA& data);

    const std::vector<TrayEntry>& Entries() const { return entries_; }
    // The strip's screen rectangle (empty while there are no icons) and an icon's cell in it.
    RECT StripRect() const;
    RECT IconCell(std::size_t index) const;
    // The strip window, created with the first icon and gone with the last.
    HWND Strip() const { return strip_; }
    // The icon under a point of the strip's client area, or -1.
    int IconAt(POINT client) const;

    // Drops the entries of a destroyed window (and forgets the strip when it is destroyed).
    void WindowDestroyed(HWND hwnd);

    static constexpr std::size_t kMaxIcons = 256;
    static constexpr int kCell = 20;    // one icon: 16 pixels and 2 on each side
    static constexpr int kHeight = 24;  // the strip: a 1-pixel sunken edge around the cells

private:
    NotifyArea() = default;
    TrayEntry* Find(HWND hwnd, UINT id);
    void Apply(TrayEntry& entry, const NOTIFYICONDATAA& data);
    void UpdateStrip();

    std::vector<TrayEntry> entries_;
    HWND strip_ = nullptr;
};

// ---- The strip window (tray_window.cpp) -------------------------------------------------------
HWND CreateStripWindow(const RECT& screenRect);
// The delay before a tooltip shows under a resting mouse (the double-click time, as on Windows).
UINT TooltipDelay();

}  // namespace brimlox::shell
