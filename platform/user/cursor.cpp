// CreateIconIndirect, DestroyIcon, GetIconInfo, DrawIcon, CopyIcon, SetCursor and GetCursor.
#include "platform/user/cursor.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

HCURSOR g_cursor = nullptr;

gdi::Surface* SurfaceOf(HBITMAP bitmap) {
    auto* b = gdi::HandleTable::Instance().Get<gdi::BitmapObject>(bitmap);
    return b ? b->surface.get() : nullptr;
}

// A new bitmap with the same pixels, so that the icon owns its own copy as on Windows.
HBITMAP CopyBitmap(HBITMAP source) {
    gdi::Surface* s = SurfaceOf(source);
    if (!s) return nullptr;
    auto copy = gdi::Surface::Create(s->Width(), s->Height(), s->Format());
    if (!copy) return nullptr;
    std::memcpy(copy->Bits(), s->Bits(), s->ByteSize());
    return static_cast<HBITMAP>(gdi::HandleTable::Instance().Add(std::make_unique<gdi::BitmapObject>(std::move(copy))));
}

// Mask and colour of one icon pixel: the AND bit and the XOR value.
struct IconPixel {
    bool andBit;
    std::uint32_t xorValue;
};

IconPixel PixelAt(gdi::Surface* mask, gdi::Surface* color, int x, int y) {
    bool andBit = mask->Get(x, y) != 0;
    std::uint32_t xorValue;
    if (color) xorValue = color->Get(x, y) & 0xFFFFFF;
    else xorValue = mask->Get(x, y + mask->Height() / 2) ? 0xFFFFFF : 0;
    return {andBit, xorValue};
}

int IconHeight(const IconObject& icon) {
    gdi::Surface* m = SurfaceOf(icon.mask);
    if (!m) return 0;
    return icon.color ? m->Height() : m->Height() / 2;
}

}  // namespace

IconObject::~IconObject() {
    if (color) DeleteObject(color);
    if (mask) DeleteObject(mask);
}

void DrawIconOnSurface(const IconObject& icon, gdi::Surface& target, POINT at, const RECT& clip) {
    gdi::Surface* mask = SurfaceOf(icon.mask);
    gdi::Surface* color = icon.color ? SurfaceOf(icon.color) : nullptr;
    if (!mask) return;
    int w = mask->Width();
    int h = IconHeight(icon);
    if (color) {
        w = std::min(w, color->Width());
        h = std::min(h, color->Height());
    }
    for (int y = 0; y < h; ++y) {
        int ty = at.y + y;
        if (ty < clip.top || ty >= clip.bottom) continue;
        for (int x = 0; x < w; ++x) {
            int tx = at.x + x;
            if (tx < clip.left || tx >= clip.right) continue;
            IconPixel p = PixelAt(mask, color, x, y);
            std::uint32_t d = target.Get(tx, ty);
            target.Put(tx, ty, ((p.andBit ? d : 0) ^ p.xorValue) & 0xFFFFFF);
        }
    }
}

CursorPixels CursorImage(HCURSOR cursor) {
    CursorPixels out;
    auto* icon = UserHandleTable::Instance().Get<IconObject>(cursor);
    gdi::Surface* mask = icon ? SurfaceOf(icon->mask) : nullptr;
    if (!mask) return out;
    gdi::Surface* color = icon->color ? SurfaceOf(icon->color) : nullptr;
    out.width = color ? std::min(mask->Width(), color->Width()) : mask->Width();
    out.height = color ? std::min(IconHeight(*icon), color->Height()) : IconHeight(*icon);
    out.hotspot = icon->hotspot;
    out.argb.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            IconPixel p = PixelAt(mask, color, x, y);
            // Screen-inverting pixels (AND 1, XOR non-zero) show as black: presenters cannot invert.
            std::uint32_t v = p.andBit ? (p.xorValue ? 0xFF000000u : 0u) : (0xFF000000u | p.xorValue);
            out.argb[static_cast<std::size_t>(y) * out.width + x] = v;
        }
    return out;
}

std::size_t LiveIconCount() {
    std::size_t n = UserHandleTable::Instance().LiveCount(UserKind::Icon);
    // Shared standard cursors are created on first use and never freed; leave them out.
    extern std::size_t SharedCursorCount();
    return n - SharedCursorCount();
}

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

