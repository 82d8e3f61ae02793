// HiddenBuffer: the surface's lifetime, the pen and text settings, and the drawing calls.
// Every GDI object made for one drawing call is selected out and deleted in that call.
#include "drawing/hidden_buffer.h"

#include <algorithm>
#include <string>

#include "foundation/helpers/colour.h"
#include "platform/user/user.h"

namespace brimlox::drawing {

namespace {

constexpr std::uint32_t k3DHighlight = 0x80000014;
constexpr std::uint32_t k3DShadow = 0x80000010;
constexpr std::uint32_t k3DDarkShadow = 0x80000015;
constexpr std::int32_t kFarOff = 1 << 28;

COLORREF Translate(std::uint32_t ole) { return foundation::TranslateColor(ole); }

}  // namespace

std::int32_t HandleValue(HDC dc) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(dc)));
}

HDC DcFromValue(std::int32_t value) {
    return reinterpret_cast<HDC>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(value)));
}

HiddenBuffer::~HiddenBuffer() { ReleaseSurface(); }

std::int32_t HiddenBuffer::hDCValue() const { return HandleValue(hDC_); }

// ---- The surface -------------------------------------------------------------------------------

std::int32_t HiddenBuffer::Attach(HDC ctrlhDC, std::int32_t ctrlWidth, std::int32_t ctrlHeight) {
    targetDC_ = ctrlhDC;
    Resize(ctrlWidth, ctrlHeight);
    return 0;
}

void HiddenBuffer::Resize(std::int32_t newWidth, std::int32_t newHeight) {
    width_ = newWidth < 0 ? 0 : newWidth;
    height_ = newHeight < 0 ? 0 : newHeight;
    ReleaseSurface();
    if (CreateSurface()) Clear(kButtonFaceColour);
}

// The new context starts with the system font and the default colours: the buffer's font and
// colours are applied again only when the caller sets them.
bool HiddenBuffer::CreateSurface() {
    hDC_ = CreateCompatibleDC(targetDC_);
    if (!hDC_) return false;
    bitmap_ = CreateCompatibleBitmap(targetDC_, width_, height_);
    if (!bitmap_) {
        // A surface without a bitmap draws nowhere: report the buffer detached.
        DeleteDC(hDC_);
        hDC_ = nullptr;
        return false;
    }
    oldBitmap_ = SelectObject(hDC_, bitmap_);
    return true;
}

void HiddenBuffer::ReleaseSurface() {
    if (hDC_) {
        if (oldFont_) SelectObject(hDC_, oldFont_);
        if (oldBitmap_) SelectObject(hDC_, oldBitmap_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    if (hDC_) DeleteDC(hDC_);
    hDC_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    oldFont_ = nullptr;
}

void HiddenBuffer::Show() {
    if (!Attached()) return;
    BitBlt(targetDC_, 0, 0, width_, height_, hDC_, 0, 0, SRCCOPY);
}

// ---- Settings ----------------------------------------------------------------------------------

void HiddenBuffer::SetForeColor(std::uint32_t colour) {
    foreColor_ = colour;
    if (Attached()) SetTextColor(hDC_, Translate(colour));
}

void HiddenBuffer::SetBackColor(std::uint32_t colour) {
    backColor_ = colour;
    if (Attached()) SetBkColor(hDC_, Translate(colour));
}

void HiddenBuffer::SetTextFont(std::shared_ptr<host::StdFont> font) {
    if (!font) return;
    textFont_ = std::move(font);
    if (!Attached()) return;
    // The context's own first font goes back before the next one is selected, so oldFont_
    // always holds the font the surface came with.
    if (oldFont_) SelectObject(hDC_, oldFont_);
    HGDIOBJ previous = SelectObject(hDC_, textFont_->Handle());
    oldFont_ = previous ? previous : oldFont_;
}

// ---- Fills and lines ----------------------------------------------------------------------------

// Fills use a solid brush whatever the draw style, except that the invisible style fills nothing.
void HiddenBuffer::FillBox(const RECT& box, COLORREF colour) const {
    if (drawStyle_ == kDrawStyleInvisible) return;
    LOGBRUSH lb{BS_SOLID, colour, 0};
    HBRUSH brush = CreateBrushIndirect(&lb);
    if (!brush) return;
    FillRect(hDC_, &box, brush);
    DeleteObject(brush);
}

void HiddenBuffer::Clear(std::uint32_t backColour) {
    if (!Attached()) return;
    if (backColour == 0) backColour = kButtonFaceColour;
    FillBox(RECT{0, 0, width_, height_}, Translate(backColour));
}

// A cosmetic pen is one pixel wide whatever DrawWidth says; a geometric one is DrawWidth wide.
HPEN HiddenBuffer::CreateLinePen(COLORREF colour) const {
    auto style = static_cast<DWORD>(penType_ | drawStyle_ | lineEndCap_ | lineJoin_);
    DWORD width = penType_ == GeometricPen ? static_cast<DWORD>(drawWidth_) : 1u;
    LOGBRUSH lb{BS_SOLID, colour, 0};
    return ExtCreatePen(style, width, &lb, 0, nullptr);
}

void HiddenBuffer::StrokeLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, COLORREF colour) {
    HPEN pen = CreateLinePen(colour);
    if (!pen) return;
    HGDIOBJ previous = SelectObject(hDC_, pen);
    BeginPath(hDC_);
    MoveToEx(hDC_, x1, y1, nullptr);
    LineTo(hDC_, x2, y2);
    EndPath(hDC_);
    StrokePath(hDC_);
    SelectObject(hDC_, previous);
    DeleteObject(pen);
}

void HiddenBuffer::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                            std::uint32_t lineColour, std::int32_t box) {
    if (!Attached()) return;
    SetROP2(hDC_, drawMode_);
    COLORREF colour = Translate(lineColour);
    if (box == 0) {
        StrokeLine(x1, y1, x2, y2, colour);
    } else if (box == B) {
        HPEN pen = CreateLinePen(colour);
        if (!pen) return;
        HGDIOBJ previous = SelectObject(hDC_, pen);
        Rectangle(hDC_, x1, y1, x2, y2);
        SelectObject(hDC_, previous);
        DeleteObject(pen);
    } else {
        FillBox(RECT{x1, y1, x2, y2}, colour);
    }
}

