// The control's drawing surface: scale modes and conversions, colours, Cls, Line,
// PaintPicture, text measurement and AutoRedraw's persistent bitmap.
#include <algorithm>
#include <cmath>

#include "platform/host/control.h"
#include "platform/host/erase.h"
#include "platform/host/form.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

// Twips in one unit of each fixed scale mode, per axis (characters are 120 by 240 twips).
double TwipsPerUnit(std::int16_t mode, bool horizontal) {
    switch (mode) {
        case kScaleTwips: return 1.0;
        case kScalePoints: return 20.0;
        case kScalePixels: return TwipsPerPixel();
        case kScaleCharacters: return horizontal ? 120.0 : 240.0;
        case kScaleInches: return 1440.0;
        case kScaleMillimeters: return 1440.0 / 25.4;
        case kScaleCentimeters: return 1440.0 / 2.54;
        case kScaleHimetric: return 1440.0 / 2540.0;
        default: throw HostError(kErrInvalidPropertyValue);
    }
}

int ClientPixels(HWND hwnd, bool horizontal, std::int32_t fallbackTwips) {
    RECT r{};
    if (hwnd && GetClientRect(hwnd, &r)) return horizontal ? r.right : r.bottom;
    return fallbackTwips / TwipsPerPixel();
}

}  // namespace

float Control::ScaleWidth() const {
    if (scaleMode_ == kScaleUser) return userScaleWidth_;
    return static_cast<float>(ClientPixels(hwnd_, true, width_) * TwipsPerPixel() / TwipsPerUnit(scaleMode_, true));
}

float Control::ScaleHeight() const {
    if (scaleMode_ == kScaleUser) return userScaleHeight_;
    return static_cast<float>(ClientPixels(hwnd_, false, height_) * TwipsPerPixel() / TwipsPerUnit(scaleMode_, false));
}

void Control::SetScaleMode(std::int16_t mode) {
    if (mode < kScaleUser || mode > kScaleCentimeters) throw HostError(kErrInvalidPropertyValue);
    if (mode == kScaleUser) {
        SetUserScaleFromMode();
        return;
    }
    scaleMode_ = mode;
    textScaleMode_ = mode;
    scaleLeft_ = scaleTop_ = 0;
}

// Entering the user scale keeps the current coordinates: the extent is what it measured.
void Control::SetUserScaleFromMode() {
    if (scaleMode_ == kScaleUser) return;
    userScaleWidth_ = ScaleWidth();
    userScaleHeight_ = ScaleHeight();
    scaleMode_ = kScaleUser;
}

void Control::SetScaleWidth(float w) {
    if (w == 0) throw HostError(kErrInvalidPropertyValue);
    SetUserScaleFromMode();
    userScaleWidth_ = w;
}

void Control::SetScaleHeight(float h) {
    if (h == 0) throw HostError(kErrInvalidPropertyValue);
    SetUserScaleFromMode();
    userScaleHeight_ = h;
}

void Control::SetScaleLeft(float v) {
    SetUserScaleFromMode();
    scaleLeft_ = v;
}

void Control::SetScaleTop(float v) {
    SetUserScaleFromMode();
    scaleTop_ = v;
}

// A surface in pixels needs no conversion (PixelsToScaleX); every other scale comes here.
float Control::PixelsToOtherScaleX(float px) const {
    if (scaleMode_ != kScaleUser) return static_cast<float>(px * TwipsPerPixel() / TwipsPerUnit(scaleMode_, true));
    int client = std::max(1, ClientPixels(hwnd_, true, width_));
    return scaleLeft_ + px * userScaleWidth_ / static_cast<float>(client);
}

float Control::PixelsToOtherScaleY(float px) const {
    if (scaleMode_ != kScaleUser) return static_cast<float>(px * TwipsPerPixel() / TwipsPerUnit(scaleMode_, false));
    int client = std::max(1, ClientPixels(hwnd_, false, height_));
    return scaleTop_ + px * userScaleHeight_ / static_cast<float>(client);
}

int Control::ScaleToPixelsX(float v) const {
    if (scaleMode_ != kScaleUser)
        return static_cast<int>(RoundHalfEven(v * TwipsPerUnit(scaleMode_, true) / TwipsPerPixel()));
    int client = ClientPixels(hwnd_, true, width_);
    return static_cast<int>(RoundHalfEven((v - scaleLeft_) * client / userScaleWidth_));
}

