// Window geometry: frames, client areas, coordinate mapping, moving, sizing, z-order, showing
// and hiding, and hit testing (WindowFromPoint).
#include <algorithm>
#include <optional>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

RECT ClientRectOf(const WindowObject* w) {
    RECT in = NonClientInsets(w);
    int cx = std::max(0, w->Width() - in.left - in.right);
    int cy = std::max(0, w->Height() - in.top - in.bottom);
    return RECT{0, 0, cx, cy};
}

namespace {

// The last two origins asked for. Mouse input maps every move into the target's client
// coordinates, usually for the same window again, and its hit test asks for the parent's; the
// answers hold until a window is created, destroyed, moved, re-parented or changes its frame,
// all of which bump the tree generation.
struct OriginCache {
    struct Entry {
        const WindowObject* window = nullptr;
        POINT origin{};
    };
    std::uint64_t generation = 0;
    Entry entries[2];
    int older = 0;  // the entry the next miss replaces
};
OriginCache g_originCache;

}  // namespace

POINT ClientOriginOnScreen(const WindowObject* w) {
    OriginCache& cache = g_originCache;
    const std::uint64_t generation = TreeGeneration();
    if (cache.generation != generation) cache = OriginCache{generation, {}, 0};
    for (const OriginCache::Entry& e : cache.entries)
        if (w && e.window == w) return e.origin;
    const WindowObject* start = w;
    POINT p{0, 0};
    while (w && !w->isDesktop) {
        RECT in = NonClientInsets(w);
        p.x += w->rect.left + in.left;
        p.y += w->rect.top + in.top;
        w = LookupWindow(w->parent);
    }
    cache.entries[cache.older] = OriginCache::Entry{start, p};
    cache.older ^= 1;
    return p;
}

RECT WindowRectOnScreen(const WindowObject* w) {
    POINT o{0, 0};
    if (WindowObject* p = LookupWindow(w->parent); p && !p->isDesktop) o = ClientOriginOnScreen(p);
    return RECT{w->rect.left + o.x, w->rect.top + o.y, w->rect.right + o.x, w->rect.bottom + o.y};
}

bool IsReallyVisible(const WindowObject* w) {
    while (w && !w->isDesktop) {
        if (!w->Visible()) return false;
        w = LookupWindow(w->parent);
    }
    return w != nullptr;
}

// One walk up the tree: `offset` is this window's client origin minus the current ancestor's,
// grown by one step per level, so the cost is linear in the depth (asking every ancestor for
// its origin on the screen would walk the chain again at each level).
RECT VisibleClientRect(const WindowObject* w) {
    RECT r = ClientRectOf(w);
    POINT offset{0, 0};
    const WindowObject* child = w;
    for (const WindowObject* a = LookupWindow(w->parent); a && !a->isDesktop; a = LookupWindow(a->parent)) {
        const RECT in = NonClientInsets(child);
        offset.x += child->rect.left + in.left;
        offset.y += child->rect.top + in.top;
        RECT clip = ClientRectOf(a);
        OffsetRect(&clip, -offset.x, -offset.y);
        if (!IntersectRect(&r, &r, &clip)) return RECT{};
        child = a;
    }
    return r;
}

void EnsureSurface(WindowObject* w) {
    int cx = std::max(1, w->Width());
    int cy = std::max(1, w->Height());
    if (w->surface && w->surface->Width() == cx && w->surface->Height() == cy) return;
    // Filled with the window colour as it is allocated: one pass over the new pixels.
    w->surface = gdi::Surface::CreateFilled(cx, cy, gdi::PixelFormat::Bgrx32, gdi::ToPixel(GetSysColor(COLOR_WINDOW)));
}

namespace {

void InvalidateWhole(WindowObject* w) {
    RECT c = ClientRectOf(w);
    InvalidateClient(w, c, true);
}

// Repaints or recomposes what a window covered at `oldScreen` before a change. A child's
// rectangle is in its parent's client coordinates already, whatever frame the parent has.
void ExposeOldArea(WindowObject* w, const RECT& oldInParent, const RECT& oldScreen) {
    WindowObject* p = LookupWindow(w->parent);
    if (p && !p->isDesktop) {
        InvalidateClient(p, oldInParent, true);
    } else {
        ComposeScreenRect(oldScreen);
    }
}

void MoveInZOrder(WindowObject* w, HWND insertAfter) {
    WindowObject* p = LookupWindow(w->parent);
    if (!p) return;
    auto& list = p->children;
    list.erase(std::remove(list.begin(), list.end(), w->handle), list.end());
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        list.insert(list.begin(), w->handle);
    } else if (insertAfter == HWND_BOTTOM) {
        list.push_back(w->handle);
    } else {
        auto it = std::find(list.begin(), list.end(), insertAfter);
        list.insert(it == list.end() ? list.end() : it + 1, w->handle);
    }
    // Owned top-level windows stay above their owner.
    if (p->isDesktop && insertAfter == HWND_TOP) {
        std::vector<HWND> owned;
        for (HWND h : list)
            if (WindowObject* o = LookupWindow(h); o && o->owner == w->handle) owned.push_back(h);
        for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
            list.erase(std::remove(list.begin(), list.end(), *it), list.end());
            list.insert(list.begin(), *it);
        }
    }
}

