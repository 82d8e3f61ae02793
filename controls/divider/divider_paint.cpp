// Divider: one frame, layer by layer: the container's picture or colour (transparent look),
// the two-way gradient, then the line across the middle of the long side.
#include "controls/divider/divider.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "foundation/painters/bevel.h"
#include "foundation/painters/gradient.h"
#include "foundation/painters/tile.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using foundation::workRect;

namespace {

constexpr UINT kLineEdges = BF_RECT | BF_MIDDLE;  // 2063

RECT ClientRect(HWND hwnd) {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return r;
}

}  // namespace

void Divider::Paint() {
    const bool pictureShown = transparent_ && PaintContainerPicture();
    if (transparent_ && !pictureShown) TakeContainerColour();
    NoteBackColour();
    if (gradientPct_ != 0 && !pictureShown) DrawGradient();
    DrawLine();
}

// Shows the part of the container's picture that lies behind the divider, continuing the
// container's tiling of it: the tiling starts at the container's origin, or at its own
// container's origin for a transparent SplitWindow, which shows that one's picture in turn.
// Only a bitmap with pixels can be tiled; for anything else the caller falls back to the
// container's colour.
bool Divider::PaintContainerPicture() {
    std::shared_ptr<host::StdPicture> picture;
    host::TryInvoke([&] {
        // A container without a picture (a frame, the form) is asked nothing: asking would
        // raise and catch an error on every paint.
        auto container = Container();
        if (container && host::HasMember(*container, "Picture"))
            picture = host::GetProperty(*container, "Picture").As<host::StdPicture>();
    });
    if (!foundation::HasPicture(picture) || picture->Type() != host::PictureType::Bitmap) return false;
    const int tppX = TwipsPerPixelX(), tppY = TwipsPerPixelY();
    long long offsetX = Left() / tppX, offsetY = Top() / tppY;
    if (ContainerFlag("Transparent")) {
        host::TryInvoke([&] {
            auto container = Container();
            offsetX += host::GetProperty(*container, "Left").ToLong() / tppX;
            offsetY += host::GetProperty(*container, "Top").ToLong() / tppY;
        });
    }
    return foundation::TileBitmap(hDC(), Width() / tppX, Height() / tppY, picture->Bitmap(), offsetX, offsetY);
}

// Without a picture to show, the divider takes its container's colour. Setting the surface's
// colour clears it, so it is set only when it changes.
void Divider::TakeContainerColour() {
    host::TryInvoke([&] {
        auto container = Container();
        if (!container || !host::HasMember(*container, "BackColor")) return;
        const auto colour = static_cast<std::uint32_t>(host::GetProperty(*container, "BackColor").ToLong());
        if (colour != host::Control::BackColor()) host::Control::SetBackColor(colour);
    });
}

// A system colour can change under the divider: the gradient follows what the back colour
// means now.
void Divider::NoteBackColour() {
    if (foundation::TranslateColor(BackColor()) != lastBackColour_) ComputeGradient();
}

// Dark at both edges and light along the middle, across the divider's thickness: top to
// bottom, or left to right inside a vertical tool bar.
void Divider::DrawGradient() {
    const RECT client = ClientRect(hWnd());
    if (ContainerFlag("Vertical")) {
        const int mid = client.right / 2;
        foundation::GradientFill(hDC(), RECT{mid - 1, 0, client.right, client.bottom}, lightColor_, darkColor_, false);
        foundation::GradientFill(hDC(), RECT{0, 0, mid, client.bottom}, darkColor_, lightColor_, false);
    } else {
        const int mid = client.bottom / 2;
        foundation::GradientFill(hDC(), RECT{0, mid - 1, client.right, client.bottom}, lightColor_, darkColor_, true);
        foundation::GradientFill(hDC(), RECT{0, 0, client.right, mid}, darkColor_, lightColor_, true);
    }
}

// The line is 2 pixels thick across the middle of the long side. Space and spring dividers
// draw nothing at run time; in the designer they show a flat outline so they can be seen and
// picked.
void Divider::DrawLine() {
    const RECT client = ClientRect(hWnd());
    workRect = client;
    if (client.right > client.bottom) {
        workRect.top = client.bottom / 2;
        workRect.bottom = workRect.top + 2;
    } else {
        workRect.left = client.right / 2;
        workRect.right = workRect.left + 2;
    }
    switch (style_) {
        case DipDivider: foundation::DrawBevel(hDC(), foundation::SoftInset, kLineEdges); break;
        case BumpDivider: foundation::DrawBevel(hDC(), foundation::SoftRaised, kLineEdges); break;
        default:
            if (!Ambient().UserMode) {
                workRect = client;
                foundation::DrawBevel(hDC(), foundation::FlatOutline, BF_RECT);
            }
            break;
    }
}

}  // namespace brimlox::controls
