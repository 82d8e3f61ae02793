// Stock objects, SelectObject, DeleteObject and GetObjectA for every object kind.
#include "platform/gdi/objects.h"

#include <array>
#include <cstring>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/trace.h"

namespace brimlox::gdi {

namespace {

constexpr int kStockCount = DC_PEN + 1;

HGDIOBJ MakeStock(std::unique_ptr<GdiObject> o) {
    o->MarkStock();
    return HandleTable::Instance().Add(std::move(o));
}

HGDIOBJ StockBrush(COLORREF color, UINT style = BS_SOLID, bool dc = false) {
    auto b = std::make_unique<BrushObject>();
    b->style = style;
    b->color = color;
    b->dcBrush = dc;
    return MakeStock(std::move(b));
}

HGDIOBJ StockPen(COLORREF color, int style = PS_SOLID, bool dc = false) {
    auto p = std::make_unique<PenObject>(false);
    p->styleBits = static_cast<DWORD>(style);
    p->color = color;
    p->dcPen = dc;
    return MakeStock(std::move(p));
}

HGDIOBJ StockFont(const char* face, LONG height, LONG weight, BYTE pitch) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = pitch;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return MakeStock(std::make_unique<FontObject>(lf));
}

const std::array<HGDIOBJ, kStockCount>& StockTable() {
    static const std::array<HGDIOBJ, kStockCount> table = [] {
        std::array<HGDIOBJ, kStockCount> t{};
        t[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
        t[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
        t[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
        t[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
        t[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
        t[NULL_BRUSH] = StockBrush(0, BS_NULL);
        t[WHITE_PEN] = StockPen(RGB(255, 255, 255));
        t[BLACK_PEN] = StockPen(RGB(0, 0, 0));
        t[NULL_PEN] = StockPen(0, PS_NULL);
        t[OEM_FIXED_FONT] = StockFont("Terminal", 12, 400, 1);
        t[ANSI_FIXED_FONT] = StockFont("Courier", 13, 400, 1);
        t[ANSI_VAR_FONT] = StockFont("MS Sans Serif", 13, 400, 2);
        t[SYSTEM_FONT] = StockFont("System", 16, 700, 2);
        t[DEVICE_DEFAULT_FONT] = StockFont("System", 16, 700, 2);
        t[SYSTEM_FIXED_FONT] = StockFont("Fixedsys", 15, 400, 1);
        t[DEFAULT_GUI_FONT] = StockFont("MS Shell Dlg", -11, 400, 0);
        t[DC_BRUSH] = StockBrush(RGB(255, 255, 255), BS_SOLID, true);
        t[DC_PEN] = StockPen(RGB(0, 0, 0), PS_SOLID, true);
        return t;
    }();
    return table;
}

// Swaps the DC's selected object of one kind, keeping the selection counts right.
template <typename H>
HGDIOBJ Swap(HDC hdc, H& slot, HGDIOBJ incoming) {
    HGDIOBJ previous = slot;
    HandleTable::Instance().Lookup(incoming)->AddSelection();
    slot = static_cast<H>(incoming);
    ReleaseSelection(hdc, previous);
    return previous;
}

HGDIOBJ SelectBitmap(HDC hdc, DcObject& dc, HGDIOBJ incoming) {
    auto* bmp = HandleTable::Instance().Get<BitmapObject>(incoming);
    // Only memory DCs take bitmaps, and a bitmap lives in one DC at a time.
    if (!dc.memory || !bmp) return nullptr;
    if (bmp->selectedInto && bmp->selectedInto != hdc && !bmp->IsStock()) return nullptr;
    if (auto* old = HandleTable::Instance().Get<BitmapObject>(dc.bitmap)) old->selectedInto = nullptr;
    bmp->selectedInto = hdc;
    return Swap(hdc, dc.bitmap, incoming);
}

}  // namespace

HBITMAP DefaultMonoBitmap() {
    static HBITMAP bitmap = [] {
        auto o = std::make_unique<BitmapObject>(Surface::Create(1, 1, PixelFormat::Mono1));
        o->surface->Clear(0);
        return static_cast<HBITMAP>(MakeStock(std::move(o)));
    }();
    return bitmap;
}

void ReleaseSelection(HDC, HGDIOBJ object) {
    auto& table = HandleTable::Instance();
    GdiObject* o = table.Lookup(object);
    if (!o) return;
    o->RemoveSelection();
    if (o->DeletePending() && o->SelectCount() == 0) table.Remove(object);
}

}  // namespace brimlox::gdi

using namespace brimlox::gdi;

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index >= static_cast<int>(StockTable().size())) return nullptr;
    return StockTable()[static_cast<std::size_t>(index)];
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    TraceCall tc("SelectObject");
    if (tc) tc.Args(hdc, object);
    DcObject* dc = LookupDc(hdc);
    GdiObject* o = HandleTable::Instance().Lookup(object);
    if (!dc || !o || o->DeletePending()) return tc.Return(static_cast<HGDIOBJ>(nullptr));
    switch (o->Kind()) {
        case ObjectKind::Pen:
        case ObjectKind::ExtPen: return tc.Return(Swap(hdc, dc->pen, object));
        case ObjectKind::Brush: return tc.Return(Swap(hdc, dc->brush, object));
        case ObjectKind::Font: return tc.Return(Swap(hdc, dc->font, object));
        case ObjectKind::Bitmap: return tc.Return(SelectBitmap(hdc, *dc, object));
        default: return tc.Return(static_cast<HGDIOBJ>(nullptr));
    }
}

BOOL DeleteObject(HGDIOBJ object) {
    TraceCall tc("DeleteObject");
    if (tc) tc.Args(object);
    auto& table = HandleTable::Instance();
    GdiObject* o = table.Lookup(object);
    if (!o || o->Kind() == ObjectKind::Dc) return tc.Return(FALSE);
    // Deleting a stock object is harmless and reports success, as Windows does.
    if (o->IsStock()) return tc.Return(TRUE);
    if (o->SelectCount() > 0) {
        o->MarkDeletePending();
        return tc.Return(TRUE);
    }
    return tc.Return(table.Remove(object) ? TRUE : FALSE);
}

DWORD GetObjectType(HGDIOBJ object) {
    GdiObject* o = HandleTable::Instance().Lookup(object);
    if (!o) return 0;
    switch (o->Kind()) {
        case ObjectKind::Pen: return OBJ_PEN;
        case ObjectKind::ExtPen: return OBJ_EXTPEN;
        case ObjectKind::Brush: return OBJ_BRUSH;
        case ObjectKind::Font: return OBJ_FONT;
        case ObjectKind::Bitmap: return OBJ_BITMAP;
        case ObjectKind::Region: return OBJ_REGION;
        case ObjectKind::Palette: return OBJ_PAL;
        case ObjectKind::Dc: return static_cast<DcObject*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
        default: return 0;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DcObject* dc = LookupDc(hdc);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN: return dc->pen;
        case OBJ_BRUSH: return dc->brush;
        case OBJ_FONT: return dc->font;
        case OBJ_BITMAP: return dc->bitmap;
        default: return nullptr;
    }
}

namespace {

template <typename T>
int CopyOut(const T& record, int size, void* buffer) {
    if (!buffer) return static_cast<int>(sizeof(T));
    if (size <= 0) return 0;
    std::size_t n = std::min(static_cast<std::size_t>(size), sizeof(T));
    std::memcpy(buffer, &record, n);
    return static_cast<int>(n);
}

int BitmapRecord(BitmapObject& b, int size, void* buffer) {
    BITMAP bm;
    Surface& s = *b.surface;
    bm.bmWidth = s.Width();
    bm.bmHeight = s.Height();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(s.BitsPerPixel());
    bm.bmWidthBytes = b.dibSection ? DibStride(s.Width(), s.BitsPerPixel())
                                   : DeviceBitmapStride(s.Width(), s.BitsPerPixel());
    bm.bmBits = b.dibSection ? s.Bits() : nullptr;
    if (b.dibSection && buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds;
        ds.dsBm = bm;
        ds.dsBmih = b.dibHeader;
        for (int i = 0; i < 3; ++i) ds.dsBitfields[i] = b.dibMasks[i];
        return CopyOut(ds, size, buffer);
    }
    return CopyOut(bm, size, buffer);
}

int PenRecord(PenObject& p, int size, void* buffer) {
    if (p.Extended()) {
        EXTLOGPEN e;
        e.elpPenStyle = p.styleBits;
        e.elpWidth = static_cast<DWORD>(p.width);
        e.elpBrushStyle = p.brush.lbStyle;
        e.elpColor = p.brush.lbColor;
        e.elpHatch = p.brush.lbHatch;
        return CopyOut(e, size, buffer);
    }
    LOGPEN lp;
    lp.lopnStyle = p.styleBits;
    lp.lopnWidth = POINT{p.width, 0};
    lp.lopnColor = p.color;
    return CopyOut(lp, size, buffer);
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, void* buffer) {
    GdiObject* o = HandleTable::Instance().Lookup(object);
    if (!o) return 0;
    switch (o->Kind()) {
        case ObjectKind::Bitmap: return BitmapRecord(*static_cast<BitmapObject*>(o), size, buffer);
        case ObjectKind::Pen:
        case ObjectKind::ExtPen: return PenRecord(*static_cast<PenObject*>(o), size, buffer);
        case ObjectKind::Brush: {
            auto* b = static_cast<BrushObject*>(o);
            LOGBRUSH lb;
            lb.lbStyle = b->style;
            lb.lbColor = b->EffectiveColor();
            lb.lbHatch = static_cast<std::uintptr_t>(b->hatch);
            return CopyOut(lb, size, buffer);
        }
        case ObjectKind::Font: return CopyOut(static_cast<FontObject*>(o)->logFont, size, buffer);
        default: return 0;
    }
}