void ApplyShow(WindowObject* w, bool show, bool activate) {
    HWND hwnd = w->handle;
    if (show == w->Visible()) return;
    SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!(w = LookupWindow(hwnd))) return;
    RECT oldScreen = WindowRectOnScreen(w);
    if (show) {
        w->style |= WS_VISIBLE;
        BumpTreeGeneration();
        InvalidateWhole(w);
        // Redrawing a frame composes the window's area already. A window without a frame
        // shows nothing of its own before its first paint, whose end composes it: composing
        // its area now would copy pixels that are about to be painted over (for a popup menu
        // of a thousand items, megabytes).
        const bool frameComposed = HasFrame(w);
        RedrawFrame(hwnd);
        if (!(w = LookupWindow(hwnd))) return;
        if (!w->IsChild()) {
            const RECT now = WindowRectOnScreen(w);
            if (frameComposed && !EqualRect(&oldScreen, &now)) ComposeScreenRect(oldScreen);
            if (activate && !(w->exStyle & WS_EX_NOACTIVATE)) SetActiveWindow(hwnd);
        }
    } else {
        w->style &= ~WS_VISIBLE;
        BumpTreeGeneration();
        HWND focus = GetFocus();
        if (focus == hwnd || IsChild(hwnd, focus)) SetFocus(w->IsChild() ? w->parent : nullptr);
        if (!(w = LookupWindow(hwnd))) return;
        if (GetCapture() == hwnd || IsChild(hwnd, GetCapture())) ReleaseCapture();
        if (!(w = LookupWindow(hwnd))) return;
        if (!w->IsChild() && GetActiveWindow() == hwnd) {
            HWND next = nullptr;
            if (WindowObject* o = LookupWindow(w->owner); o && o->Visible()) next = o->handle;
            for (HWND h : DesktopWindowObject().children) {
                WindowObject* t = LookupWindow(h);
                if (!next && t && h != hwnd && t->Visible() && !(t->exStyle & WS_EX_NOACTIVATE)) next = h;
            }
            SetActiveWindow(next);
            if (!(w = LookupWindow(hwnd))) return;
        }
        ExposeOldArea(w, w->rect, oldScreen);
    }
}

}  // namespace

// The children of `parent` as the hit tests read them, brought up to date with the tree.
static const std::vector<WindowObject::ChildSpot>& ChildSpotsOf(WindowObject* parent) {
    if (parent->childSpotsGeneration == TreeGeneration()) return parent->childSpots;
    parent->childSpots.clear();
    for (HWND h : parent->children)
        if (WindowObject* c = LookupWindow(h)) parent->childSpots.push_back({c->rect, c, c->Visible(), c->Enabled()});
    parent->childGrid.Build(parent->childSpots);
    parent->childSpotsGeneration = TreeGeneration();
    return parent->childSpots;
}

// The visible, enabled window under a screen point among `parent`'s children, descending into
// children; disabled children are transparent to the point, which then belongs to the parent.
// The parent's client origin is passed down as the walk descends, so each level adds its own
// offset instead of mapping the point through all its ancestors again.
static HWND HitTestBelow(WindowObject* parent, POINT origin, POINT screen) {
    POINT local{screen.x - origin.x, screen.y - origin.y};
    if (!RectContains(ClientRectOf(parent), local)) return parent->handle;
    const std::vector<WindowObject::ChildSpot>& spots = ChildSpotsOf(parent);
    const auto hit = [&](const WindowObject::ChildSpot& c) {
        if (!c.enabled) return parent->handle;
        RECT in = NonClientInsets(c.window);
        return HitTestBelow(c.window, POINT{origin.x + c.rect.left + in.left, origin.y + c.rect.top + in.top}, screen);
    };
    if (parent->childGrid.Built()) {
        for (std::uint32_t i : parent->childGrid.CandidatesAt(local))
            if (RectContains(spots[i].rect, local)) return hit(spots[i]);
        return parent->handle;
    }
    for (const WindowObject::ChildSpot& c : spots)
        if (c.visible && RectContains(c.rect, local)) return hit(c);
    return parent->handle;
}

