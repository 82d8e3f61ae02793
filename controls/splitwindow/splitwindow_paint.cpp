// SplitWindow: one frame, layer by layer (background picture or colour and gradient, border,
// grip), and the layout work each paint drives: the first paint builds the panes from the
// children, later ones follow children that were moved, resized, added or removed.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "foundation/painters/bevel.h"
#include "foundation/painters/gradient.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using foundation::workRect;

namespace {

constexpr int kCursorIntervalMs = 100;
constexpr double kBaseTwipsPerPixel = 15.0;
// The grip: two raised bars 3 pixels wide, 4 pixels from the edges and from each other (at
// 15 twips per pixel; they grow with the screen's pixel density).
constexpr int kGripInset = 4;
constexpr int kGripBar = 3;

std::int32_t Rounded(double v) { return static_cast<std::int32_t>(foundation::RoundHalfEven(v)); }

RECT ClientRect(HWND hwnd) {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return r;
}

}  // namespace

void SplitWindow::Paint() {
    if (painting_ || moveGuard_) return;
    painting_ = true;
    auto alive = alive_;
    struct Done {
        std::shared_ptr<bool> alive;
        bool& flag;
        ~Done() {
            if (*alive) flag = false;
        }
    } done{alive, painting_};
    if (!UserMode() && style_ == ToolBarWindow && active_ && GetKeyState(VK_LBUTTON) >= 0) ArrangeToolBar(false);
    if (transparent_) FollowContainerLook();
    NoteBackColour();
    RefreshTransparentChildren();
    if (foundation::HasPicture(picture_)) PaintPicture();
    else PaintBackColour();
    if (!setupDone_) FirstPaintSetup();
    else LaterPaintLayout();
    if (!*alive) return;
    PaintBorder();
    PaintGrip();
    DrawFocusFrame();
    RepaintChildrenOnTop();
    paintedOnce_ = true;
}

// Paint covers the client area with the gradient, the back colour (around the children) or the
// tiled bitmap, so the erase before it would only be painted over. A transparent control
// follows its container's look, which may be an icon with see-through parts; an icon or a
// metafile leaves gaps; a paint that returns early paints nothing. Those keep the erase.
bool SplitWindow::PaintsWholeClient() const {
    if (painting_ || moveGuard_ || transparent_) return false;
    return !foundation::HasPicture(picture_) || picture_->Type() == host::PictureType::Bitmap;
}

