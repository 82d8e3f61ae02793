// Painting: update areas, WM_PAINT and WM_ERASEBKGND, window and screen DCs, and handing
// finished pixels to the desktop's composition.
#include <algorithm>
#include <unordered_map>

#include "platform/desktop/desktop.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dc_activity.h"
#include "platform/gdi/gdi.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

// Every DC handed out by GetDC, GetWindowDC or BeginPaint, with the window it draws on
// (nullptr: the screen). Own DCs of CS_OWNDC windows are listed too.
struct WindowDc {
    HWND hwnd = nullptr;
    bool whole = false;  // GetWindowDC: the frame included
    bool own = false;
    // The GDI's DC use count when the DC was handed out: unchanged at the release, nothing was
    // drawn anywhere in between and the screen needs no new composition.
    std::uint64_t usesAtHandOut = 0;
};
std::unordered_map<HDC, WindowDc>& Dcs() {
    static std::unordered_map<HDC, WindowDc> dcs;
    return dcs;
}

struct DcPlacement {
    gdi::Surface* surface = nullptr;
    POINT origin{};
    RECT clip{};
};

// Where a DC of this window draws: the top-level surface, shifted to the client (or window)
// corner and clipped by the visible client area.
DcPlacement PlacementFor(HWND hwnd, bool whole) {
    DcPlacement p;
    if (!hwnd) {
        // Drawing on the screen lands over the windows' latest pixels.
        desktop::Desktop::Instance().FlushComposition();
        p.surface = &desktop::Desktop::Instance().Screen();
        p.clip = p.surface->Bounds();
        return p;
    }
    WindowObject* w = LookupWindow(hwnd);
    WindowObject* top = TopLevelOf(w);
    if (!w || !top || !top->surface) return p;
    POINT topCorner{top->rect.left, top->rect.top};
    if (whole) {
        RECT wr = WindowRectOnScreen(w);
        p.origin = POINT{wr.left - topCorner.x, wr.top - topCorner.y};
        p.clip = RECT{p.origin.x, p.origin.y, p.origin.x + w->Width(), p.origin.y + w->Height()};
    } else {
        POINT c = ClientOriginOnScreen(w);
        p.origin = POINT{c.x - topCorner.x, c.y - topCorner.y};
        p.clip = VisibleClientRect(w);
        OffsetRect(&p.clip, p.origin.x, p.origin.y);
    }
    p.surface = top->surface.get();
    return p;
}

HDC HandOut(HWND hwnd, bool whole, bool own) {
    DcPlacement p = PlacementFor(hwnd, whole);
    HDC dc = gdi::CreateSurfaceDC(p.surface, p.origin, p.clip);
    if (!dc) return nullptr;
    Dcs()[dc] = WindowDc{hwnd, whole, own, gdi::DcUseCount()};
    if (WindowObject* w = LookupWindow(hwnd)) w->dcs.push_back(dc);
    return dc;
}

// Takes a released DC off its window's list.
void DropFromWindow(HWND hwnd, HDC dc) {
    if (WindowObject* w = LookupWindow(hwnd)) std::erase(w->dcs, dc);
}

void Retarget(HDC dc, const WindowDc& info) {
    DcPlacement p = PlacementFor(info.hwnd, info.whole);
    gdi::RetargetSurfaceDC(dc, p.surface, p.origin, p.clip);
}

// Composes the screen area of a window's client rectangle part `clientRect`.
void ComposeClientPart(WindowObject* w, RECT clientRect) {
    if (!IsReallyVisible(w)) return;
    RECT vis = VisibleClientRect(w);
    if (!IntersectRect(&clientRect, &clientRect, &vis)) return;
    POINT o = ClientOriginOnScreen(w);
    OffsetRect(&clientRect, o.x, o.y);
    ComposeScreenRect(clientRect);
}