// Whether a visible sibling above `x` among `parent`'s children overlaps `area` (in the
// parent's client coordinates). The grid's buckets list `x` itself in every cell that `area`
// reaches (it lies within `x`), and the siblings above it before it.
static bool SiblingAboveOverlaps(WindowObject* parent, const WindowObject* x, const RECT& area) {
    const std::vector<WindowObject::ChildSpot>& spots = ChildSpotsOf(parent);
    if (parent->childGrid.Built() && x->Visible()) {
        return parent->childGrid.AnyCellOver(area, [&](std::span<const std::uint32_t> bucket) {
            for (std::uint32_t i : bucket) {
                if (spots[i].window == x) return false;
                if (RectsOverlap(spots[i].rect, area)) return true;
            }
            return false;
        });
    }
    for (const WindowObject::ChildSpot& above : spots) {
        if (above.window == x) break;
        if (above.visible && RectsOverlap(above.rect, area)) return true;
    }
    return false;
}

HWND HitTestChildren(WindowObject* parent, POINT screen) {
    return HitTestBelow(parent, ClientOriginOnScreen(parent), screen);
}

// The window that has a screen point next after `above` when `above` lets the point through
// (answers WM_NCHITTEST with HTTRANSPARENT): the first visible sibling beneath it that holds
// the point, searched down into its children, or else the parent. A top-level window passes
// the point to the next top-level window. nullptr when nothing lies beneath.
HWND HitTestBeneath(HWND above, POINT screen) {
    WindowObject* w = LookupWindow(above);
    WindowObject* parent = w ? LookupWindow(w->parent) : nullptr;
    if (!parent) return nullptr;
    const std::vector<HWND>& siblings = parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), above);
    if (it == siblings.end()) return nullptr;
    const POINT origin = parent->isDesktop ? POINT{0, 0} : ClientOriginOnScreen(parent);
    const POINT local{screen.x - origin.x, screen.y - origin.y};
    for (++it; it != siblings.end(); ++it) {
        WindowObject* c = LookupWindow(*it);
        if (!c || !c->Visible() || !RectContains(c->rect, local)) continue;
        if (parent->isDesktop) return HitTestChildren(c, screen);
        if (!c->Enabled()) return parent->handle;
        const RECT in = NonClientInsets(c);
        return HitTestBelow(c, POINT{origin.x + c->rect.left + in.left, origin.y + c->rect.top + in.top}, screen);
    }
    return parent->isDesktop ? nullptr : parent->handle;
}

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = ClientRectOf(w);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = w->isDesktop ? w->rect : WindowRectOnScreen(w);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !point) return FALSE;
    POINT o = ClientOriginOnScreen(w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !point) return FALSE;
    POINT o = ClientOriginOnScreen(w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT a{0, 0};
    POINT b{0, 0};
    if (from && !ClientToScreen(from, &a)) return 0;
    if (to && !ClientToScreen(to, &b)) return 0;
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<WORD>(dx)) |
                            (static_cast<std::uint32_t>(static_cast<WORD>(dy)) << 16));
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop) return FALSE;
    RECT oldRect = w->rect;
    RECT oldScreen = WindowRectOnScreen(w);
    RECT next = oldRect;
    if (!(flags & SWP_NOMOVE)) OffsetRect(&next, x - oldRect.left, y - oldRect.top);
    if (!(flags & SWP_NOSIZE)) {
        next.right = next.left + std::max(0, cx);
        next.bottom = next.top + std::max(0, cy);
    }
    bool moved = next.left != oldRect.left || next.top != oldRect.top;
    bool sized = next.right - next.left != oldRect.right - oldRect.left ||
                 next.bottom - next.top != oldRect.bottom - oldRect.top;
    bool reordered = !(flags & SWP_NOZORDER);
    w->rect = next;
    if (sized || (flags & SWP_FRAMECHANGED)) {
        RecalcFrame(w);
        if (!(w = LookupWindow(hwnd))) return TRUE;
    }
    if (reordered) MoveInZOrder(w, insertAfter);
    if (moved || sized || reordered) BumpTreeGeneration();
    if (sized && !w->IsChild()) EnsureSurface(w);
    if (moved || sized || (flags & SWP_FRAMECHANGED)) RetargetWindowDcs(w);
    bool visible = IsReallyVisible(w);
    if (visible && !(flags & SWP_NOREDRAW) && (moved || sized || reordered)) {
        if (w->IsChild() || sized) InvalidateWhole(w);
        if (moved || sized) ExposeOldArea(w, oldRect, oldScreen);
        if (!w->IsChild()) ComposeScreenRect(WindowRectOnScreen(w));
    }
    if (visible && !(flags & SWP_NOREDRAW) && (sized || (flags & SWP_FRAMECHANGED))) {
        RedrawFrame(hwnd);
        if (!(w = LookupWindow(hwnd))) return TRUE;
    }
    if (moved) {
        // WM_MOVE carries the client area's corner in the parent's client coordinates.
        RECT in = NonClientInsets(w);
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(next.left + in.left, next.top + in.top));
    }
    if (sized && (w = LookupWindow(hwnd))) {
        RECT c = ClientRectOf(w);
        const WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(c.right, c.bottom));
    }
    if (!(w = LookupWindow(hwnd))) return TRUE;
    if (flags & SWP_SHOWWINDOW) ApplyShow(w, true, !(flags & SWP_NOACTIVATE));
    else if (flags & SWP_HIDEWINDOW) ApplyShow(w, false, false);
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop) return FALSE;
    BOOL wasVisible = w->Visible();
    if (ApplyShowState(w, cmd) && !(w = LookupWindow(hwnd))) return wasVisible;
    bool show = cmd != SW_HIDE;
    bool iconic = (w->style & WS_MINIMIZE) != 0;
    bool activate = !iconic && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE;
    ApplyShow(w, show, activate);
    // A restored or maximised window that was shown already comes to the front.
    if (show && activate && wasVisible && (cmd == SW_RESTORE || cmd == SW_MAXIMIZE) && IsWindow(hwnd) && !LookupWindow(hwnd)->IsChild()) {
        SetActiveWindow(hwnd);
        BringWindowToTop(hwnd);
    }
    return wasVisible;
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

