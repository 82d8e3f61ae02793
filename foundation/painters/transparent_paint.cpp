#include "foundation/painters/transparent_paint.h"

#include "foundation/dib/dib_surface.h"
#include "foundation/painters/picture_effects.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

// A memory DC with a bitmap of its own selected, freed together.
class ScratchDc {
public:
    ScratchDc(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)), bitmap_(bitmap) {
        old_ = SelectObject(dc_, bitmap_);
    }
    ~ScratchDc() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ScratchDc(const ScratchDc&) = delete;
    ScratchDc& operator=(const ScratchDc&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// The DC the picture is read from: first the caller's bitmap, later possibly a copy with the
// effect applied or stretched to the destination size, always read from (x, y).
class SourceDc {
public:
    SourceDc(HDC like, HBITMAP bitmap, int x, int y) : dc_(CreateCompatibleDC(like)), x(x), y(y) {
        original_ = SelectObject(dc_, bitmap);
    }
    ~SourceDc() {
        SelectObject(dc_, original_);
        for (HBITMAP b : owned_)
            if (b) DeleteObject(b);
        DeleteDC(dc_);
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;
    operator HDC() const { return dc_; }

    // Releases the caller's bitmap so it can be read elsewhere.
    void PutBackOriginal() { SelectObject(dc_, original_); }
    // Makes a new bitmap of our own the picture, which holds it at (0, 0).
    void Rebase(HBITMAP replacement) {
        SelectObject(dc_, replacement);
        owned_[owned_[0] ? 1 : 0] = replacement;
        x = y = 0;
    }

private:
    HDC dc_;
    HGDIOBJ original_;
    HBITMAP owned_[2] = {nullptr, nullptr};

public:
    int x, y;
};

// Paints the bitmap's source rectangle with the effect into a fresh bitmap held by `source`.
// Returns false, leaving the source as it was, when no DIB can be made of the bitmap.
bool ApplyEffect(HDC hdc, SourceDc& source, HBITMAP bitmap, int effect, COLORREF mask, int sw, int sh) {
    source.PutBackOriginal();
    CUlvaroDIBS dib;
    dib.CreateFromBitmap(bitmap);
    if (dib.Bits().empty()) {
        SelectObject(source, bitmap);
        return false;
    }
    if (effect == static_cast<int>(PictureEffect::Disabled)) {
        ApplyDisabledEffect(dib, mask);
    } else {
        ApplyGreyscaleEffect(dib, mask);
    }
    int sx = source.x, sy = source.y;
    source.Rebase(CreateCompatibleBitmap(hdc, sw, sh));
    dib.PaintPicture(source, 0, 0, sw, sh, sx, sy, SRCCOPY);
    return true;
}

// Stretches the source rectangle to w x h through the object DC and makes the result the
// source.
void StretchSource(HDC hdc, SourceDc& source, HDC object, int w, int h, int sw, int sh) {
    SetStretchBltMode(object, BLACKONWHITE);
    SetStretchBltMode(source, BLACKONWHITE);
    StretchBlt(object, 0, 0, w, h, source, source.x, source.y, sw, sh, SRCCOPY);
    source.Rebase(CreateCompatibleBitmap(hdc, w, h));
    BitBlt(source, 0, 0, w, h, object, 0, 0, SRCCOPY);
}

// Whether the picture the DC reads is in colour and the rectangle lies inside it, so every
// pixel is read from the picture and compared with the key. (A mono picture's mask is its own
// bits, whatever the key.)
bool ColourPictureHolds(HDC source, const RECT& r) {
    BITMAP bm{};
    if (!GetObjectA(GetCurrentObject(source, OBJ_BITMAP), sizeof bm, &bm)) return false;
    return bm.bmBitsPixel > 1 && r.left >= 0 && r.top >= 0 && r.right <= bm.bmWidth && r.bottom <= bm.bmHeight;
}

// The classic three-bitmap way: a mono mask of the key colour, the screen cut out by it and
// the picture cut out by its inverse, joined by XOR. Where the source rectangle reaches past
// the bitmap the picture reads as black, which this keeps for pictures painted that way.
// The source DC's background colour is the key on entry and put back to oldBack.
void PaintThroughMask(HDC hdc, SourceDc& source, COLORREF oldBack, const RECT& dest, int sw, int sh) {
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    ScratchDc mask(hdc, CreateBitmap(w, h, 1, 1, nullptr));
    ScratchDc inverse(hdc, CreateBitmap(w, h, 1, 1, nullptr));
    ScratchDc background(hdc, CreateCompatibleBitmap(hdc, w, h));
    ScratchDc object(hdc, CreateCompatibleBitmap(hdc, w, h));
    if (sw != w || sh != h) StretchSource(hdc, source, object, w, h, sw, sh);

    // The mask is white where the picture is transparent; the background keeps the screen
    // there and is black elsewhere, the object the other way round, and XOR joins them.
    BitBlt(mask, 0, 0, w, h, source, source.x, source.y, SRCCOPY);
    SetBkColor(source, oldBack);
    BitBlt(inverse, 0, 0, w, h, mask, 0, 0, NOTSRCCOPY);
    BitBlt(background, 0, 0, w, h, hdc, dest.left, dest.top, SRCCOPY);
    BitBlt(background, 0, 0, w, h, mask, 0, 0, SRCAND);
    BitBlt(object, 0, 0, w, h, source, source.x, source.y, SRCCOPY);
    BitBlt(object, 0, 0, w, h, inverse, 0, 0, SRCAND);
    BitBlt(background, 0, 0, w, h, object, 0, 0, SRCINVERT);
    BitBlt(hdc, dest.left, dest.top, w, h, background, 0, 0, SRCCOPY);
}

}  // namespace

void TransparentPaint(HDC hdc, HBITMAP bitmap, const RECT& src, const RECT& dest, int effect, std::int32_t maskColor) {
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !bitmap) return;

    SourceDc source(hdc, bitmap, src.left, src.top);
    COLORREF key = maskColor < 0 ? GetPixel(source, 0, 0) : static_cast<COLORREF>(maskColor);
    COLORREF oldBack = SetBkColor(source, key);
    if (effect != static_cast<int>(PictureEffect::None)) ApplyEffect(hdc, source, bitmap, effect, key, sw, sh);
    // An unstretched picture read wholly from its bitmap is one colour-keyed copy, which gives
    // the same pixels as the mask without four scratch bitmaps and eight blits.
    if (sw == w && sh == h &&
        ColourPictureHolds(source, RECT{source.x, source.y, source.x + sw, source.y + sh})) {
        SetBkColor(source, oldBack);
        TransparentBlt(hdc, dest.left, dest.top, w, h, source, source.x, source.y, w, h, key);
        return;
    }
    PaintThroughMask(hdc, source, oldBack, dest, sw, sh);
}

}  // namespace brimlox::foundation
