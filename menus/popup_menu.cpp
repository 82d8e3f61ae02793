// Showing an item list as a popup: the MDI window list, subclassing the owner (menu messages,
// measuring and drawing) and the host (its destruction cancels the result) while
// TrackPopupMenu runs, and applying the choice to the list afterwards.
#include "menus/popup_menu.h"

#include <cctype>

#include "menus/popup_internal.h"
#include "platform/host/runtime.h"
#include "platform/host/variant.h"
#include "platform/user/user.h"

namespace brimlox::menus {

namespace {

struct WindowEntry {
    HWND hwnd = nullptr;
    std::string title;
};

// The popup being shown; the subclassed window procedures find it here.
struct OpenPopup {
    detail::PopupBuild build;
    detail::PopupDrawing drawing;
    std::vector<WindowEntry> windows;
    HWND owner = nullptr;
    HWND host = nullptr;
    LONG ownerProc = 0;
    LONG hostProc = 0;
    HMENU lastMenu = nullptr;
};

thread_local PopupState t_state;
thread_local OpenPopup* t_open = nullptr;

LRESULT CallPrevious(LONG proc, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (!proc) return DefWindowProcA(hwnd, msg, w, l);
    auto token = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(proc));
    return CallWindowProcA(reinterpret_cast<WNDPROC>(token), hwnd, msg, w, l);
}

// The first item whose text holds "&" and the typed letter, among the items of `menu`.
LRESULT MenuChar(OpenPopup& p, HWND hwnd, WPARAM w, LPARAM l) {
    if (HIWORD(w) & MF_SYSMENU) return CallPrevious(p.ownerProc, hwnd, WM_MENUCHAR, w, l);
    std::string key = "&";
    key += static_cast<char>(std::toupper(static_cast<unsigned char>(LOWORD(w) & 0xFF)));
    auto menu = reinterpret_cast<HMENU>(l);
    for (const detail::OwnerDrawRecord& r : p.build.records) {
        if (r.menu != menu || !menu) continue;
        std::string upper = r.text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper.find(key) != std::string::npos) return static_cast<LRESULT>(MAKELPARAM(r.position, MNC_EXECUTE));
    }
    return CallPrevious(p.ownerProc, hwnd, WM_MENUCHAR, w, l);
}

LRESULT CALLBACK MenuWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    OpenPopup* p = t_open;
    if (!p) return DefWindowProcA(hwnd, msg, w, l);
    PopupState& st = t_state;
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
            if (mi->CtlType != ODT_MENU) break;  // the owner's own owner-drawn controls
            detail::MeasureItem(p->build, p->drawing, *mi);
            return 0;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
            if (di->CtlType != ODT_MENU) break;
            detail::DrawItem(p->build, p->drawing, *di);
            return 0;
        }
        case WM_COMMAND:
            if (l != 0) break;  // a child control's notification, not a menu choice
            st.chosenId = LOWORD(w);
            return 0;
        case WM_INITMENU: p->lastMenu = reinterpret_cast<HMENU>(w); return 0;
        case WM_INITMENUPOPUP: return 0;
        case WM_MENUSELECT:
            // A selection that moved consumed the arrow key pressed before it: into a submenu,
            // or across to another column of the same menu. Only a key that moved nothing
            // leaves the menu for the neighbouring button.
            if (l) st.arrowRight = st.arrowLeft = false;
            p->lastMenu = reinterpret_cast<HMENU>(l);
            return 0;
        case WM_MENUCHAR: return MenuChar(*p, hwnd, w, l);
        case WM_ENTERIDLE:
            if (st.arrowRight || st.arrowLeft) {
                // Close the menu so that the caller can move on to the neighbouring button.
                PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0);
                PostMessageA(nullptr, WM_LBUTTONUP, 0, 0);
            }
            return 0;
        case WM_ENTERMENULOOP: st.chosenId = 0; return 0;
        case WM_EXITMENULOOP: return 0;
        default: break;
    }
    return CallPrevious(p->ownerProc, hwnd, msg, w, l);
}

LRESULT CALLBACK HostWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    OpenPopup* p = t_open;
    if (!p) return DefWindowProcA(hwnd, msg, w, l);
    if (msg == WM_DESTROY) t_state.hostDestroyed = true;
    return CallPrevious(p->hostProc, hwnd, msg, w, l);
}