// The last hit test: while the tree is unchanged, every point in `safe` hits `hwnd` again.
// A mouse moving over a form stays inside one window for many moves, so most hit tests are
// answered here instead of walking the tree.
struct HitCache {
    std::uint64_t generation = 0;
    RECT safe{};
    HWND hwnd = nullptr;
};
HitCache g_hitCache;

// The screen area in which `w` is certainly the hit: its visible rectangle, when it has no
// visible children and no window above it (at any level) overlaps that rectangle.
std::optional<RECT> SafeHitArea(WindowObject* w) {
    for (const WindowObject::ChildSpot& c : ChildSpotsOf(w))
        if (c.visible) return std::nullopt;
    // Each level works in the parent's client coordinates, where the siblings' rectangles are
    // stored, so no sibling needs mapping to the screen.
    RECT safe = WindowRectOnScreen(w);
    for (WindowObject* x = w; x && !x->isDesktop;) {
        WindowObject* p = LookupWindow(x->parent);
        if (!p) return std::nullopt;
        POINT o = p->isDesktop ? POINT{0, 0} : ClientOriginOnScreen(p);
        OffsetRect(&safe, -o.x, -o.y);
        if (!p->isDesktop) {
            RECT clip = ClientRectOf(p);
            if (!IntersectRect(&safe, &safe, &clip)) return std::nullopt;
        }
        if (SiblingAboveOverlaps(p, x, safe)) return std::nullopt;
        OffsetRect(&safe, o.x, o.y);
        x = p;
    }
    return safe;
}

}  // namespace


HWND WindowFromPoint(POINT point) {
    HitCache& cache = g_hitCache;
    if (cache.generation == TreeGeneration() && RectContains(cache.safe, point)) return cache.hwnd;
    for (HWND h : DesktopWindowObject().children) {
        WindowObject* t = LookupWindow(h);
        if (!t || !t->Visible() || !RectContains(t->rect, point)) continue;
        HWND hit = HitTestChildren(t, point);
        WindowObject* w = LookupWindow(hit);
        std::optional<RECT> safe = w && w->Enabled() ? SafeHitArea(w) : std::nullopt;
        cache = safe ? HitCache{TreeGeneration(), *safe, hit} : HitCache{};
        return hit;
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    WindowObject* p = LookupWindow(parent);
    if (!p) return nullptr;
    RECT client = ClientRectOf(p);
    if (!PtInRect(&client, point)) return nullptr;
    // Hidden and disabled children count here, as Windows documents for this call.
    for (HWND h : p->children) {
        WindowObject* c = LookupWindow(h);
        if (c && PtInRect(&c->rect, point)) return h;
    }
    return parent;
}