int Control::ScaleToPixelsY(float v) const {
    if (scaleMode_ != kScaleUser)
        return static_cast<int>(RoundHalfEven(v * TwipsPerUnit(scaleMode_, false) / TwipsPerPixel()));
    int client = ClientPixels(hwnd_, false, height_);
    return static_cast<int>(RoundHalfEven((v - scaleTop_) * client / userScaleHeight_));
}

float Control::ScaleX(float value, std::int16_t from, std::int16_t to) const {
    // Through pixels when the user scale is involved, through twips otherwise.
    if (from == kScaleUser || to == kScaleUser) {
        double px = from == kScaleUser ? value * ClientPixels(hwnd_, true, width_) / userScaleWidth_
                                       : value * TwipsPerUnit(from, true) / TwipsPerPixel();
        if (to == kScaleUser) return static_cast<float>(px * userScaleWidth_ / std::max(1, ClientPixels(hwnd_, true, width_)));
        return static_cast<float>(px * TwipsPerPixel() / TwipsPerUnit(to, true));
    }
    return static_cast<float>(value * TwipsPerUnit(from, true) / TwipsPerUnit(to, true));
}

float Control::ScaleY(float value, std::int16_t from, std::int16_t to) const {
    if (from == kScaleUser || to == kScaleUser) {
        double px = from == kScaleUser ? value * ClientPixels(hwnd_, false, height_) / userScaleHeight_
                                       : value * TwipsPerUnit(from, false) / TwipsPerPixel();
        if (to == kScaleUser)
            return static_cast<float>(px * userScaleHeight_ / std::max(1, ClientPixels(hwnd_, false, height_)));
        return static_cast<float>(px * TwipsPerPixel() / TwipsPerUnit(to, false));
    }
    return static_cast<float>(value * TwipsPerUnit(from, false) / TwipsPerUnit(to, false));
}

void Control::FillBackground(HDC hdc) const {
    if (!hdc || !hwnd_) return;
    RECT r;
    GetClientRect(hwnd_, &r);
    HBRUSH brush = CreateSolidBrush(ResolveColor(backColor_));
    // The persistent bitmap outlives where the children stand, so it is filled whole; on the
    // window's surface each child paints its own rectangle.
    if (hdc == memDc_) FillRect(hdc, &r, brush);
    else FillAroundChildWindows(hwnd_, hdc, r, brush);
    DeleteObject(brush);
    if (picture_ && picture_->Type() != PictureType::None)
        picture_->Render(hdc, 0, 0, picture_->PixelWidth(), picture_->PixelHeight());
}

