// Window classes, creation and destruction, DefWindowProcA, text, styles and window longs.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"
#include "platform/user/window_tracker.h"

namespace brimlox::user {

constinit std::uint64_t g_treeGeneration = 1;

namespace {

std::unordered_map<std::string, std::shared_ptr<const WindowClass>>& Classes() {
    static std::unordered_map<std::string, std::shared_ptr<const WindowClass>> classes;
    return classes;
}

std::string ClassKey(LPCSTR name) {
    if (!name || IS_INTRESOURCE(name)) return std::string(1, '#').append(std::to_string(reinterpret_cast<std::uintptr_t>(name)));
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

WindowObject* g_desktop = nullptr;

void LinkChild(WindowObject* parent, HWND child, bool atTop) {
    if (atTop) parent->children.insert(parent->children.begin(), child);
    else parent->children.push_back(child);
}

void UnlinkChild(WindowObject* parent, HWND child) {
    auto& c = parent->children;
    c.erase(std::remove(c.begin(), c.end(), child), c.end());
    // Caches keyed by the tree's generation (hit tests, child arrays, client origins) may hold
    // the child, which is freed next; a handler of a later WM_NCDESTROY must not find it there.
    BumpTreeGeneration();
}

// Sends WM_DESTROY to a window and then to its children, as Windows does.
void SendDestroyRecursive(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return;
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    w = LookupWindow(hwnd);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) SendDestroyRecursive(k);
}

// Frees a window and its descendants (children first), sending WM_NCDESTROY to each.
void FreeRecursive(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) FreeRecursive(k);
    ForgetWindowInQueue(hwnd);
    ForgetWindowTimers(hwnd);
    ForgetWindowInput(hwnd);
    ForgetWindowDcs(hwnd);
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    w = LookupWindow(hwnd);
    if (!w) return;
    if (WindowObject* p = LookupWindow(w->parent)) UnlinkChild(p, hwnd);
    auto object = UserHandleTable::Instance().Release(HandleValue(hwnd));
    WindowTracker::NotifyDestroyed(hwnd);
}

}  // namespace

WindowObject& DesktopWindowObject() {
    if (!g_desktop || !LookupWindow(g_desktop->handle)) {
        auto w = std::make_unique<WindowObject>();
        WindowObject* raw = w.get();
        raw->isDesktop = true;
        raw->style = WS_VISIBLE | WS_POPUP;
        auto cls = std::make_shared<WindowClass>();
        cls->name = "#32769";
        cls->proc = DefWindowProcA;
        raw->cls = cls;
        raw->proc = DefWindowProcA;
        raw->handle = HandleFromValue<HWND>(UserHandleTable::Instance().Add(std::move(w)));
        g_desktop = raw;
    }
    auto& s = desktop::Desktop::Instance().Settings();
    g_desktop->rect = RECT{0, 0, s.width, s.height};
    return *g_desktop;
}

WindowObject* TopLevelOf(WindowObject* w) {
    while (w && !w->isDesktop) {
        WindowObject* p = LookupWindow(w->parent);
        if (!p || p->isDesktop) return w;
        w = p;
    }
    return nullptr;
}

LRESULT CallProc(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = w->proc ? w->proc : DefWindowProcA;
    return proc(w->handle, msg, wParam, lParam);
}

const char* EnsureWindowClass(const char* name, WNDPROC proc, UINT style) {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, name, &wc)) {
        wc = WNDCLASSA{};
        wc.style = style;
        wc.lpfnWndProc = proc;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    return name;
}