// The titled children of the first child of the host's parent (the MDI client's windows),
// each title cut to 39 characters and trimmed.
std::vector<WindowEntry> CollectWindowList(HWND host) {
    struct Search {
        HWND client;
        std::vector<WindowEntry> found;
    } search{GetWindow(GetParent(host), GW_CHILD), {}};
    if (!search.client) return {};
    auto visit = [](HWND hwnd, LPARAM l) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(l);
        if (GetParent(hwnd) != s.client) return TRUE;
        char buffer[40] = {};
        GetWindowTextA(hwnd, buffer, sizeof buffer);
        std::string title(buffer, sizeof buffer);
        for (char& c : title)
            if (c == '\0') c = ' ';
        title.erase(0, title.find_first_not_of(' '));
        title.erase(title.find_last_not_of(' ') + 1);
        if (!title.empty()) s.found.push_back({hwnd, title});
        return TRUE;
    };
    EnumChildWindows(search.client, visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void AppendWindowItems(std::vector<typPopUpItem>& items, const std::vector<WindowEntry>& windows) {
    for (std::size_t i = 0; i < windows.size(); ++i) {
        typPopUpItem item;
        item.Caption = i < 9 ? "&" + std::to_string(i + 1) + " " + windows[i].title : windows[i].title;
        item.Enabled = item.Visible = true;
        item.Checked = i == 0 ? 1 : 0;
        item.Tag = host::Variant(static_cast<std::int32_t>(1000 + i));
        items.push_back(std::move(item));
    }
}

// AutoCheck toggles between 0 and 1; a radio choice checks its item and clears the rest of
// its run of adjacent radio items.
void ApplyCheck(std::vector<typPopUpItem>& items, std::size_t k) {
    if (!items[k].Radio) {
        if (items[k].AutoCheck) items[k].Checked = items[k].Checked == 0 ? 1 : 0;
        return;
    }
    std::size_t first = k, last = k;
    while (first > 0 && items[first - 1].Radio) --first;
    while (last + 1 < items.size() && items[last + 1].Radio) ++last;
    for (std::size_t i = first; i <= last; ++i) items[i].Checked = i == k ? 1 : 0;
}

// One popup from build to clean-up. The destructor puts the window procedures back, frees the
// menus and drawing objects and takes the window-list items out of the list again, also when
// a handler run by the menu loop throws.
class PopupSession {
public:
    PopupSession(HWND owner, HWND host, std::vector<typPopUpItem>& items) : items_(items), ownCount_(items.size()) {
        popup_.owner = owner;
        popup_.host = host;
    }
    ~PopupSession() {
        RestoreProcedures();
        if (t_open == &popup_) t_open = nullptr;
        popup_.drawing.Close();
        detail::DestroyPopup(popup_.build);
        if (items_.size() > ownCount_) items_.resize(ownCount_);
    }
    PopupSession(const PopupSession&) = delete;
    PopupSession& operator=(const PopupSession&) = delete;

    void AddWindowList() {
        popup_.windows = CollectWindowList(popup_.host);
        AppendWindowItems(items_, popup_.windows);
    }
    bool Build() {
        popup_.drawing.Open();
        return detail::BuildPopup(items_, ownCount_, popup_.build) && popup_.build.topItems > 0;
    }
    void Track(float x, float y);
    void ApplyChoice();

private:
    void RestoreProcedures() {
        if (popup_.hostProc && IsWindow(popup_.host)) SetWindowLongA(popup_.host, GWL_WNDPROC, popup_.hostProc);
        if (popup_.ownerProc && IsWindow(popup_.owner)) SetWindowLongA(popup_.owner, GWL_WNDPROC, popup_.ownerProc);
        popup_.hostProc = popup_.ownerProc = 0;
    }

    std::vector<typPopUpItem>& items_;
    const std::size_t ownCount_;
    OpenPopup popup_;
};

void PopupSession::Track(float x, float y) {
    t_state.chosenId = 0;
    t_open = &popup_;
    popup_.ownerProc = SetWindowLongA(popup_.owner, GWL_WNDPROC, user::WndProcToLong(MenuWndProc));
    popup_.hostProc = SetWindowLongA(popup_.host, GWL_WNDPROC, user::WndProcToLong(HostWndProc));
    host::ScreenInfo screen = host::Screen();
    POINT at{};
    UINT flags = TPM_RIGHTBUTTON;
    if (x == static_cast<float>(screen.Width) && y == static_cast<float>(screen.Height)) {
        GetCursorPos(&at);
        flags |= TPM_RIGHTALIGN;
    } else {
        at.x = static_cast<LONG>(host::RoundHalfEven(x / static_cast<float>(screen.TwipsPerPixelX)));
        at.y = static_cast<LONG>(host::RoundHalfEven(y / static_cast<float>(screen.TwipsPerPixelY)));
        ClientToScreen(popup_.owner, &at);
        flags |= TPM_LEFTALIGN;
    }
    TrackPopupMenu(popup_.build.top, flags, at.x, at.y, 0, popup_.owner, nullptr);
    // The choice arrives as a posted WM_COMMAND.
    host::DoEvents();
    RestoreProcedures();
}

void PopupSession::ApplyChoice() {
    PopupState& st = t_state;
    // The list belongs to a control whose window is gone: leave it alone.
    if (st.hostDestroyed) st.chosenId = 0;
    if (st.chosenId <= 0) return;
    auto k = static_cast<std::size_t>(st.chosenId - 1);
    if (k >= items_.size()) {
        st.chosenId = 0;
        return;
    }
    ApplyCheck(items_, k);
    if (k >= ownCount_) {
        if (k - ownCount_ < popup_.windows.size()) SetFocus(popup_.windows[k - ownCount_].hwnd);
        st.chosenId = 0;
    }
}

}  // namespace

PopupState& Popup() { return t_state; }

HMENU detail::OpenPopupMenuHandle() { return t_open ? t_open->build.top : nullptr; }

std::int32_t ShowPopupMenu(HWND owner, HWND host, float x, float y, PopupItemList& items, bool windowList) {
    if (t_open) return 0;  // one popup at a time; the open one's state stays as it is
    t_state.chosenId = 0;
    t_state.hostDestroyed = false;
    PopupSession session(owner, host, items.Items());
    if (windowList) session.AddWindowList();
    if (!session.Build()) return 0;
    session.Track(x, y);
    session.ApplyChoice();
    return t_state.chosenId;
}

}  // namespace brimlox::menus
