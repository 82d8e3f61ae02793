// Command: preparing the pictures and drawing one frame, layer by layer: face, rounded edge,
// border, then the picture and caption or the arrow glyph, and the drop-down strip's arrow.
#include <algorithm>

#include "controls/command/command.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "foundation/helpers/pixels.h"
#include "foundation/painters/bevel.h"
#include "foundation/painters/gradient.h"
#include "foundation/painters/soft_edge.h"
#include "foundation/painters/tile.h"
#include "foundation/painters/transparent_paint.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using foundation::SnapToPixelsX;
using foundation::SnapToPixelsY;
using foundation::TranslateColor;
using foundation::workRect;

namespace {

constexpr std::uint32_t k3DShadow = 0x80000010;

RECT ClientRect(HWND hwnd) {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return r;
}

}  // namespace

bool Command::StripPressed() const { return menuButton_ && pressed_ && OverMenuStrip(mouseInfo_.x); }

bool Command::InSplitWindow(const char* property) const {
    bool result = false;
    host::TryInvoke([&] {
        auto container = Container();
        if (container && container->TypeName() == "SplitWindow") result = host::GetProperty(*container, property).ToBool();
    });
    return result;
}

void Command::Paint() {
    if (transparent_) TakeContainerLook();
    COLORREF back = TranslateColor(backColor_);
    if (back != lastBackColor_) {
        lastBackColor_ = back;
        ComputeGradient();
    }
    PreparePictures();
    DrawButton(!value_);
}

// Every frame DrawButton paints starts by covering the whole client area.
bool Command::PaintsWholeClient() const { return layout_.faceHeight >= 40; }

// A transparent button shows its container's picture and colour as its own.
// Each look is taken on its own: a container without a picture (a frame, say) still gives
// its back colour, and one without either leaves the button as it was.
void Command::TakeContainerLook() {
    auto container = Container();
    if (!container) return;
    if (host::HasMember(*container, "Picture"))
        host::TryInvoke([&] {
            auto picture = host::GetProperty(*container, "Picture").As<host::StdPicture>();
            pictureBg_ = foundation::HasPicture(picture) ? picture : nullptr;
        });
    if (host::HasMember(*container, "BackColor"))
        host::TryInvoke([&] {
            const auto colour = static_cast<std::uint32_t>(host::GetProperty(*container, "BackColor").ToLong());
            backColor_ = buttonColor_ = colour;
            // Setting the surface's colour clears it and asks for another paint: only a change
            // may do that, or the button would paint for ever.
            if (colour != host::Control::BackColor()) host::Control::SetBackColor(colour);
        });
}

void Command::PrepareCache(const host::StdPicture& picture, PictureCache& cache) const {
    const Layout& l = layout_;
    cache.bitmap = picture.Bitmap();
    int naturalW = picture.PixelWidth(), naturalH = picture.PixelHeight();
    int w = std::min(naturalW, l.faceWidthPx - 4), h = std::min(naturalH, l.faceHeightPx - 4);
    int centreX = l.faceLeftPx + (l.faceWidthPx - l.menuWidthPx - w) / 2;
    int centreY = l.faceTopPx + (l.faceHeightPx - h) / 2;
    int left = centreX, top = centreY;
    switch (pictureAlignment_) {
        case CenterTop: top = l.faceTopPx + 4; break;
        case CenterBottom: top = l.faceHeightPx - h - 3; break;
        case LeftMiddle: left = l.faceLeftPx + 4; break;
        case RightMiddle: left = ToPixelsX(l.faceLeft + l.faceWidth) - w - 4; break;
        case StretchFull:
            left = 3, top = 5;
            w = ToPixelsX(static_cast<float>(Width()) - l.menuWidth) - 8;
            h = ToPixelsY(static_cast<float>(Height())) - 6;
            break;
        default: break;
    }
    cache.source = RECT{0, 0, naturalW, naturalH};
    cache.dest = RECT{left, top, left + w, top + h};
    // A picture with no room on the face (or no pixels) is not drawn at all.
    cache.width = (w > 0 && h > 0 && naturalW > 0 && naturalH > 0 && cache.bitmap) ? w : 0;
}

void Command::PreparePictures() {
    if (!foundation::HasPicture(picture_) || !picturesReady_) return;
    PrepareCache(*picture_, pictureCache_);
    if (foundation::HasPicture(pictureDown_)) {
        PrepareCache(*pictureDown_, pictureDownCache_);
        if (button3D_) OffsetRect(&pictureDownCache_.dest, 1, 1);
        hasPictureDown_ = true;
    } else {
        pictureDownCache_ = pictureCache_;
        OffsetRect(&pictureDownCache_.dest, 1, 1);
    }
}

