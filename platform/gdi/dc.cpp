// Device contexts: creation, deletion and the plain state setters.
#include "platform/gdi/dc.h"
#include "platform/gdi/dc_activity.h"

#include <algorithm>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/trace.h"

namespace brimlox::gdi {

namespace {
int g_twipsPerPixel = 15;
}

void SetTwipsPerPixel(int twips) {
    if (twips > 0) g_twipsPerPixel = twips;
}
int TwipsPerPixel() { return g_twipsPerPixel; }

Surface* DcObject::Target() const {
    if (!memory) return external;
    auto* bmp = HandleTable::Instance().Get<BitmapObject>(bitmap);
    return bmp ? bmp->surface.get() : nullptr;
}

RECT DcObject::Clip() const {
    Surface* s = Target();
    if (!s) return RECT{};
    RECT b = s->Bounds();
    if (memory) return b;
    RECT r{std::max(b.left, clip.left), std::max(b.top, clip.top), std::min(b.right, clip.right),
           std::min(b.bottom, clip.bottom)};
    // A window outside its surface (below a form that grew, say) draws nowhere: its clip is the
    // empty rectangle at the surface's corner, never an inverted one.
    if (r.left >= r.right || r.top >= r.bottom) return RECT{b.left, b.top, b.left, b.top};
    return r;
}

namespace {
std::uint64_t g_dcUses = 0;
}  // namespace

DcObject* LookupDc(HDC hdc) {
    ++g_dcUses;
    return HandleTable::Instance().Get<DcObject>(hdc);
}

std::uint64_t DcUseCount() { return g_dcUses; }

namespace {

HDC AddDc(std::unique_ptr<DcObject> dc) {
    dc->pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    auto& table = HandleTable::Instance();
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(dc->pen), static_cast<HGDIOBJ>(dc->brush),
                      static_cast<HGDIOBJ>(dc->font), static_cast<HGDIOBJ>(dc->bitmap)}) {
        if (GdiObject* obj = table.Lookup(o)) obj->AddSelection();
    }
    return static_cast<HDC>(table.Add(std::move(dc)));
}

}  // namespace

HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip) {
    auto dc = std::make_unique<DcObject>();
    dc->memory = false;
    dc->external = surface;
    dc->origin = origin;
    dc->clip = clip;
    return AddDc(std::move(dc));
}

void RetargetSurfaceDC(HDC hdc, Surface* surface, POINT origin, RECT clip) {
    DcObject* dc = LookupDc(hdc);
    if (!dc || dc->memory) return;
    dc->external = surface;
    dc->origin = origin;
    dc->clip = clip;
}

}  // namespace brimlox::gdi

using namespace brimlox::gdi;

HDC CreateCompatibleDC(HDC hdc) {
    TraceCall tc("CreateCompatibleDC");
    if (tc) tc.Args(hdc);
    if (hdc && !LookupDc(hdc)) return tc.Return(static_cast<HDC>(nullptr));
    auto dc = std::make_unique<DcObject>();
    dc->memory = true;
    dc->bitmap = DefaultMonoBitmap();
    return tc.Return(AddDc(std::move(dc)));
}

BOOL DeleteDC(HDC hdc) {
    TraceCall tc("DeleteDC");
    if (tc) tc.Args(hdc);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(FALSE);
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(dc->pen), static_cast<HGDIOBJ>(dc->brush),
                      static_cast<HGDIOBJ>(dc->font), static_cast<HGDIOBJ>(dc->bitmap)}) {
        ReleaseSelection(hdc, o);
    }
    HandleTable::Instance().Remove(hdc);
    return tc.Return(TRUE);
}

int GetClipBox(HDC hdc, LPRECT rect) {
    DcObject* dc = LookupDc(hdc);
    if (!dc || !rect) return RGN_ERROR;
    // A DC's clip is one rectangle of its surface; logical units are the surface's shifted
    // to the DC's origin.
    RECT clip = dc->Clip();
    OffsetRect(&clip, -dc->origin.x, -dc->origin.y);
    *rect = clip;
    return IsRectEmpty(&clip) ? NULLREGION : SIMPLEREGION;
}

int GetDeviceCaps(HDC hdc, int index) {
    DcObject* dc = LookupDc(hdc);
    if (!dc) return 0;
    Surface* s = dc->Target();
    int dpi = (1440 + TwipsPerPixel() / 2) / TwipsPerPixel();
    switch (index) {
        case BITSPIXEL: return s && s->Format() == PixelFormat::Mono1 ? 1 : 32;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return dpi;
        case HORZRES: return s ? s->Width() : 0;
        case VERTRES: return s ? s->Height() : 0;
        case NUMCOLORS: return -1;
        case SIZEPALETTE: return 0;
        case RASTERCAPS: return 0x0001 | 0x0008 | 0x0800;  // RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT
        default: return 0;
    }
}