std::size_t LiveWindowCount() {
    std::size_t n = UserHandleTable::Instance().LiveCount(UserKind::Window);
    return g_desktop && LookupWindow(g_desktop->handle) ? n - 1 : n;
}

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbWndExtra < 0 || wc->cbClsExtra < 0) return 0;
    std::string key = ClassKey(wc->lpszClassName);
    auto& classes = Classes();
    if (classes.count(key)) return 0;  // ERROR_CLASS_ALREADY_EXISTS
    auto cls = std::make_shared<WindowClass>();
    cls->name = IS_INTRESOURCE(wc->lpszClassName) ? key : std::string(wc->lpszClassName);
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->clsExtra = wc->cbClsExtra;
    cls->wndExtra = std::min(wc->cbWndExtra, 1 << 16);
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    classes[key] = cls;
    static ATOM nextAtom = 0xC000;
    return nextAtom++;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) { return Classes().erase(ClassKey(className)) ? TRUE : FALSE; }

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* wc) {
    auto it = Classes().find(ClassKey(className));
    if (it == Classes().end() || !wc) return FALSE;
    const WindowClass& c = *it->second;
    wc->style = c.style;
    wc->lpfnWndProc = c.proc;
    wc->cbClsExtra = c.clsExtra;
    wc->cbWndExtra = c.wndExtra;
    wc->hInstance = c.instance;
    wc->hIcon = c.icon;
    wc->hCursor = c.cursor;
    wc->hbrBackground = c.background;
    wc->lpszClassName = className;
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    auto it = Classes().find(ClassKey(className));
    if (it == Classes().end()) return nullptr;
    WindowObject& desktopWindow = DesktopWindowObject();
    WindowObject* parentObject = nullptr;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
        parentObject = LookupWindow(parent);
        if (!parentObject) return nullptr;  // a child needs a live parent
    } else {
        // A top-level window's "parent" argument names its owner (the owner's top-level window).
        if (parent && !LookupWindow(parent)) return nullptr;
        if (WindowObject* o = TopLevelOf(LookupWindow(parent))) owner = o->handle;
        parentObject = &desktopWindow;
    }
    auto w = std::make_unique<WindowObject>();
    WindowObject* raw = w.get();
    raw->cls = it->second;
    raw->proc = raw->cls->proc;
    raw->text = windowName ? windowName : "";
    raw->style = style & ~WS_VISIBLE;
    raw->exStyle = exStyle;
    raw->parent = parentObject->handle;
    raw->uiState = InitialUiState(parentObject, style);
    raw->owner = owner;
    raw->instance = instance;
    raw->extra.assign(static_cast<std::size_t>(raw->cls->wndExtra), 0);
    // A child keeps its id here; a top-level window keeps its menu bar, as GWL_ID reads on Windows.
    raw->id = static_cast<LONG_PTR>(reinterpret_cast<std::uintptr_t>(menu));
    raw->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
    std::uint32_t value = UserHandleTable::Instance().Add(std::move(w));
    if (!value) return nullptr;
    HWND hwnd = HandleFromValue<HWND>(value);
    raw->handle = hwnd;
    // Children go to the bottom of their siblings (creation order is tab order), top-level
    // windows to the top of the screen.
    LinkChild(parentObject, hwnd, !(style & WS_CHILD));
    if (!(style & WS_CHILD)) EnsureSurface(raw);
    BumpTreeGeneration();

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    LPARAM lp = reinterpret_cast<LPARAM>(&cs);
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, lp) || !IsWindow(hwnd)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    RecalcFrame(raw);
    if (!IsWindow(hwnd) || SendMessageA(hwnd, WM_CREATE, 0, lp) == -1 || !IsWindow(hwnd)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    RECT client = ClientRectOf(raw);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    if (!IsWindow(hwnd)) return nullptr;
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(raw->rect.left + raw->ncInsets.left, raw->rect.top + raw->ncInsets.top));
    if (!IsWindow(hwnd)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop) return FALSE;
    if (w->destroying) return TRUE;  // a procedure destroying its window again while it goes
    // Owned top-level windows go first, as on Windows.
    if (!w->IsChild()) {
        std::vector<HWND> owned;
        for (HWND t : DesktopWindowObject().children)
            if (WindowObject* o = LookupWindow(t); o && o->owner == hwnd) owned.push_back(t);
        for (HWND o : owned) DestroyWindow(o);
        w = LookupWindow(hwnd);
        if (!w) return TRUE;
    }
    std::vector<WindowObject*> stack{w};
    while (!stack.empty()) {
        WindowObject* x = stack.back();
        stack.pop_back();
        x->destroying = true;
        for (HWND k : x->children)
            if (WindowObject* c = LookupWindow(k)) stack.push_back(c);
    }
    bool wasVisible = IsReallyVisible(w);
    WindowObject* parent = LookupWindow(w->parent);
    const HWND parentHandle = parent && !parent->isDesktop ? parent->handle : nullptr;
    RECT inParent = w->rect;
    if (wasVisible) SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The focus inside a window that goes (a hidden one too) passes to its parent first, as a
    // hidden window's does, so keys keep going to a window that exists.
    if (HWND f = GetFocus(); f && (f == hwnd || IsChild(hwnd, f)) && IsWindow(hwnd))
        SetFocus(IsWindow(parentHandle) ? parentHandle : nullptr);
    if (!IsWindow(hwnd)) return TRUE;
    SendDestroyRecursive(hwnd);
    FreeRecursive(hwnd);
    BumpTreeGeneration();  // the DCs of the destroyed windows are gone; no other DC moved
    // A top-level window's area was composed again when it was hidden above; a child's parent
    // repaints the place where it was.
    if (wasVisible && parent && !parent->isDesktop) InvalidateClient(parent, inParent, true);
    return TRUE;
}