// The caption fit may change Height, which re-lays the button out and paints it again at
// once; the flag keeps that inner paint from fitting a second time, so a host that refuses
// the size cannot make the button loop.
bool Command::FitCaption() {
    if (caption_.empty() || fitting_) return false;
    fitting_ = true;
    float textHeight = TextHeight(caption_);
    std::int32_t wanted = bevelOuter_ != foundation::NoBevel
                              ? SnapToPixelsY(foundation::RoundHalfEven(1.5 * textHeight))
                              : SnapToPixelsY(foundation::RoundHalfEven(textHeight)) + static_cast<std::int32_t>(PxY());
    bool grow = bevelOuter_ != foundation::NoBevel ? Height() < wanted : wanted > Height();
    if (grow) SetHeight(wanted);
    fitting_ = false;
    return grow;
}

void Command::DrawButton(bool up) {
    if (!hDC()) return;
    const bool down = !up;
    const std::uint32_t faceColor = colorEffects_ && down ? buttonColorDn_ : buttonColor_;
    const std::uint32_t textColor = colorEffects_ && down ? fontColorDn_ : foreColor_;
    if (fontEffects_ && Font()) {
        Font()->SetBold(fontBoldBase_ ? true : down);
        Font()->SetItalic(fontItalicBase_ != down);
    }
    if (layout_.faceHeight < 40) return;
    FitCaption();
    DrawFace(faceColor);
    if (rounded_ && (!activeBorder_ || down || hovering_)) {
        RECT client = ClientRect(hWnd());
        int width = foundation::RoundHalfEven(gradientFraction_ * 10.0 + 4.0);
        foundation::DrawSoftEdge(hDC(), client, TranslateColor(backColor_), width, value_);
    }
    DrawBorder(up);
    if (arrowType_ == NoArrow) {
        DrawPictureAndCaption(up, textColor);
    } else {
        DrawArrowGlyph(textColor);
    }
    DrawFocusFrame();
    Flush();
}

void Command::DrawFaceColourBox(std::uint32_t faceColor) {
    const Layout& l = layout_;
    float x = static_cast<float>(SnapToPixelsX(foundation::RoundHalfEven(l.faceLeft + 2 * PxX())));
    float y = static_cast<float>(SnapToPixelsY(foundation::RoundHalfEven(l.faceTop + 2 * PxY())));
    float w = static_cast<float>(SnapToPixelsX(foundation::RoundHalfEven(l.faceWidth - l.menuWidth - 5 * PxX())));
    float h = static_cast<float>(SnapToPixelsY(foundation::RoundHalfEven(l.faceHeight - 4 * PxY())));
    Line(x, y, x + w, y + h, faceColor, host::LineMode::FilledBox);
}

// Brightest (for a positive percentage) along the centre line: two gradients meeting there,
// side by side instead in a vertical splitter.
void Command::DrawGradientFace() {
    RECT client = ClientRect(hWnd());
    if (InSplitWindow("Vertical")) {
        int mid = client.right / 2;
        foundation::GradientFill(hDC(), RECT{mid - 1, 0, client.right, client.bottom}, gradientTop_, gradientBottom_, false);
        foundation::GradientFill(hDC(), RECT{0, 0, mid, client.bottom}, gradientBottom_, gradientTop_, false);
    } else {
        int mid = client.bottom / 2;
        foundation::GradientFill(hDC(), RECT{0, mid - 1, client.right, client.bottom}, gradientTop_, gradientBottom_, true);
        foundation::GradientFill(hDC(), RECT{0, 0, client.right, mid}, gradientBottom_, gradientTop_, true);
    }
    const Layout& l = layout_;
    float x = l.faceLeft + PxX(), y = l.faceTop + PxY();
    Line(x, y, x + l.faceWidth - l.menuWidth - 3 * PxX(), y + l.faceHeight - 2 * PxY(), gradientBottom_,
         host::LineMode::Box);
}

// The face is drawn on the DC alone: the frame reaches the screen once, when DrawButton ends.
void Command::DrawFace(std::uint32_t faceColor) {
    if (!foundation::HasPicture(pictureBg_)) {
        const bool pressedStrip = StripPressed();
        // The two halves of a gradient cover the whole client area, so nothing is filled
        // under them first.
        if (!pressedStrip && !colorEffects_ && gradientFraction_ != 0 && !rounded_) {
            DrawGradientFace();
            return;
        }
        ClearSurface();
        if (!pressedStrip && colorEffects_) DrawFaceColourBox(faceColor);
        return;
    }
    ClearSurface();
    DrawPictureFace();
    if (colorEffects_) DrawFaceColourBox(faceColor);
}