HICON CreateIconIndirect(ICONINFO* info) {
    if (!info || !info->hbmMask) return nullptr;
    gdi::Surface* mask = SurfaceOf(info->hbmMask);
    if (!mask || (info->hbmColor && !SurfaceOf(info->hbmColor))) return nullptr;
    auto icon = std::make_unique<IconObject>();
    icon->isIcon = info->fIcon != FALSE;
    icon->mask = CopyBitmap(info->hbmMask);
    icon->color = info->hbmColor ? CopyBitmap(info->hbmColor) : nullptr;
    int h = info->hbmColor ? mask->Height() : mask->Height() / 2;
    // Icons have their hot spot in the middle; cursors where the record says.
    icon->hotspot = icon->isIcon ? POINT{mask->Width() / 2, h / 2}
                                 : POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
    return HandleFromValue<HICON>(UserHandleTable::Instance().Add(std::move(icon)));
}

BOOL DestroyIcon(HICON icon) {
    auto* o = UserHandleTable::Instance().Get<IconObject>(icon);
    if (!o) return FALSE;
    if (o->shared) return TRUE;  // standard cursors stay
    if (g_cursor == icon) g_cursor = nullptr;
    return UserHandleTable::Instance().Remove(HandleValue(icon)) ? TRUE : FALSE;
}

BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HICON CopyIcon(HICON icon) {
    auto* o = UserHandleTable::Instance().Get<IconObject>(icon);
    if (!o) return nullptr;
    ICONINFO info;
    info.fIcon = o->isIcon;
    info.xHotspot = static_cast<DWORD>(o->hotspot.x);
    info.yHotspot = static_cast<DWORD>(o->hotspot.y);
    info.hbmMask = o->mask;
    info.hbmColor = o->color;
    HICON copy = CreateIconIndirect(&info);
    if (auto* c = UserHandleTable::Instance().Get<IconObject>(copy)) c->hotspot = o->hotspot;
    return copy;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    auto* o = UserHandleTable::Instance().Get<IconObject>(icon);
    if (!o || !info) return FALSE;
    // The caller owns the returned bitmaps and deletes them, as on Windows.
    info->fIcon = o->isIcon ? TRUE : FALSE;
    info->xHotspot = static_cast<DWORD>(o->hotspot.x);
    info->yHotspot = static_cast<DWORD>(o->hotspot.y);
    info->hbmMask = CopyBitmap(o->mask);
    info->hbmColor = o->color ? CopyBitmap(o->color) : nullptr;
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    auto* o = UserHandleTable::Instance().Get<IconObject>(icon);
    gdi::DcObject* dc = gdi::LookupDc(hdc);
    if (!o || !dc || !dc->Target()) return FALSE;
    gdi::Surface* mask = SurfaceOf(o->mask);
    gdi::Surface* color = o->color ? SurfaceOf(o->color) : nullptr;
    if (!mask) return FALSE;
    int w = mask->Width(), h = IconHeight(*o);
    if (color) w = std::min(w, color->Width()), h = std::min(h, color->Height());
    // Two blits, as Windows draws an icon: the mask ANDed onto the destination (a set bit keeps
    // the pixel: white with black text), then the colour, or the mask's lower half, XORed. Being
    // plain GDI calls, they are recorded in a drawing trace and replay like any other drawing.
    // DrawIcon places the icon's top-left corner at (x, y) whatever the hot spot.
    HDC mem = CreateCompatibleDC(hdc);
    if (!mem) return FALSE;
    HGDIOBJ old = SelectObject(mem, o->mask);
    const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(hdc, RGB(255, 255, 255));
    BitBlt(hdc, x, y, w, h, mem, 0, 0, SRCAND);
    if (color) {
        SelectObject(mem, o->color);
        BitBlt(hdc, x, y, w, h, mem, 0, 0, SRCINVERT);
    } else {
        BitBlt(hdc, x, y, w, h, mem, 0, h, SRCINVERT);
    }
    SetBkColor(hdc, oldBack);
    SetTextColor(hdc, oldText);
    SelectObject(mem, old);
    DeleteDC(mem);
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = g_cursor;
    if (cursor == old) return old;  // every mouse move sets the cursor it already has
    if (cursor && !UserHandleTable::Instance().Get<IconObject>(cursor)) return old;
    g_cursor = cursor;
    return old;
}

HCURSOR GetCursor() { return g_cursor; }
