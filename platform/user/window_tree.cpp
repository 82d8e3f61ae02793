// Walking and changing the window tree: parents, owners, siblings in z-order, enumeration.
#include <algorithm>

#include "platform/user/user.h"
#include "platform/user/user_internal.h"

using namespace brimlox::user;

namespace {

WindowObject* SiblingList(WindowObject* w) { return LookupWindow(w->parent); }

// Enumerates a snapshot so that callbacks may create or destroy windows.
BOOL EnumList(const std::vector<HWND>& list, WNDENUMPROC proc, LPARAM lParam, bool recurse) {
    for (HWND h : list) {
        if (!IsWindow(h)) continue;
        if (!proc(h, lParam)) return FALSE;
        if (recurse) {
            WindowObject* w = LookupWindow(h);
            if (w && !w->children.empty()) {
                std::vector<HWND> kids = w->children;
                if (!EnumList(kids, proc, lParam, true)) return FALSE;
            }
        }
    }
    return TRUE;
}

}  // namespace

HWND GetDesktopWindow() { return DesktopWindowObject().handle; }

HWND GetParent(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop) return nullptr;
    if (w->IsChild()) return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop) return nullptr;
    if (flags == GA_PARENT) return w->parent;
    WindowObject* top = TopLevelOf(w);
    return top ? top->handle : nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    while (w && w->IsChild()) {
        if (w->parent == parent) return TRUE;
        w = LookupWindow(w->parent);
    }
    return FALSE;
}

HWND SetParent(HWND child, HWND newParent) {
    WindowObject* w = LookupWindow(child);
    if (!w || w->isDesktop) return nullptr;
    WindowObject* np = newParent ? LookupWindow(newParent) : &DesktopWindowObject();
    if (!np) return nullptr;
    // A window cannot become its own descendant's child.
    for (WindowObject* a = np; a; a = LookupWindow(a->parent))
        if (a == w) return nullptr;
    HWND old = w->parent;
    bool visible = IsReallyVisible(w);
    // The window (or one inside it) keeps the mouse capture across the change of parent.
    HWND capture = GetCapture();
    const bool keepCapture = capture && (capture == child || IsChild(child, capture));
    if (keepCapture) DetachCapture();
    if (visible) ShowWindow(child, SW_HIDE);
    if (WindowObject* op = LookupWindow(old)) {
        auto& c = op->children;
        c.erase(std::remove(c.begin(), c.end(), child), c.end());
    }
    w->parent = np->handle;
    np->children.insert(np->children.begin(), child);
    if (np->isDesktop) {
        w->style &= ~WS_CHILD;
        w->style |= WS_POPUP;
        EnsureSurface(w);
    } else {
        w->style = (w->style & ~WS_POPUP) | WS_CHILD;
        w->surface.reset();
    }
    BumpTreeGeneration();
    RetargetWindowDcs(w);
    if (visible) ShowWindow(child, SW_SHOWNA);
    if (keepCapture) RestoreCapture(capture);
    WindowObject* op = LookupWindow(old);
    return op && op->isDesktop ? GetDesktopWindow() : old;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER) return w->owner;
    WindowObject* p = SiblingList(w);
    if (!p) return nullptr;
    const auto& list = p->children;
    auto it = std::find(list.begin(), list.end(), hwnd);
    if (it == list.end()) return nullptr;
    switch (cmd) {
        case GW_HWNDFIRST: return list.front();
        case GW_HWNDLAST: return list.back();
        case GW_HWNDNEXT: return it + 1 == list.end() ? nullptr : *(it + 1);
        case GW_HWNDPREV: return it == list.begin() ? nullptr : *(it - 1);
        default: return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    WindowObject* w = hwnd ? LookupWindow(hwnd) : &DesktopWindowObject();
    if (!w || w->children.empty()) return nullptr;
    return w->children.front();
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) return FALSE;
    std::vector<HWND> tops = DesktopWindowObject().children;
    return EnumList(tops, proc, lParam, false);
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    WindowObject* w = parent ? LookupWindow(parent) : &DesktopWindowObject();
    if (!w || !proc) return FALSE;
    std::vector<HWND> kids = w->children;
    return EnumList(kids, proc, lParam, true);
}