void Command::DrawPictureFace() {
    HBITMAP bitmap = pictureBg_->Bitmap();
    const int pw = pictureBg_->PixelWidth(), ph = pictureBg_->PixelHeight();
    if (!bitmap || pw <= 0 || ph <= 0) return;
    const int w = ToPixelsX(static_cast<float>(Width())), h = ToPixelsY(static_cast<float>(Height()));
    if (transparent_ && !stretch_) {
        // Continue the container's tiling of its picture under the button, over as many tiles
        // as the button covers and from any offset.
        int ox = ToPixelsX(static_cast<float>(Left())), oy = ToPixelsY(static_cast<float>(Top()));
        if (InSplitWindow("Transparent")) {
            host::TryInvoke([&] {
                auto container = Container();
                ox += ToPixelsX(host::GetProperty(*container, "Left").ToSingle());
                oy += ToPixelsY(host::GetProperty(*container, "Top").ToSingle());
            });
        }
        foundation::TileBitmap(hDC(), w, h, bitmap, ox, oy);
        return;
    }
    HDC memory = CreateCompatibleDC(hDC());
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (stretch_) {
        StretchBlt(hDC(), 0, 0, w, h, memory, 0, 0, pw, ph, SRCCOPY);
    } else {
        BitBlt(hDC(), 0, 0, w, h, memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
}

void Command::DrawBorder(bool up) {
    HDC dc = hDC();
    workRect = ClientRect(hWnd());
    RECT full = workRect;
    if (menuButton_) workRect.right -= layout_.menuWidthPx;
    if (default_) {
        DrawEdge(dc, &workRect, EDGE_RAISED, BF_RECT | BF_MONO);
        InflateRect(&workRect, -1, -1);
    }
    foundation::DrawBevel(dc, bevelOuter_, BF_RECT);
    if (!button3D_) return;
    const UINT raised = softButton_ ? BDR_RAISEDINNER : EDGE_RAISED;
    const UINT sunken = softButton_ ? BDR_SUNKENOUTER : EDGE_SUNKEN;
    const float arrowOffset = static_cast<float>(ToPixelsX(static_cast<float>(Width())) - layout_.menuWidthPx);
    auto stripArrow = [&](std::uint32_t colour) { DrawArrow(arrowOffset, Enabled() ? colour : k3DShadow); };
    if (up && activeBorder_ && !hovering_) {
        if (!RunTime()) {
            DrawEdge(dc, &workRect, BDR_RAISEDOUTER, BF_RECT | BF_FLAT);
            if (menuButton_) DrawEdge(dc, &full, BDR_RAISEDOUTER, BF_RECT | BF_FLAT);
        }
        if (menuButton_) stripArrow(foreColor_);
        return;
    }
    if (rounded_) return;
    if (!up) {
        if (menuButton_) {
            DrawEdge(dc, &workRect, raised, BF_RECT);
            if (hovering_) DrawEdge(dc, &full, raised, BF_RECT);
        }
        if (StripPressed()) {
            DrawEdge(dc, &full, sunken, BF_RECT);
        } else {
            DrawEdge(dc, &workRect, bevelOuter_ == foundation::Inset ? EDGE_ETCHED : sunken, BF_RECT);
        }
        if (menuButton_) stripArrow(fontColorDn_);
        return;
    }
    DrawEdge(dc, &workRect, bevelOuter_ == foundation::Raised ? EDGE_ETCHED : raised, BF_RECT);
    if (menuButton_) {
        DrawEdge(dc, &full, raised, BF_RECT);
        stripArrow(foreColor_);
    }
}

void Command::DrawPicture(bool up) {
    const bool useUp = up || StripPressed();
    const PictureCache& cache = useUp ? pictureCache_ : pictureDownCache_;
    if (useMask_) {
        int effect = 0;
        if (!Enabled()) {
            effect = 1;
        } else if (useUp && activeColor_ && !hovering_) {
            effect = 2;
        }
        foundation::TransparentPaint(hDC(), cache.bitmap, cache.source, cache.dest, effect,
                                     static_cast<std::int32_t>(TranslateColor(maskColor_)));
        return;
    }
    HDC memory = CreateCompatibleDC(hDC());
    HGDIOBJ old = SelectObject(memory, cache.bitmap);
    BitBlt(hDC(), cache.dest.left, cache.dest.top, cache.source.right, cache.source.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void Command::DrawPictureAndCaption(bool up, std::uint32_t textColor) {
    RECT client = ClientRect(hWnd());
    workRect = client;
    InflateRect(&workRect, -layout_.faceLeftPx, -layout_.faceTopPx);
    if (pictureCache_.width != 0 && foundation::HasPicture(picture_)) DrawPicture(up);
    if (!caption_.empty()) DrawCaption(up, textColor);
}

}  // namespace brimlox::controls
