// DreamBar: the paint routine. Background (the minimise colour, a flat colour, a gradient, or
// the tiled picture, the container's when transparent), the first-paint steps, the controls
// kept inside the margin and AutoSize, the border, the message and the caption.
#include <algorithm>
#include <cmath>

#include "controls/dreambar/dreambar.h"
#include "controls/splitwindow/splitwindow.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "foundation/painters/bevel.h"
#include "foundation/painters/gradient.h"
#include "foundation/painters/tile.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using host::Variant;

namespace {

constexpr UINT kTopBottom = BF_TOP | BF_BOTTOM;
constexpr UINT kLeftRight = BF_LEFT | BF_RIGHT;

RECT ClientOf(HWND hwnd) {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return r;
}

bool IsLine(const host::Control& c) { return c.TypeName() == "Line"; }

}  // namespace

void DreamBar::Paint() {
    FollowContainerLook();
    PaintBackground();
    if (painting_) return;
    painting_ = true;
    host::TryInvoke([&] { PaintForeground(); });
    painting_ = false;
    DrawFocusFrame();
}

void DreamBar::PaintForeground() {
    FirstPaintMinimize();
    const std::int16_t style = minimized_ ? std::int16_t{foundation::SoftRaised} : borderStyle_;
    if (alignControls_ && !minimized_) {
        // Half way through growing, the bar is smaller than the room its controls need: they
        // are kept inside the margin (and the bar sized to them) once it has its full size.
        if (!animation_.active) {
            ArrangeToolWindows();
            KeepControlsInside();
        }
        PaintBorder(style, Wide() ? (FormSpansWidth() ? kTopBottom : BF_RECT) : (FormSpansHeight() ? kLeftRight : BF_RECT));
    } else {
        PaintBorder(style, BorderEdgesByAlign());
    }
    if (initialised_) {
        if (UserMode()) SetTimerEnabled(autoHideLive_);
    } else {
        initialised_ = true;
        RaiseEvent("Initialized");
    }
    if (!message_.text.empty() && !minimized_)
        PrintText(message_.text, message_.alignment, message_.x, message_.y, message_.maxWidth, message_.angle);
    PaintCaption();
    RaiseEvent("Refreshed");
}

// A transparent bar shows its container's picture and back colour.
void DreamBar::FollowContainerLook() {
    if (!transparent_) return;
    auto container = Container();
    if (!container) return;
    host::TryInvoke([&] {
        auto picture = host::GetProperty(*container, "Picture").As<host::StdPicture>();
        picture_ = foundation::HasPicture(picture) ? picture : nullptr;
    });
    host::TryInvoke([&] {
        const auto colour = static_cast<std::uint32_t>(host::GetProperty(*container, "BackColor").ToLong());
        if (colour != BackColor()) host::Control::SetBackColor(colour);
    });
}

void DreamBar::PaintBackground() {
    if (picture_ && picture_->Bitmap() && !minimized_) {
        PaintTiles();
        return;
    }
    const RECT client = ClientOf(hWnd());
    HBRUSH brush = CreateSolidBrush(foundation::TranslateColor(minimized_ ? minimizeColor_ : BackColor()));
    FillRect(hDC(), &client, brush);
    DeleteObject(brush);
    if (!minimized_ && gradient_ != NoGradient)
        foundation::GradientFill(hDC(), client, foundation::TranslateColor(BackColor()),
                                 foundation::TranslateColor(gradientColor_), gradient_ == VerticalGradient);
}

// Tiles with the step-sized top-left part of the picture (steps of at least one pixel whatever
// the picture's size); the tile painter repeats a small tile into a larger one first, so a wide
// bar costs a few large copies rather than one per tile.
void DreamBar::PaintTiles() {
    const auto [stepX, stepY] = SplitWindow::TileSteps(picture_->PixelWidth(), picture_->PixelHeight());
    const RECT client = ClientOf(hWnd());
    long long offsetX = 0, offsetY = 0;
    if (transparent_) {
        offsetX = std::lround(Left() / TwipsPerPixelX());
        offsetY = std::lround(Top() / TwipsPerPixelY());
        if (auto* box = dynamic_cast<SplitWindow*>(ContainerControl()); box && box->Transparent()) {
            offsetX += std::lround(box->Left() / TwipsPerPixelX());
            offsetY += std::lround(box->Top() / TwipsPerPixelY());
        }
    }
    foundation::TileBitmap(hDC(), client.right, client.bottom, picture_->Bitmap(), offsetX, offsetY, stepX, stepY);
}

// At run time a bar that hides itself starts hidden; a bar saved minimised comes back so.
void DreamBar::FirstPaintMinimize() {
    if (UserMode() && !minimized_ && !initialised_ && autoHideLive_) SetMinimized(true);
    if (loadedMinimized_) SetMinimized(true);
}