// ---- Text and pictures -------------------------------------------------------------------------

void HiddenBuffer::DrawTextRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                std::string_view text, bool draw3D, bool textEnabled, std::int32_t textAlignment) {
    if (!Attached()) return;
    // Coordinates far off any surface are pulled in, so the frame's inner lines (one pixel in
    // from the edges) cannot overflow.
    x1 = std::clamp(x1, -kFarOff, kFarOff), y1 = std::clamp(y1, -kFarOff, kFarOff);
    x2 = std::clamp(x2, -kFarOff, kFarOff), y2 = std::clamp(y2, -kFarOff, kFarOff);
    // The text goes out with one trailing blank, as the buffer always drew it; its length is
    // not limited.
    std::string out(text);
    out.push_back(' ');
    RECT clip{x1, y1, x2, y2};
    if (draw3D) InflateRect(&clip, -1, -1);
    UINT options = ETO_OPAQUE | ETO_CLIPPED | (textEnabled ? 0u : ETO_GRAYED);
    int x = x1;
    switch (textAlignment) {
        case 0: SetTextAlign(hDC_, TA_LEFT); break;
        case 1: SetTextAlign(hDC_, TA_RIGHT); x = x2; break;
        case 2: SetTextAlign(hDC_, TA_CENTER); x = foundation::RoundHalfEven((x1 + x2) / 2.0); break;
        default: break;  // the context keeps its alignment
    }
    std::uint32_t savedBack = backColor_;
    if (draw3D) SetBackColor(kButtonFaceColour);
    ExtTextOutA(hDC_, x, y1, options, &clip, out.data(), static_cast<UINT>(out.size()), nullptr);
    if (!draw3D) return;
    DrawFrame3D(x1, y1, x2, y2);
    SetBackColor(savedBack);
}

void HiddenBuffer::DrawFrame3D(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    DrawLine(x1, y1, x2, y1, k3DHighlight);
    DrawLine(x1, y1, x1, y2, k3DHighlight);
    DrawLine(x1, y2, x2, y2, k3DDarkShadow);
    DrawLine(x2, y2, x2, y1, k3DDarkShadow);
    DrawLine(x1 + 1, y2 - 1, x2 - 1, y2 - 1, k3DShadow);
    DrawLine(x2 - 1, y2 - 1, x2 - 1, y1, k3DShadow);
}

void HiddenBuffer::DrawPicture(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                               const std::shared_ptr<host::StdPicture>& picture) {
    if (!Attached() || !picture) return;
    if (picture->Type() == host::PictureType::Icon) {
        // An icon has no bitmap to copy from: it is drawn at its own size.
        DrawIcon(hDC_, x1, y1, picture->Icon());
        return;
    }
    if (picture->Type() != host::PictureType::Bitmap) return;
    HDC temp = CreateCompatibleDC(hDC_);
    if (!temp) return;
    HGDIOBJ previous = SelectObject(temp, picture->Bitmap());
    BitBlt(hDC_, x1, y1, x2 - x1, y2 - y1, temp, 0, 0, SRCCOPY);
    SelectObject(temp, previous);
    DeleteDC(temp);
}

}  // namespace brimlox::drawing
