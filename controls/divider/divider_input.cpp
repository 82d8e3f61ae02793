// Divider: the Alt-drag.
//
// State table (dragging is the only state besides idle):
//
//   idle --left press with exactly Alt on a Moveable divider--> dragging: the keyboard watch
//        runs, the start position and style are kept, the divider comes to the front and
//        shows as a bump
//   dragging --move--> the grabbed point follows the mouse; after Escape the divider goes
//        back to its start instead and the drag ends
//   dragging --release--> dropped where it is (back at the start after Escape)
//   dragging --capture taken by another window--> dropped as on a release
//   dragging --another press--> ignored: the first drag keeps its watch, start and style
//
// Every way out of a drag restores the style and repaints the container.
#include "controls/divider/divider.h"
#include "foundation/helpers/colour.h"

namespace brimlox::controls {

namespace {

constexpr int kLeftButton = 1;
constexpr int kAltOnly = 4;
// The grabbed point's x is kept within the first 105 twips (7 pixels at 96 DPI), the width of
// a divider standing in a horizontal tool bar.
constexpr float kMaxGrabX = 105;

}  // namespace

void Divider::MouseDown(int button, int shift, float x, float y) {
    if (dragging_) return;
    lastButton_ = static_cast<std::int16_t>(button);
    lastShift_ = static_cast<std::int16_t>(shift);
    grabX_ = x, grabY_ = y;
    if (button == kLeftButton && shift == kAltOnly && moveable_) StartDrag();
}

void Divider::MouseMove(int, int, float x, float y) {
    if (!dragging_) return;
    if (EscapePressed()) {
        EndDrag(true);
        return;
    }
    Move(foundation::RoundHalfEven(Left() + x - grabX_), foundation::RoundHalfEven(Top() + y - grabY_), Width(),
         Height());
}

void Divider::MouseUp(int, int, float, float) {
    if (dragging_) EndDrag(EscapePressed());
}

// A release that went to another window ends the drag where the divider is.
void Divider::CaptureLost() {
    if (dragging_) EndDrag(EscapePressed());
}

// Setting the style lets pending messages run, so everything a move or release reads is in
// place before it.
void Divider::StartDrag() {
    auto keep = weak_from_this().lock();
    dragWatch_ = std::make_unique<AltDragWatch>();
    dragging_ = true;
    dragStartLeft_ = Left();
    dragStartTop_ = Top();
    if (grabX_ > kMaxGrabX) grabX_ = kMaxGrabX;
    ZOrder(0);
    styleBeforeDrag_ = style_;
    SetStyle(BumpDivider);
}

void Divider::EndDrag(bool putBack) {
    auto keep = weak_from_this().lock();
    dragWatch_.reset();
    dragging_ = false;
    if (putBack) Move(dragStartLeft_, dragStartTop_, Width(), Height());
    SetStyle(styleBeforeDrag_);
    RefreshContainer();
}

}  // namespace brimlox::controls