// The frame is drawn over the whole client area, the children's places included (a window and
// its children share one surface here): every shown child paints again on top of it, as
// children of a container that clips its controls are always seen.
void SplitWindow::RepaintChildrenOnTop() {
    for (HWND child = GetWindow(hWnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
}

// A transparent control shows its container's picture (continuing its tiling) or colour.
void SplitWindow::FollowContainerLook() {
    host::TryInvoke([&] {
        auto container = Container();
        if (!container) return;
        std::shared_ptr<host::StdPicture> picture;
        host::TryInvoke([&] { picture = host::GetProperty(*container, "Picture").As<host::StdPicture>(); });
        picture_ = foundation::HasPicture(picture) ? picture : nullptr;
        const auto colour = static_cast<std::uint32_t>(host::GetProperty(*container, "BackColor").ToLong());
        if (colour != host::Control::BackColor()) host::Control::SetBackColor(colour);
    });
}

// The gradient's colours follow what the back colour means now (a system colour can change).
void SplitWindow::NoteBackColour() {
    if (foundation::TranslateColor(BackColor()) != cachedBackColour_) ComputeColours();
}

int SplitWindow::CountVisibleChildren() const {
    int count = 0;
    for (const auto& child : Children())
        if (!UserMode() || child->Visible()) ++count;
    return count;
}

// A transparent child shows this control's background: it repaints over the new one.
void SplitWindow::RefreshTransparentChildren() {
    if (sizing_) return;
    for (const auto& child : Children()) {
        // Most children have no such property; asking would raise and catch an error each.
        if (!host::HasMember(*child, "Transparent")) continue;
        bool transparent = false;
        host::TryInvoke([&] { transparent = host::GetProperty(*child, "Transparent").ToBool(); });
        if (transparent) host::TryInvoke([&] { host::CallMethod(*child, "Refresh"); });
    }
}

// Steps of at least one pixel each way: a one-pixel picture would otherwise step by 0 (never
// getting anywhere) or by -1.
std::pair<int, int> SplitWindow::TileSteps(double widthPx, double heightPx) {
    const double w = widthPx, h = heightPx;
    const double stepX = w - std::fmod(Rounded(w), 2.0);
    const double stepY = std::trunc(h - std::fmod(Rounded(h), 2.0)) - 1;
    return {std::max(1, Rounded(stepX)), std::max(1, static_cast<int>(stepY))};
}

// Tiles the picture from one memory DC, one BitBlt per tile. A transparent control starts
// the tiling where its container's own tiling puts it, so the picture runs on seamlessly.
void SplitWindow::PaintPicture() {
    // The picture's own pixel size: its HIMETRIC size is rounded and would come back a
    // fraction short.
    const double pw = picture_->PixelWidth(), ph = picture_->PixelHeight();
    const auto [stepX, stepY] = TileSteps(pw, ph);
    const int width = Rounded(Width() / TwipsPerPixelX()), height = Rounded(Height() / TwipsPerPixelY());
    long long originX = 0, originY = 0;
    if (transparent_) {
        originX = Rounded(Left() / TwipsPerPixelX()), originY = Rounded(Top() / TwipsPerPixelY());
        if (auto* container = dynamic_cast<SplitWindow*>(ContainerControl()); container && container->Transparent()) {
            originX += Rounded(container->Left() / TwipsPerPixelX());
            originY += Rounded(container->Top() / TwipsPerPixelY());
        }
        if (originX >= stepX) originX %= stepX;
        if (originY >= stepY) originY %= stepY;
    }
    HDC dc = hDC();
    if (picture_->Type() == host::PictureType::Icon) {
        for (long long x = -originX; x <= width; x += stepX)
            for (long long y = -originY; y <= height; y += stepY)
                DrawIcon(dc, static_cast<int>(x), static_cast<int>(y), picture_->Icon());
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture_->Bitmap());
    for (long long x = -originX; x <= width; x += stepX)
        for (long long y = -originY; y <= height; y += stepY)
            BitBlt(dc, static_cast<int>(x), static_cast<int>(y), stepX, stepY, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

// A flat back colour, then, with a gradient, two halves that meet light in the middle: across
// the control for a splitter or a vertical tool bar, top to bottom for a horizontal tool bar.
void SplitWindow::PaintBackColour() {
    // Filled on the DC without flushing it to the screen half way through the paint: the end
    // of the paint shows the whole frame, children included. The two halves of a gradient
    // cover the whole client area, so nothing is filled under them first.
    if (gradientFraction_ != 0) PaintGradient();
    else FillBackground(hDC());
}

void SplitWindow::PaintGradient() {
    const RECT client = ClientRect(hWnd());
    if (style_ == SplitterWindow || vertical_) {
        const double half = client.right / 2.0;
        foundation::GradientFill(hDC(), RECT{Rounded(half - 1), 0, client.right, client.bottom}, lightColor_,
                                 darkColor_, false);
        foundation::GradientFill(hDC(), RECT{0, 0, Rounded(half), client.bottom}, darkColor_, lightColor_, false);
    } else {
        const double half = client.bottom / 2.0;
        foundation::GradientFill(hDC(), RECT{0, Rounded(half - 1), client.right, client.bottom}, lightColor_,
                                 darkColor_, true);
        foundation::GradientFill(hDC(), RECT{0, 0, client.right, Rounded(half)}, darkColor_, lightColor_, true);
    }
}

// The first paint: the edge the control sits on tells its dock edge, then the panes are built
// from where the children are.
void SplitWindow::FirstPaintSetup() {
    InferDockEdge();
    setupDone_ = true;
    AdjustOthers(Width(), Height(), false);
    completedWidth_ = Width();
    completedHeight_ = Height();
    FirstPaintLayout();
}

void SplitWindow::InferDockEdge() {
    RefreshContainerArea();
    const ContainerArea& a = containerArea_;
    const std::int32_t left = Left(), top = Top(), width = Width(), height = Height();
    const std::int16_t align = Align();
    const bool atLeft = left == a.left, atTop = top == a.top;
    const bool fullWidth = width == a.width, fullHeight = height == a.height;
    const bool known = a.width > 0 && a.height > 0;
    std::int16_t edge = host::kAlignNone;
    if (align == host::kAlignTop || (known && atLeft && atTop && fullWidth)) edge = host::kAlignTop;
    else if (align == host::kAlignBottom || (known && atLeft && top + height == a.top + a.height && fullWidth))
        edge = host::kAlignBottom;
    else if (align == host::kAlignLeft || (known && atLeft && atTop && fullHeight)) edge = host::kAlignLeft;
    else if (align == host::kAlignRight || (known && left + width == a.left + a.width && atTop && fullHeight))
        edge = host::kAlignRight;
    currentDock_ = edge;
}

void SplitWindow::FirstPaintLayout() {
    CollectPanes();
    if (UserMode() && currentDock_ == host::kAlignNone) {
        floatHeight_ = static_cast<float>(Height());
        floatWidth_ = static_cast<float>(Width());
    }
    layoutInitialised_ = true;
    childCountSeen_ = Children().size();
    if (tmrCursor_) tmrCursor_->SetInterval(kCursorIntervalMs);
    SetCursorTimerRunning(active_);
    RescalePanes();
    ArrangeToolBar(false);
}

// Later paints follow the children: the same children are synced and re-placed; a child
// added or removed spreads the panes evenly again.
void SplitWindow::LaterPaintLayout() {
    if (!active_ || ToolWindowMoving()) return;
    const std::size_t count = Children().size();
    if (needsRespread_) {
        ReSpreadPanes();
        childCountSeen_ = count;
    } else if (count == childCountSeen_ && !ChildrenChanged()) {
        SyncPanes();
        CollectPanes();
        ArrangePanes();
    } else {
        ResetChildren(true);
        CollectPanes();
        RescalePanes();
        childCountSeen_ = count;
    }
    SetCursorTimerRunning(active_);
}

void SplitWindow::PaintBorder() {
    if (!border_ || borderStyle_ < 1) return;
    workRect = ClientRect(hWnd());
    foundation::DrawBevel(hDC(), borderStyle_, BF_RECT);
}

// Two raised bars at the leading end of a moveable tool bar: side by side at the left end of a
// bar wider than tall, one above the other at the top end otherwise.
void SplitWindow::PaintGrip() {
    if (!moveable_ || style_ != ToolBarWindow) return;
    const int inset = GripPixels(), bar = std::max(1, Rounded(kGripBar * kBaseTwipsPerPixel / TwipsPerPixelX()));
    RECT r = ClientRect(hWnd());
    const bool wide = r.right > r.bottom;
    InflateRect(&r, -inset, -inset);
    if (wide) r.right = r.left + bar;
    else r.bottom = r.top + bar;
    for (int i = 0; i < 2; ++i) {
        DrawEdge(hDC(), &r, EDGE_RAISED, BF_RECT | BF_FLAT);
        DrawEdge(hDC(), &r, BDR_RAISEDINNER, BF_RECT);
        if (wide) OffsetRect(&r, inset, 0);
        else OffsetRect(&r, 0, inset);
    }
}

int SplitWindow::GripPixels() const { return std::max(1, Rounded(kGripInset * kBaseTwipsPerPixel / TwipsPerPixelX())); }

}  // namespace brimlox::controls
