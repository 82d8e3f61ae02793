// Shell_NotifyIconA and the list of icons in the notification area.
#include "platform/shell/notify_area.h"

#include <algorithm>
#include <cstring>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/user/user.h"
#include "platform/user/window_tracker.h"

namespace brimlox::shell {

namespace {

void OnWindowDestroyed(HWND hwnd) { NotifyArea::Instance().WindowDestroyed(hwnd); }

HWND WindowOf(const NOTIFYICONDATAA& d) { return HandleFromValue<HWND>(d.hWnd); }

// The tooltip field holds at most 63 characters and a NUL; an unterminated one is cut there.
std::string TipOf(const NOTIFYICONDATAA& d) {
    return std::string(d.szTip, strnlen(d.szTip, sizeof d.szTip - 1));
}

}  // namespace

NotifyArea& NotifyArea::Instance() {
    static NotifyArea area;
    return area;
}

TrayEntry* NotifyArea::Find(HWND hwnd, UINT id) {
    for (TrayEntry& e : entries_)
        if (e.hwnd == hwnd && e.id == id) return &e;
    return nullptr;
}

// Takes the fields the flags name; the shell keeps its own copy of the icon, so the caller may
// destroy its handle at once.
void NotifyArea::Apply(TrayEntry& entry, const NOTIFYICONDATAA& data) {
    if (data.uFlags & NIF_MESSAGE) {
        entry.hasCallback = true;
        entry.callbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & NIF_ICON) {
        if (entry.icon) DestroyIcon(entry.icon);
        entry.icon = data.hIcon ? CopyIcon(HandleFromValue<HICON>(data.hIcon)) : nullptr;
    }
    if (data.uFlags & NIF_TIP) entry.tip = TipOf(data);
}

BOOL NotifyArea::Add(const NOTIFYICONDATAA& data) {
    HWND hwnd = WindowOf(data);
    if (!IsWindow(hwnd) || Find(hwnd, data.uID) || entries_.size() >= kMaxIcons) return FALSE;
    user::WindowTracker::AddDestroyObserver(OnWindowDestroyed);
    TrayEntry entry;
    entry.hwnd = hwnd;
    entry.id = data.uID;
    Apply(entry, data);
    entries_.push_back(entry);
    UpdateStrip();
    return TRUE;
}

BOOL NotifyArea::Modify(const NOTIFYICONDATAA& data) {
    TrayEntry* entry = Find(WindowOf(data), data.uID);
    if (!entry) return FALSE;
    Apply(*entry, data);
    UpdateStrip();
    return TRUE;
}

BOOL NotifyArea::Delete(const NOTIFYICONDATAA& data) {
    TrayEntry* entry = Find(WindowOf(data), data.uID);
    if (!entry) return FALSE;
    if (entry->icon) DestroyIcon(entry->icon);
    entries_.erase(entries_.begin() + (entry - entries_.data()));
    UpdateStrip();
    return TRUE;
}

void NotifyArea::WindowDestroyed(HWND hwnd) {
    if (hwnd == strip_) {
        strip_ = nullptr;
        return;
    }
    auto gone = [&](const TrayEntry& e) { return e.hwnd == hwnd; };
    if (std::none_of(entries_.begin(), entries_.end(), gone)) return;
    for (TrayEntry& e : entries_)
        if (gone(e) && e.icon) DestroyIcon(e.icon);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), gone), entries_.end());
    UpdateStrip();
}

RECT NotifyArea::StripRect() const {
    if (entries_.empty()) return RECT{};
    const auto& s = desktop::Desktop::Instance().Settings();
    int width = std::min(static_cast<int>(entries_.size()) * kCell + 4, s.width);
    return RECT{s.width - width, s.height - kHeight, s.width, s.height};
}

RECT NotifyArea::IconCell(std::size_t index) const {
    int x = 2 + static_cast<int>(index) * kCell;
    return RECT{x, 2, x + kCell, kHeight - 2};
}

int NotifyArea::IconAt(POINT client) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        RECT cell = IconCell(i);
        if (PtInRect(&cell, client)) return static_cast<int>(i);
    }
    return -1;
}

// Keeps the strip window the size of the icons: made with the first, gone with the last.
void NotifyArea::UpdateStrip() {
    if (entries_.empty()) {
        HWND strip = strip_;
        strip_ = nullptr;
        if (strip) DestroyWindow(strip);
        return;
    }
    RECT r = StripRect();
    if (!strip_ || !IsWindow(strip_)) {
        strip_ = CreateStripWindow(r);
        return;
    }
    MoveWindow(strip_, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    InvalidateRect(strip_, nullptr, TRUE);
}

}  // namespace brimlox::shell

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) {
    if (!data || data->cbSize != NOTIFYICONDATAA_V1_SIZE) return FALSE;
    auto& area = brimlox::shell::NotifyArea::Instance();
    switch (message) {
        case NIM_ADD: return area.Add(*data);
        case NIM_MODIFY: return area.Modify(*data);
        case NIM_DELETE: return area.Delete(*data);
        default: return FALSE;
    }
}
