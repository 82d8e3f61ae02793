// SplitWindow: the tool-bar arrangement. The bar takes its orientation from its shape, then
// lays the visible controls on it out from its grip in rows (or columns): spring dividers
// share the free length, other dividers are turned across the bar, lines are stretched across
// it, and the bar's thickness follows the rows. The geometry itself is LayOutToolBar.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"
#include "controls/splitwindow/splitwindow_dock_layout.h"

namespace brimlox::controls {

namespace {

constexpr int kGripLength = 10;      // pixels before the first control of a Moveable bar
constexpr std::int16_t kSpringStyle = 3;

bool IsDivider(const host::Control& c) { return c.TypeName() == "Divider"; }
bool IsLine(const host::Control& c) { return c.TypeName() == "Line"; }

std::int16_t DividerStyle(host::Control& c) {
    std::int16_t style = 0;
    host::TryInvoke([&] { style = host::GetProperty(c, "Style").ToInteger(); });
    return style;
}

}  // namespace

void SplitWindow::ArrangeToolBar(bool resizeWhilePressed) {
    if (style_ != ToolBarWindow || arrangingToolBar_ || moving_) return;
    auto children = ContainedControls();
    if (children.empty()) return;
    arrangingToolBar_ = true;
    vertical_ = ToolBarOrientation();
    ShowWrapHiddenDividers();
    std::vector<std::shared_ptr<host::Control>> placed, lines;
    std::vector<ToolItem> items;
    for (const auto& c : children) {
        if (!c->Visible() || c->Terminated()) continue;
        if (IsLine(*c)) {
            lines.push_back(c);
            continue;
        }
        items.push_back(ToolItemOf(*c));
        placed.push_back(c);
    }
    const double alongTpp = vertical_ ? TwipsPerPixelY() : TwipsPerPixelX();
    const double acrossTpp = vertical_ ? TwipsPerPixelX() : TwipsPerPixelY();
    const int gap = border_ ? gapInPixels_ : 0;
    ToolBarMetrics metrics;
    metrics.barLength = static_cast<int>(std::lround((vertical_ ? Height() : Width()) / alongTpp));
    metrics.borderGap = gap;
    metrics.leading = (moveable_ ? kGripLength : 0) + gap;
    const ToolBarLayout layout = LayOutToolBar(items, metrics);
    // The bar takes its thickness first, so the controls are placed (and paint) on the bar's
    // final surface.
    if (resizeWhilePressed || !(GetKeyState(VK_LBUTTON) & 0x8000)) {
        const auto thickness = static_cast<std::int32_t>(std::lround(layout.thickness * acrossTpp));
        host::TryInvoke([&] {
            if (vertical_) Move(Left(), Top(), thickness, Height());
            else Move(Left(), Top(), Width(), thickness);
        });
    }
    for (std::size_t i = 0; i < placed.size(); ++i) PlaceToolItem(*placed[i], items[i], layout.places[i]);
    for (const auto& line : lines) StretchLine(*line, layout.thickness);
    arrangingToolBar_ = false;
}

// Vertical when taller than wide, unless the bar may dock to neither side; horizontal then,
// or when it may dock to neither top nor bottom, vertical. The shape already has the
// orientation, so it is only recorded, not turned again.
bool SplitWindow::ToolBarOrientation() const {
    bool vertical = Height() > Width();
    if (vertical && !dockLeft_ && !dockRight_) vertical = false;
    else if (!vertical && !dockTop_ && !dockBottom_) vertical = true;
    return vertical;
}

// A child as an item of the layout; dividers other than springs are first turned across the
// bar, so the item has the divider's new shape.
ToolItem SplitWindow::ToolItemOf(host::Control& c) {
    ToolItem item;
    if (IsDivider(c)) {
        if (DividerStyle(c) == kSpringStyle) item.kind = ToolItemKind::Spring;
        else {
            item.kind = ToolItemKind::Divider;
            host::TryInvoke([&] { host::CallMethod(c, "Rotate", {host::Variant(!vertical_)}); });
        }
    }
    const double w = c.Width() / TwipsPerPixelX(), h = c.Height() / TwipsPerPixelY();
    item.length = static_cast<int>(std::lround(vertical_ ? h : w));
    item.thickness = static_cast<int>(std::lround(vertical_ ? w : h));
    return item;
}

void SplitWindow::PlaceToolItem(host::Control& c, const ToolItem& item, const ToolPlace& place) {
    if (!place.shown) {
        host::TryInvoke([&] { c.SetVisible(false); });
        wrapHidden_.push_back(std::static_pointer_cast<host::Control>(c.shared_from_this()));
        return;
    }
    const double px = TwipsPerPixelX(), py = TwipsPerPixelY();
    const int x = vertical_ ? place.across : place.along, y = vertical_ ? place.along : place.across;
    const int w = vertical_ ? item.thickness : place.length, h = vertical_ ? place.length : item.thickness;
    const auto left = static_cast<std::int32_t>(std::lround(x * px));
    const auto top = static_cast<std::int32_t>(std::lround(y * py));
    const auto width = static_cast<std::int32_t>(std::lround(w * px));
    const auto height = static_cast<std::int32_t>(std::lround(h * py));
    if (left != c.Left() || top != c.Top() || width != c.Width() || height != c.Height())
        host::TryInvoke([&] { c.Move(left, top, width, height); });
    // Painted after the paint of the bar still to come, which would cover it.
    if (c.hWnd()) InvalidateRect(c.hWnd(), nullptr, TRUE);
}

// A line on the bar runs across it, at its own place along the bar.
void SplitWindow::StretchLine(host::Control& line, int thicknessPx) {
    const int gap = border_ ? gapInPixels_ : 0;
    const double tpp = vertical_ ? TwipsPerPixelX() : TwipsPerPixelY();
    const auto from = host::Variant(static_cast<std::int32_t>(std::lround(gap * tpp)));
    const auto to = host::Variant(static_cast<std::int32_t>(std::lround((thicknessPx - gap) * tpp)));
    host::TryInvoke([&] {
        if (vertical_) {
            host::LetProperty(line, "X1", from);
            host::LetProperty(line, "X2", to);
            host::LetProperty(line, "Y2", host::GetProperty(line, "Y1"));
        } else {
            host::LetProperty(line, "Y1", from);
            host::LetProperty(line, "Y2", to);
            host::LetProperty(line, "X2", host::GetProperty(line, "X1"));
        }
    });
}

// Dividers hidden because they ended a wrapped row come back before the next arrangement,
// which decides afresh where the rows break.
void SplitWindow::ShowWrapHiddenDividers() {
    auto hidden = std::move(wrapHidden_);
    wrapHidden_.clear();
    for (const auto& weak : hidden)
        if (auto c = weak.lock(); c && !c->Terminated() && c->ContainerControl() == this)
            host::TryInvoke([&] { c->SetVisible(true); });
}

}  // namespace brimlox::controls