WindowObject* FindPaintIn(WindowObject* w) {
    if (!w->Visible()) return nullptr;
    if (w->hasUpdate) return w;
    for (HWND h : w->children)
        if (WindowObject* c = LookupWindow(h))
            if (WindowObject* found = FindPaintIn(c)) return found;
    return nullptr;
}

}  // namespace

void ComposeScreenRect(const RECT& screenRect) { desktop::Desktop::Instance().Compose(screenRect); }

void RetargetWindowDcs() {
    for (auto& [dc, info] : Dcs()) Retarget(dc, info);
}

void RetargetWindowDcs(WindowObject* root) {
    std::vector<WindowObject*> stack{root};
    while (!stack.empty()) {
        WindowObject* w = stack.back();
        stack.pop_back();
        for (HDC dc : w->dcs)
            if (auto it = Dcs().find(dc); it != Dcs().end()) Retarget(dc, it->second);
        for (HWND h : w->children)
            if (WindowObject* c = LookupWindow(h)) stack.push_back(c);
    }
}

void ForgetWindowDcs(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return;
    auto& dcs = Dcs();
    for (HDC dc : w->dcs) {
        auto it = dcs.find(dc);
        if (it == dcs.end()) continue;
        if (it->second.own) {
            DeleteDC(dc);
            dcs.erase(it);
        } else {
            // The caller still holds it and will release it; until then it draws nowhere.
            gdi::RetargetSurfaceDC(dc, nullptr, POINT{}, RECT{});
            it->second.hwnd = HandleFromValue<HWND>(0xFFFFFFFFu);
        }
    }
    w->dcs.clear();
    w->ownDc = nullptr;
}

namespace {
// An idle message loop asks for a window to paint every time it looks for work; walking every
// window each time made an idle look cost microseconds on a form of a few hundred controls. A
// walk that found nothing is remembered until a window gains an update area or the tree
// changes (showing a window may reveal an update area it had while hidden).
std::uint64_t g_invalidations = 0;
struct NothingToPaint {
    std::uint64_t generation = ~std::uint64_t{0};
    std::uint64_t invalidations = ~std::uint64_t{0};
} g_nothingToPaint;

bool KnownNothingToPaint() {
    return g_nothingToPaint.generation == TreeGeneration() && g_nothingToPaint.invalidations == g_invalidations;
}
}  // namespace

void InvalidateClient(WindowObject* w, const RECT& rect, bool erase) {
    RECT client = ClientRectOf(w);
    RECT r;
    if (!IntersectRect(&r, &rect, &client)) return;
    if (w->hasUpdate) UnionRect(&w->update, &w->update, &r);
    else w->update = r;
    w->hasUpdate = true;
    ++g_invalidations;
    w->eraseNeeded = w->eraseNeeded || erase;
    // Children share their parent's pixels, so the part of each child under the area is
    // repainted after the parent (parents paint before children).
    for (HWND h : w->children) {
        WindowObject* c = LookupWindow(h);
        if (!c || !c->Visible()) continue;
        RECT overlap;
        if (!IntersectRect(&overlap, &r, &c->rect)) continue;
        RECT in = NonClientInsets(c);
        OffsetRect(&overlap, -(c->rect.left + in.left), -(c->rect.top + in.top));
        InvalidateClient(c, overlap, erase);
    }
}

HWND FindWindowToPaint(HWND filter) {
    if (filter) {
        WindowObject* w = LookupWindow(filter);
        return w && IsReallyVisible(w) && w->hasUpdate ? filter : nullptr;
    }
    if (KnownNothingToPaint()) return nullptr;
    for (HWND h : DesktopWindowObject().children)
        if (WindowObject* t = LookupWindow(h))
            if (WindowObject* found = FindPaintIn(t)) return found->handle;
    g_nothingToPaint = NothingToPaint{TreeGeneration(), g_invalidations};
    return nullptr;
}