namespace {

// WM_SETCURSOR: a child lets its parent choose first; otherwise the class cursor of the window
// under the pointer (wParam) in the client area, also when a parent answers for its child, and
// the sizing cursors on a top-level frame.
// The parent's procedure may destroy the child, so nothing is read from `w` after asking it.
LRESULT DefSetCursor(const WindowObject* w, WPARAM wParam, LPARAM lParam) {
    const bool child = w->IsChild();
    if (child && SendMessageA(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    const auto hit = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    WindowObject* under = LookupWindow(reinterpret_cast<HWND>(wParam));
    if (hit == HTCLIENT && under && under->cls->cursor) {
        SetCursor(under->cls->cursor);
        return TRUE;
    }
    if (hit != HTCLIENT && !child) SetCursor(LoadCursorA(nullptr, SizingCursor(hit)));
    return FALSE;
}

// Every other message DefWindowProcA handles; out of line, so its frame stays its own.
[[gnu::noinline]] LRESULT DefOtherMessage(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace

// The two messages of every mouse move are answered first, by small functions: the rest of the
// messages need a larger stack frame, which the mouse should not pay for.
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    if (msg == WM_NCHITTEST) return DefHitTest(w, lParam);
    if (msg == WM_SETCURSOR) return DefSetCursor(w, wParam, lParam);
    return DefOtherMessage(w, msg, wParam, lParam);
}

namespace {

LRESULT DefOtherMessage(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = w->handle;
    switch (msg) {
        case WM_NCCREATE: return TRUE;
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            if ((w->style & WS_CAPTION) == WS_CAPTION) RedrawFrame(hwnd);
            return TRUE;
        case WM_NCCALCSIZE: return DefNonClientMessage(w, msg, wParam, lParam);
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_SETICON:
        case WM_GETICON:
        case WM_GETMINMAXINFO: return DefNonClientMessage(w, msg, wParam, lParam);
        case WM_NCLBUTTONDOWN: return DefNonClientButtonDown(hwnd, wParam, lParam);
        case WM_NCLBUTTONDBLCLK: return DefNonClientDoubleClick(hwnd, wParam);
        case WM_SYSCOMMAND: return DefSysCommand(hwnd, wParam, lParam);
        case WM_NCRBUTTONUP: return DefNonClientRightUp(hwnd, wParam, lParam);
        case WM_CONTEXTMENU: return DefContextMenu(hwnd, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<char*>(lParam);
            if (!buffer || wParam == 0) return 0;
            std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
            std::memcpy(buffer, w->text.data(), n);
            buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = w->cls->background;
            if (!brush) return 0;
            // A class brush may be a system colour index plus one, as in Windows.
            auto value = HandleValue(brush);
            if (value > 0 && value <= SYSCOLOR_COUNT) brush = GetSysColorBrush(static_cast<int>(value - 1));
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            return 1;
        }
        case WM_MOUSEACTIVATE:
            if (w->IsChild())
                if (LRESULT r = SendMessageA(w->parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
            return MA_ACTIVATE;
        case WM_SYSCHAR: DefSystemKey(hwnd, msg, wParam); return 0;
        case WM_SYSKEYDOWN:
            if (DefSystemKey(hwnd, msg, wParam)) return 0;
            return DefUiStateProc(w, msg, wParam, lParam);
        case WM_CHANGEUISTATE: case WM_UPDATEUISTATE: case WM_QUERYUISTATE:
            return DefUiStateProc(w, msg, wParam, lParam);
        default: return 0;
    }
}

}  // namespace

BOOL IsWindow(HWND hwnd) { return LookupWindow(hwnd) != nullptr; }

BOOL IsWindowVisible(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    // A hidden window (a control that only works at run time) is answered without the walk up.
    return w && w->Visible() && IsReallyVisible(w);
}

BOOL IsWindowEnabled(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    return w && w->Enabled();
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = !w->Enabled();
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
        if (!(w = LookupWindow(hwnd))) return wasDisabled;
        w->style |= WS_DISABLED;
        // A disabled window loses the focus and the capture, as on Windows.
        if (GetFocus() == hwnd || IsChild(hwnd, GetFocus())) SetFocus(nullptr);
        if (GetCapture() == hwnd) ReleaseCapture();
        SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
    }
    BumpTreeGeneration();  // hit tests skip disabled children
    return wasDisabled;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (!IsWindow(hwnd)) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
    return IsWindow(hwnd) ? static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!IsWindow(hwnd)) return FALSE;
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    std::size_t n = std::min<std::size_t>(w->cls->name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, w->cls->name.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int GetDlgCtrlID(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    return w && w->IsChild() ? static_cast<int>(w->id) : 0;
}