bool DreamBar::Wide() const { return Width() > Height(); }

bool DreamBar::FormSpansWidth() const {
    const host::Form* form = ParentForm();
    return form && std::lround(form->ScaleWidth()) == Width();
}

bool DreamBar::FormSpansHeight() const {
    const host::Form* form = ParentForm();
    return form && std::lround(form->ScaleHeight()) == Height();
}

UINT DreamBar::BorderEdgesByAlign() const {
    switch (Align()) {
        case host::kAlignTop:
        case host::kAlignBottom: return FormSpansWidth() ? kTopBottom : BF_RECT;
        case host::kAlignLeft:
        case host::kAlignRight: return FormSpansHeight() ? kLeftRight : BF_RECT;
        default: return BF_RECT;
    }
}

// Controls on the bar stay inside the margin (not while the left button is held: the user may
// be dragging one), lines span the bar across, and AutoSize fits the bar to its controls.
void DreamBar::KeepControlsInside() {
    const bool wide = Wide();
    const auto marginY = static_cast<std::int32_t>(std::lround(leading_ * TwipsPerPixelY()));
    const auto marginX = static_cast<std::int32_t>(std::lround(leading_ * TwipsPerPixelX()));
    std::int32_t largest = static_cast<std::int32_t>(std::lround(10 * (wide ? TwipsPerPixelY() : TwipsPerPixelX())));
    const bool buttonUp = GetKeyState(VK_LBUTTON) >= 0;
    const auto children = ContainedControls();
    for (const auto& c : children) {
        if (IsLine(*c)) {
            host::TryInvoke([&] { host::LetProperty(*c, wide ? "Y1" : "X1", Variant(0.0f)); });
            continue;
        }
        if (buttonUp) {
            std::int32_t top = c->Top(), left = c->Left();
            if (top + c->Height() > Height() - marginY) top = Height() - marginY - c->Height();
            if (top < marginY) top = marginY;
            if (left + c->Width() > Width() - marginX) left = Width() - marginX - c->Width();
            if (left < marginX) left = marginX;
            if (top != c->Top() || left != c->Left()) c->Move(left, top, c->Width(), c->Height());
        }
        largest = std::max(largest, wide ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    if (autoSize_) FitToControls(wide, largest + (wide ? marginY : marginX));
    for (const auto& c : children) {
        if (!IsLine(*c)) continue;
        host::TryInvoke([&] {
            host::LetProperty(*c, wide ? "Y2" : "X2", Variant(static_cast<float>(wide ? Height() : Width())));
        });
    }
}

// The form's controls move only for a bar at the top or the left (a bar elsewhere growing does
// not push what lies before it), and by the size the bar actually reached.
void DreamBar::FitToControls(bool wide, std::int32_t wanted) {
    const std::int32_t current = wide ? Height() : Width();
    if (wanted == current || wanted <= 0) return;
    if (wide) SetHeight(wanted);
    else SetWidth(wanted);
    const std::int32_t change = (wide ? Height() : Width()) - current;
    if (change != 0 && Align() == (wide ? host::kAlignTop : host::kAlignLeft)) AdjustForm(wide, change);
}

void DreamBar::PaintBorder(std::int16_t style, UINT edges) {
    if (style <= foundation::NoBevel) return;
    foundation::workRect = ClientOf(hWnd());
    foundation::DrawBevel(hDC(), style, edges);
}

// The caption strip along the top (or up the left side), with its soft raised bar while the
// bar is expanded; the caption is printed on it, or on the minimised strip.
void DreamBar::PaintCaption() {
    if (caption_.empty()) return;
    RECT strip = ClientOf(hWnd());
    const bool toLeft = minimizeStyle_ == MinToLeft;
    if (toLeft) strip.right = captionHeight_;
    else strip.bottom = captionHeight_;
    if (captionBar_ && !minimized_) {
        foundation::workRect = strip;
        foundation::DrawBevel(hDC(), foundation::SoftRaised, BF_RECT | BF_MIDDLE);
    }
    if (!captionBar_ && !minimized_) return;
    const auto twoPixelsX = static_cast<float>(2 * TwipsPerPixelX());
    const auto twoPixelsY = static_cast<float>(2 * TwipsPerPixelY());
    if (toLeft) {
        const float height = static_cast<float>(Height());
        PrintText(caption_, 0, twoPixelsX, height - (height - TextWidthOf(caption_)) / 2, 0, 90);
    } else {
        PrintText(caption_, TA_CENTER, 0, twoPixelsY, 0, 0);
    }
}

}  // namespace brimlox::controls