bool AnyPaintPending() { return FindWindowToPaint(nullptr) != nullptr; }

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    if (!hwnd) {
        // Windows repaints every window for a null window.
        for (HWND h : DesktopWindowObject().children) InvalidateRect(h, nullptr, erase);
        return TRUE;
    }
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return FALSE;
    InvalidateClient(w, rect ? *rect : ClientRectOf(w), erase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        w->hasUpdate = false;
        w->eraseNeeded = false;
        return TRUE;
    }
    // The update area is one rectangle: validating a part that covers it, or all of one of
    // its sides, shrinks it; a hole in the middle leaves it as it is (repainting more is safe).
    RECT u = w->update;
    if (rect->left <= u.left && rect->right >= u.right) {
        if (rect->top <= u.top) u.top = std::max(u.top, rect->bottom);
        if (rect->bottom >= u.bottom) u.bottom = std::min(u.bottom, rect->top);
    } else if (rect->top <= u.top && rect->bottom >= u.bottom) {
        if (rect->left <= u.left) u.left = std::max(u.left, rect->right);
        if (rect->right >= u.right) u.right = std::min(u.right, rect->left);
    }
    w->update = u;
    if (IsRectEmpty(&u)) w->hasUpdate = w->eraseNeeded = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return FALSE;
    if (rect) *rect = w->hasUpdate ? w->update : RECT{};
    if (erase && w->hasUpdate && w->eraseNeeded) {
        HDC dc = GetDC(hwnd);
        w->eraseNeeded = !SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hwnd, dc);
    }
    return w->hasUpdate ? TRUE : FALSE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return FALSE;
    if (flags & RDW_INVALIDATE) InvalidateRect(hwnd, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
    if (!(flags & RDW_UPDATENOW)) return TRUE;
    // Paint the window, then its children, each once, right now; the screen takes the
    // result once they all have.
    brimlox::desktop::ComposeBatch batch;
    std::vector<HWND> order{hwnd};
    for (std::size_t i = 0; i < order.size(); ++i)
        if (WindowObject* x = LookupWindow(order[i]); x && (flags & RDW_ALLCHILDREN))
            order.insert(order.end(), x->children.begin(), x->children.end());
    for (HWND h : order) {
        WindowObject* x = LookupWindow(h);
        if (x && x->hasUpdate && IsReallyVisible(x)) SendMessageA(h, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return FALSE;
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !ps) return nullptr;
    RECT update = w->hasUpdate ? w->update : RECT{};
    bool erase = w->eraseNeeded;
    w->hasUpdate = false;
    w->eraseNeeded = false;
    HDC dc = HandOut(hwnd, false, false);
    if (gdi::DcObject* d = gdi::LookupDc(dc)) {
        // Drawing is limited to the update area, as with the update region on Windows.
        RECT clip = update;
        OffsetRect(&clip, d->origin.x, d->origin.y);
        IntersectRect(&d->clip, &d->clip, &clip);
    }
    ps->hdc = dc;
    ps->rcPaint = update;
    ps->fErase = TRUE;
    if (erase) ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

namespace {

// A window and its children draw on one backing surface with a rectangular clip, so a parent's
// paint covers its children's pixels. For a parent with WS_CLIPCHILDREN the children it painted
// over are invalidated, and they paint again on top, which leaves the pixels Windows shows.
void RepaintCoveredChildren(HWND parent, const RECT& painted) {
    WindowObject* p = LookupWindow(parent);
    if (!p || !(p->style & WS_CLIPCHILDREN) || IsRectEmpty(&painted) || !IsReallyVisible(p)) return;
    // Invalidating sends no message and leaves the tree as it is, so the list is walked in place.
    for (HWND child : p->children) {
        const WindowObject* c = LookupWindow(child);
        if (!c || !c->Visible()) continue;
        // The child's rectangle is kept in the parent's client coordinates already.
        RECT overlap{};
        if (!IntersectRect(&overlap, &c->rect, &painted)) continue;
        OffsetRect(&overlap, -c->rect.left, -c->rect.top);
        InvalidateRect(child, &overlap, TRUE);
    }
}

// The same for siblings: a child with WS_CLIPSIBLINGS never draws over the siblings above it
// in z-order, and no window draws over the siblings above any of its clipping ancestors (a
// label inside a frame stays under a tool bar floating over that frame). Its paint covered
// them on the shared surface, so the ones it painted over are invalidated and paint again on
// top. Only windows above are touched, so this ends.
void RepaintSiblingsAbove(HWND hwnd, const RECT& painted) {
    const WindowObject* start = LookupWindow(hwnd);
    if (!start || IsRectEmpty(&painted)) return;
    const POINT corner = ClientOriginOnScreen(start);
    RECT screenPainted = painted;
    OffsetRect(&screenPainted, corner.x, corner.y);
    for (const WindowObject* w = start; w && w->IsChild(); w = LookupWindow(w->parent)) {
        if (!(w->style & WS_CLIPSIBLINGS)) continue;
        const WindowObject* parent = LookupWindow(w->parent);
        if (!parent || !IsReallyVisible(parent)) continue;
        // Siblings keep their rectangles in the parent's client coordinates.
        const POINT parentCorner = ClientOriginOnScreen(parent);
        RECT inParent = screenPainted;
        OffsetRect(&inParent, -parentCorner.x, -parentCorner.y);
        // Children are listed topmost first: the ones above come before this window.
        for (HWND sibling : parent->children) {
            if (sibling == w->handle) break;
            const WindowObject* s = LookupWindow(sibling);
            if (!s || !s->Visible()) continue;
            RECT overlap{};
            if (!IntersectRect(&overlap, &s->rect, &inParent)) continue;
            const RECT in = NonClientInsets(s);
            OffsetRect(&overlap, -(s->rect.left + in.left), -(s->rect.top + in.top));
            InvalidateRect(sibling, &overlap, TRUE);
        }
    }
}

}  // namespace

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE;
    auto& dcs = Dcs();
    auto it = dcs.find(ps->hdc);
    if (it == dcs.end()) return FALSE;
    DropFromWindow(it->second.hwnd, ps->hdc);
    dcs.erase(it);
    DeleteDC(ps->hdc);
    if (WindowObject* w = LookupWindow(hwnd)) {
        RepaintCoveredChildren(hwnd, ps->rcPaint);
        RepaintSiblingsAbove(hwnd, ps->rcPaint);
        ComposeClientPart(w, ps->rcPaint);
    }
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd) return HandOut(nullptr, false, false);
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return nullptr;
    if (w->cls->style & CS_OWNDC) {
        if (!w->ownDc) w->ownDc = HandOut(hwnd, false, true);
        if (auto it = Dcs().find(w->ownDc); it != Dcs().end()) it->second.usesAtHandOut = gdi::DcUseCount();
        return w->ownDc;
    }
    return HandOut(hwnd, false, false);
}

HDC GetWindowDC(HWND hwnd) {
    if (!hwnd) return HandOut(nullptr, false, false);
    return IsWindow(hwnd) ? HandOut(hwnd, true, false) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC hdc) {
    auto& dcs = Dcs();
    auto it = dcs.find(hdc);
    if (it == dcs.end()) return 0;
    HWND owner = it->second.hwnd;
    if (gdi::DcUseCount() != it->second.usesAtHandOut)
        if (WindowObject* w = LookupWindow(owner)) ComposeClientPart(w, ClientRectOf(w));
    if (it->second.own) return 1;  // a CS_OWNDC DC lives as long as its window
    (void)hwnd;
    DropFromWindow(owner, hdc);
    dcs.erase(it);
    DeleteDC(hdc);
    return 1;
}

HWND WindowFromDC(HDC hdc) {
    auto it = Dcs().find(hdc);
    return it == Dcs().end() ? nullptr : it->second.hwnd;
}