void Control::SetBackColor(std::uint32_t color) {
    backColor_ = color;
    // Setting the back colour clears the surface, drawings included.
    Cls();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetPicture(std::shared_ptr<StdPicture> picture) {
    picture_ = std::move(picture);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetMousePointer(std::int16_t pointer) {
    if ((pointer < 0 || pointer > 15) && pointer != 99) throw HostError(kErrInvalidPropertyValue);
    mousePointer_ = pointer;
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    // A disabled window gets no mouse input; the USER layer enforces it.
    if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Control::Cls() {
    ClearSurface();
    Flush();
}

void Control::ClearSurface() {
    currentX_ = scaleMode_ == kScaleUser ? scaleLeft_ : 0;
    currentY_ = scaleMode_ == kScaleUser ? scaleTop_ : 0;
    FillBackground(hDC());
}

void Control::Refresh() {
    if (!hwnd_) return;
    // UpdateWindow paints at once, also when asked from inside a paint.
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void Control::SetAutoRedraw(bool on) {
    if (on == autoRedraw_) return;
    autoRedraw_ = on;
    if (on) ResizeMemorySurface();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

// The persistent bitmap follows the window's size and starts with the background.
void Control::ResizeMemorySurface() {
    if (!autoRedraw_ || !hwnd_) return;
    RECT r;
    GetClientRect(hwnd_, &r);
    int w = std::max<LONG>(1, r.right), h = std::max<LONG>(1, r.bottom);
    if (!memDc_) {
        memDc_ = CreateCompatibleDC(ownDc_);
        memOldFont_ = SelectObject(memDc_, font_->Handle());
    }
    HBITMAP bitmap = CreateCompatibleBitmap(ownDc_, w, h);
    HGDIOBJ previous = SelectObject(memDc_, bitmap);
    if (memBitmap_) {
        // Keep what was drawn: copy the old picture into the new bitmap's corner.
        HDC copy = CreateCompatibleDC(ownDc_);
        HGDIOBJ old = SelectObject(copy, memBitmap_);
        FillBackground(memDc_);
        BitBlt(memDc_, 0, 0, w, h, copy, 0, 0, SRCCOPY);
        SelectObject(copy, old);
        DeleteDC(copy);
        DeleteObject(memBitmap_);
    } else {
        memOldBitmap_ = previous;
        FillBackground(memDc_);
    }
    memBitmap_ = bitmap;
}

void Control::Line(float x1, float y1, float x2, float y2, std::int64_t color, LineMode mode) {
    if (mode == LineMode::Line) {
        const LineSegment segment{x1, y1, x2, y2};
        Lines(std::span(&segment, 1), color);
        return;
    }
    HDC dc = hDC();
    if (!dc) return;
    COLORREF rgb = ResolveColor(color < 0 ? foreColor_ : static_cast<std::uint32_t>(color));
    int px1 = ScaleToPixelsX(x1), py1 = ScaleToPixelsY(y1), px2 = ScaleToPixelsX(x2), py2 = ScaleToPixelsY(y2);
    // The DC's own brush and pen (solid, one pixel) take the colour: nothing is created and
    // deleted for each line, and the DC's colours are put back after.
    if (mode == LineMode::FilledBox) {
        RECT r{std::min(px1, px2), std::min(py1, py2), std::max(px1, px2) + 1, std::max(py1, py2) + 1};
        const COLORREF oldColour = SetDCBrushColor(dc, rgb);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetDCBrushColor(dc, oldColour);
    } else {
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
        const COLORREF oldColour = SetDCPenColor(dc, rgb);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, std::min(px1, px2), std::min(py1, py2), std::max(px1, px2) + 1, std::max(py1, py2) + 1);
        SelectObject(dc, oldBrush);
        SetDCPenColor(dc, oldColour);
        SelectObject(dc, oldPen);
    }
    currentX_ = x2;
    currentY_ = y2;
}

void Control::Lines(std::span<const LineSegment> segments, std::int64_t color) {
    HDC dc = hDC();
    if (!dc || segments.empty()) return;
    const COLORREF rgb = ResolveColor(color < 0 ? foreColor_ : static_cast<std::uint32_t>(color));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF oldColour = SetDCPenColor(dc, rgb);
    for (const LineSegment& s : segments) {
        MoveToEx(dc, ScaleToPixelsX(s.x1), ScaleToPixelsY(s.y1), nullptr);
        LineTo(dc, ScaleToPixelsX(s.x2), ScaleToPixelsY(s.y2));
    }
    SetDCPenColor(dc, oldColour);
    SelectObject(dc, oldPen);
    currentX_ = segments.back().x2;
    currentY_ = segments.back().y2;
}

void Control::PaintPicture(const StdPicture& picture, float x, float y, std::optional<float> width,
                           std::optional<float> height) {
    HDC dc = hDC();
    if (!dc || picture.Type() == PictureType::None) return;
    int px = ScaleToPixelsX(x), py = ScaleToPixelsY(y);
    int pw = width ? ScaleToPixelsX(x + *width) - px : picture.PixelWidth();
    int ph = height ? ScaleToPixelsY(y + *height) - py : picture.PixelHeight();
    picture.Render(dc, px, py, pw, ph);
}

// Text sizes use the unit of the last fixed ScaleMode, which a user scale does not change.
float Control::TextUnitsFromPixels(float px, bool horizontal) const {
    return static_cast<float>(px * TwipsPerPixel() / TwipsPerUnit(textScaleMode_, horizontal));
}

float Control::TextWidth(const std::string& text) {
    HDC dc = hDC();
    if (!dc) return 0;
    // The widest line of a multi-line text, as the host measures.
    LONG widest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        SIZE size{};
        GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, size.cx);
        start = end + 1;
    }
    return TextUnitsFromPixels(static_cast<float>(widest), true);
}

float Control::TextHeight(const std::string& text) {
    HDC dc = hDC();
    if (!dc) return 0;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return TextUnitsFromPixels(static_cast<float>(tm.tmHeight * lines), false);
}

}  // namespace brimlox::host
