// SplitWindow: the grip and the sizing edges under the mouse, sizing a window by its right
// edge, bottom edge or corner within MinWidth ... MaxWidth and MinHeight ... MaxHeight, and
// turning a tool bar between a row and a column (by code or by a right press on its grip).
//
//   state      event                                    next       action
//   idle       left press on a sizing edge, Sizeable    sizing     grab = point - size
//   sizing     move with left button                    sizing     new size within the limits
//   sizing     release or capture lost                  idle       arrange the tool bar
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using host::kAlignBottom;
using host::kAlignLeft;
using host::kAlignNone;
using host::kAlignRight;
using host::kAlignTop;

namespace {

// Mouse pointers of the host.
constexpr std::int16_t kPointerDefault = 0;
constexpr std::int16_t kPointerSizeAll = 5;
constexpr std::int16_t kPointerSizeNS = 7;
constexpr std::int16_t kPointerSizeNWSE = 8;
constexpr std::int16_t kPointerSizeWE = 9;

// The grip of a tool bar: this many pixels plus three border gaps at its leading end.
constexpr int kGripPixels = 8;
// A turned bar's new long side, in units of its old short side.
constexpr double kTurnedLength = 1.5;

std::int32_t Limit(double value, std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(std::clamp<double>(std::round(value), low, std::max(low, high)));
}

}  // namespace

// ---- Hit test ---------------------------------------------------------------------------------------

void SplitWindow::HitTestToolBar(float x, float y) {
    onGrip_ = onSizingEdge_ = false;
    sizingPointer_ = kPointerDefault;
    const double gap = border_ ? gapInPixels_ : 0;
    const double px = TwipsPerPixelX(), py = TwipsPerPixelY();
    bool inGrip = false;
    if (style_ == ToolBarWindow) {
        const double grip = kGripPixels + 3 * gap;
        inGrip = Width() > Height() ? x < grip * px : y < grip * py;
    } else {
        inGrip = x < 3 * gap * px || y < 3 * gap * py;
    }
    if (inGrip && moveable_) {
        onGrip_ = true;
        SetPointer(moving_ ? kPointerDefault : kPointerSizeAll);
        return;
    }
    sizingPointer_ = SizingPointerAt(x, y);
    onSizingEdge_ = sizingPointer_ != kPointerDefault;
    SetPointer(sizingPointer_);
}

// The sizing pointer for (x, y): right edge, bottom edge or the corner between them, within
// three border gaps (one while the host aligns the control, which then sizes only across its
// edge). A tool bar is sized only while it floats at its float size.
std::int16_t SplitWindow::SizingPointerAt(float x, float y) const {
    const std::int16_t align = Align();
    if (!sizeable_ || align == kAlignRight || align == kAlignBottom) return kPointerDefault;
    if (style_ == ToolBarWindow) {
        const bool atFloatSize = std::abs(Width() - floatWidth_) < 1 && std::abs(Height() - floatHeight_) < 1;
        if (align != kAlignNone || !atFloatSize) return kPointerDefault;
    }
    const double zone = (align != kAlignNone ? 1 : 3) * (border_ ? gapInPixels_ : 0);
    if (zone <= 0) return kPointerDefault;
    bool right = x >= Width() - zone * TwipsPerPixelX();
    bool bottom = y >= Height() - zone * TwipsPerPixelY();
    if (align == kAlignLeft) bottom = false;
    if (align == kAlignTop) right = false;
    if (right && bottom) return kPointerSizeNWSE;
    if (right) return kPointerSizeWE;
    if (bottom) return kPointerSizeNS;
    return kPointerDefault;
}

// ---- Sizing ------------------------------------------------------------------------------------------

void SplitWindow::BeginSizing(float x, float y) {
    if (hWnd()) SetCapture(hWnd());
    if (tmrCursor_) tmrCursor_->SetEnabled(false);
    sizing_ = true;
    grabX_ = x - static_cast<float>(Width());
    grabY_ = y - static_cast<float>(Height());
    ZOrder(0);
}