namespace {
// Shared shape of the "set a DC field, return the previous value" calls.
template <typename T, typename Valid>
T SetDcField(const char* op, HDC hdc, T DcObject::*field, T value, T failure, Valid valid) {
    TraceCall tc(op);
    if (tc) tc.Args(hdc, value);
    DcObject* dc = LookupDc(hdc);
    if (!dc || !valid(value)) return tc.Return(failure);
    T previous = dc->*field;
    dc->*field = value;
    return tc.Return(previous);
}
template <typename T>
T GetDcField(HDC hdc, T DcObject::*field, T failure) {
    DcObject* dc = LookupDc(hdc);
    return dc ? dc->*field : failure;
}
}  // namespace

int SetROP2(HDC hdc, int rop2) {
    return SetDcField("SetROP2", hdc, &DcObject::rop2, rop2, 0, [](int m) { return m >= 1 && m <= 16; });
}
int GetROP2(HDC hdc) { return GetDcField(hdc, &DcObject::rop2, 0); }
int SetBkMode(HDC hdc, int mode) {
    return SetDcField("SetBkMode", hdc, &DcObject::bkMode, mode, 0,
                      [](int m) { return m == TRANSPARENT || m == OPAQUE; });
}
int GetBkMode(HDC hdc) { return GetDcField(hdc, &DcObject::bkMode, 0); }
COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return SetDcField("SetBkColor", hdc, &DcObject::bkColor, color & 0xFFFFFF, CLR_INVALID,
                      [](COLORREF) { return true; });
}
COLORREF GetBkColor(HDC hdc) { return GetDcField(hdc, &DcObject::bkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return SetDcField("SetTextColor", hdc, &DcObject::textColor, color & 0xFFFFFF, CLR_INVALID,
                      [](COLORREF) { return true; });
}
COLORREF GetTextColor(HDC hdc) { return GetDcField(hdc, &DcObject::textColor, CLR_INVALID); }
int SetPolyFillMode(HDC hdc, int mode) {
    return SetDcField("SetPolyFillMode", hdc, &DcObject::polyFillMode, mode, 0,
                      [](int m) { return m == ALTERNATE || m == WINDING; });
}
int GetPolyFillMode(HDC hdc) { return GetDcField(hdc, &DcObject::polyFillMode, 0); }
int SetStretchBltMode(HDC hdc, int mode) {
    return SetDcField("SetStretchBltMode", hdc, &DcObject::stretchMode, mode, 0,
                      [](int m) { return m >= BLACKONWHITE && m <= HALFTONE; });
}
int GetStretchBltMode(HDC hdc) { return GetDcField(hdc, &DcObject::stretchMode, 0); }
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
    return SetDcField("SetDCBrushColor", hdc, &DcObject::dcBrushColor, color & 0xFFFFFF, CLR_INVALID,
                      [](COLORREF) { return true; });
}
COLORREF SetDCPenColor(HDC hdc, COLORREF color) {
    return SetDcField("SetDCPenColor", hdc, &DcObject::dcPenColor, color & 0xFFFFFF, CLR_INVALID,
                      [](COLORREF) { return true; });
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    TraceCall tc("MoveToEx");
    if (tc) tc.Args(hdc, x, y, nullptr);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(FALSE);
    if (previous) *previous = dc->currentPos;
    dc->currentPos = POINT{x, y};
    if (dc->pathOpen) {
        // A move starts a new figure; a move right after another only shifts its start.
        if (!dc->path.empty() && dc->path.back().points.size() == 1) dc->path.back() = PathFigure{{POINT{x, y}}, false};
        else dc->path.push_back(PathFigure{{POINT{x, y}}, false});
    }
    return tc.Return(TRUE);
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position) {
    DcObject* dc = LookupDc(hdc);
    if (!dc || !position) return FALSE;
    *position = dc->currentPos;
    return TRUE;
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
    TraceCall tc("SetBrushOrgEx");
    if (tc) tc.Args(hdc, x, y, nullptr);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(FALSE);
    if (previous) *previous = dc->brushOrg;
    dc->brushOrg = POINT{x, y};
    return tc.Return(TRUE);
}