void SplitWindow::SizeStep(float x, float y) {
    std::int32_t width = Width(), height = Height();
    if (sizingPointer_ == kPointerSizeWE || sizingPointer_ == kPointerSizeNWSE)
        width = Limit(x - grabX_, minWidth_, maxWidth_);
    if (sizingPointer_ == kPointerSizeNS || sizingPointer_ == kPointerSizeNWSE)
        height = Limit(y - grabY_, minHeight_, maxHeight_);
    if (width == Width() && height == Height()) return;
    host::TryInvoke([&] { Move(Left(), Top(), width, height); });
    if (currentDock_ == kAlignNone) {
        if (sizingPointer_ != kPointerSizeNS) floatWidth_ = static_cast<float>(Width());
        if (sizingPointer_ != kPointerSizeWE) floatHeight_ = static_cast<float>(Height());
    }
}

void SplitWindow::EndSizing() {
    sizing_ = false;
    if (hWnd() && GetCapture() == hWnd()) ReleaseCapture();
    if (tmrCursor_) tmrCursor_->SetEnabled(active_);
    ArrangeToolBar(true);
    if (currentDock_ == kAlignNone && style_ == ToolBarWindow) {
        floatWidth_ = static_cast<float>(Width());
        floatHeight_ = static_cast<float>(Height());
    }
}

// ---- Turning -----------------------------------------------------------------------------------------

void SplitWindow::RightPress(float x, float y) {
    HitTestToolBar(x, y);
    if (currentDock_ != kAlignNone || !onGrip_ || !sizeable_) return;
    if (userOrientation_) {
        NoteShapeOrientation();
        SetVertical(!vertical_);
        // The user turned the floating bar: this is its floating shape from now on.
        if (style_ == ToolBarWindow) {
            floatWidth_ = static_cast<float>(Width());
            floatHeight_ = static_cast<float>(Height());
        }
    }
    RaiseChanged();
}

void SplitWindow::TurnToolBar(bool vertical) {
    NoteShapeOrientation();
    if (vertical == vertical_) return;
    const bool allowed = vertical ? (dockLeft_ || dockRight_) : (dockTop_ || dockBottom_);
    if (!allowed) return;
    const double oldWidth = Width(), oldHeight = Height();
    const double width = vertical ? oldHeight : oldHeight * kTurnedLength;
    const double height = vertical ? oldWidth * kTurnedLength : oldWidth;
    vertical_ = vertical;
    PropertyChanged("Vertical");
    const bool guard = moveGuard_;
    moveGuard_ = true;
    std::int32_t w = Limit(width, minWidth_, maxWidth_), h = Limit(height, minHeight_, maxHeight_);
    host::TryInvoke([&] { Move(Left(), Top(), w, h); });
    KeepInsideContainer();
    moveGuard_ = guard;
    ArrangeToolBar(true);
}

// A tool bar lies the way its shape says (a square one keeps its flag): the orientation flag
// follows the shape before a turn, so a stale flag never turns an already fitting bar.
void SplitWindow::NoteShapeOrientation() {
    if (style_ == ToolBarWindow && Width() != Height()) vertical_ = Height() > Width();
}

// A floating window is held inside its container: no larger than the area, shifted back when
// it would pass the right or bottom end.
void SplitWindow::KeepInsideContainer() {
    if (Align() != kAlignNone) return;
    RefreshContainerArea();
    const ContainerArea& a = containerArea_;
    if (a.width <= 0 || a.height <= 0) return;
    const std::int32_t w = std::min(Width(), a.width), h = std::min(Height(), a.height);
    std::int32_t left = Left(), top = Top();
    if (left + w > a.left + a.width) left = a.left + a.width - w;
    if (top + h > a.top + a.height) top = a.top + a.height - h;
    if (left != Left() || top != Top() || w != Width() || h != Height())
        host::TryInvoke([&] { Move(left, top, w, h); });
}

}  // namespace brimlox::controls
