// SplitWindow: the pane layout of a splitter. One pane per child along the split axis (left to
// right when Vertical, top to bottom otherwise), each filling the control across the axis,
// neighbours separated by one gap, with one border gap before the first and after the last
// pane when Border is set. After a layout pass, for consecutive shown panes:
//     start[i+1] = start[i] + size[i] + gap,   start[first] = border gap.
// A hidden child keeps a pane that takes no room: the next pane starts where it starts.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "foundation/helpers/colour.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

std::int32_t Rounded(double v) {
    if (!std::isfinite(v)) return 0;
    v = std::clamp(v, -2147483647.0, 2147483647.0);
    return static_cast<std::int32_t>(foundation::RoundHalfEven(v));
}

// Pane lengths never go below 0: a shrink larger than the panes leaves them empty, never
// inside out.
std::int32_t NotNegative(std::int32_t v) { return std::max<std::int32_t>(0, v); }

}  // namespace

std::vector<SplitWindow::PaneInfo> SplitWindow::Panes() const {
    std::vector<PaneInfo> out;
    for (const auto& p : panes_) out.push_back(PaneInfo{p.start, p.size});
    return out;
}

std::vector<std::shared_ptr<host::Control>> SplitWindow::Children() const { return ContainedControls(); }

// The children by address, in the host's order, without taking references (the layout pass
// runs on every paint, so it asks the form's list directly).
std::vector<const host::Control*> SplitWindow::ChildAddresses() const {
    std::vector<const host::Control*> out;
    if (const host::Form* form = ParentForm())
        for (const auto& c : form->Controls())
            if (c->ContainerControl() == this) out.push_back(c.get());
    return out;
}

std::int32_t SplitWindow::ChildPosition(const host::Control& child) const {
    return vertical_ ? child.Left() : child.Top();
}

std::int32_t SplitWindow::ChildExtent(const host::Control& child) const {
    return vertical_ ? child.Width() : child.Height();
}

// A pane takes room when its child is shown (always in the designer).
bool SplitWindow::PaneShown(const Pane& pane) const {
    auto child = pane.child.lock();
    return child && (!UserMode() || child->Visible());
}

std::int32_t SplitWindow::MinimumPaneTwips() const { return Rounded(AxisTwips(minimumPaneHeld_)); }

// The lists no longer describe the children: one was removed (or moved to another
// container), added, or replaced.
bool SplitWindow::ChildrenChanged() const {
    // Identity by address (only compared, never followed), validity by the weak handle.
    std::vector<const host::Control*> present = ChildAddresses();
    if (present.empty()) return false;
    if (present.size() != panes_.size()) return true;
    std::sort(present.begin(), present.end());
    for (const auto& pane : panes_) {
        if (pane.child.expired() || !std::binary_search(present.begin(), present.end(), pane.identity)) return true;
    }
    return false;
}

void SplitWindow::CollectPanes() {
    if (style_ == ToolBarWindow) return;
    auto children = Children();
    if (children.empty()) return;
    // A stable sort by position along the axis: children at the same place keep the host's
    // order, as neighbour swaps that stop at the first pass without a swap would leave them.
    std::stable_sort(children.begin(), children.end(), [&](const auto& a, const auto& b) {
        return ChildPosition(*a) < ChildPosition(*b);
    });
    // The same children in the same order keep their entries; only where they are is read.
    bool same = panes_.size() == children.size();
    for (std::size_t i = 0; same && i < children.size(); ++i)
        same = panes_[i].identity == children[i].get() && !panes_[i].child.expired();
    if (!same) panes_.assign(children.size(), Pane{});
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (!same) panes_[i].child = children[i], panes_[i].identity = children[i].get();
        panes_[i].start = ChildPosition(*children[i]);
        panes_[i].size = ChildExtent(*children[i]);
    }
}

// Moves a child onto its pane rectangle: all four values at once, or, when the child refuses
// that, position first and then each size on its own.
void SplitWindow::PlaceChild(host::Control& child, std::int32_t along, std::int32_t alongSize) {
    const std::int32_t acrossGap = border_ ? AcrossGapTwips() : 0;
    const std::int32_t across = acrossGap;
    const std::int32_t acrossSize = NotNegative(AcrossExtentNow() - 2 * acrossGap);
    alongSize = NotNegative(alongSize);
    const std::int32_t left = vertical_ ? along : across, top = vertical_ ? across : along;
    const std::int32_t width = vertical_ ? alongSize : acrossSize, height = vertical_ ? acrossSize : alongSize;
    if (host::TryInvoke([&] { child.Move(left, top, width, height); })) return;
    host::TryInvoke([&] { child.Move(left, top, child.Width(), child.Height()); });
    host::TryInvoke([&] { child.SetWidth(width); });
    host::TryInvoke([&] { child.SetHeight(height); });
}

void SplitWindow::ResetChildren(bool moveChildren) {
    if (resetting_ || style_ == ToolBarWindow) return;
    if (ChildrenChanged() || panes_.empty() || !panes_.front().child.lock()) CollectPanes();
    const auto children = Children();
    std::size_t count = 0;
    resetting_ = true;
    for (const auto& child : children) {
        if (!UserMode() || child->Visible()) ++count;
        host::TryInvoke([&] { host::CallMethod(*child, "Refresh"); });
    }
    resetting_ = false;
    if (count == 0) return;
    const std::int32_t gap = GapTwips();
    const auto gaps = static_cast<std::int32_t>(count) + (border_ ? 1 : -1);
    const double free = AxisExtentNow() - static_cast<double>(gaps) * gap;
    std::int32_t p = BorderGapTwips();
    layoutInitialised_ = false;
    std::size_t shown = 0;
    for (auto& pane : panes_) {
        auto child = pane.child.lock();
        if (!child) continue;
        pane.start = p;
        const bool isShown = !UserMode() || child->Visible();
        if (isShown) ++shown;
        // The last shown pane ends one border gap before the end, whatever the rounding of
        // the others (children snap to whole pixels) left over.
        const std::int32_t even = Rounded(free / static_cast<double>(count));
        const std::int32_t along = isShown && shown == count ? AxisExtentNow() - p - BorderGapTwips() : even;
        if (moveChildren) PlaceChild(*child, p, along);
        pane.size = ChildExtent(*child);
        if (isShown) p += pane.size + gap;
    }
    layoutInitialised_ = true;
    visibleCount_ = count;
    axisExtent_ = AxisExtentNow();
    needsRespread_ = false;
}

// Follows a change of the control's extent: every shown pane but the last scales by the same
// ratio, the last takes what remains.
void SplitWindow::RescalePanes() {
    if (!layoutInitialised_ || !active_ || style_ != SplitterWindow) return;
    const std::int32_t extent = AxisExtentNow();
    if (axisExtent_ <= 0) axisExtent_ = extent;
    if (!Children().empty() && !ChildrenChanged() && ShownPanesEmpty()) {
        // Nothing to scale (a shrink or a spread at a tiny size left every pane empty).
        ResetChildren(true);
    } else if (!Children().empty() && !ChildrenChanged()) {
        const double ratio = static_cast<double>(extent) / static_cast<double>(axisExtent_);
        const std::int32_t gap = GapTwips();
        std::ptrdiff_t last = -1;
        for (std::size_t i = 0; i < panes_.size(); ++i)
            if (PaneShown(panes_[i])) last = static_cast<std::ptrdiff_t>(i);
        std::int32_t p = BorderGapTwips();
        for (std::size_t i = 0; i < panes_.size(); ++i) {
            Pane& pane = panes_[i];
            pane.start = p;
            if (!PaneShown(pane)) continue;
            if (static_cast<std::ptrdiff_t>(i) == last) {
                pane.size = NotNegative(extent - (p + BorderGapTwips()));
                break;
            }
            pane.size = ScaledSize(pane.size, ratio);
            p += pane.size + gap;
        }
        ArrangePanes();
    }
    axisExtent_ = extent;
}

void SplitWindow::ScalePanes(double ratio) {
    if (Children().empty() || !std::isfinite(ratio) || ratio <= 0) return;
    const std::int32_t gap = GapTwips();
    std::int32_t p = BorderGapTwips();
    for (auto& pane : panes_) {
        pane.start = p;
        if (!PaneShown(pane)) continue;
        pane.size = NotNegative(Rounded(pane.size * ratio));
        p += pane.size + gap;
    }
    RescalePanes();
    ArrangePanes();
}

// A pane scaled down keeps at least the minimum pane (unless it had less already), so a
// large shrink and the growth after it leave every pane some room.
std::int32_t SplitWindow::ScaledSize(std::int32_t size, double ratio) const {
    const std::int32_t scaled = NotNegative(Rounded(size * ratio));
    return std::max(scaled, std::min(size, MinimumPaneTwips()));
}

bool SplitWindow::ShownPanesEmpty() const {
    for (const auto& pane : panes_)
        if (PaneShown(pane) && pane.size > 0) return false;
    return true;
}

// Puts every child on its pane. A child that keeps its own length along the axis keeps it:
// the next shown pane starts after it and gives up the difference, so the total stays.
void SplitWindow::ArrangePanes() {
    if (skipArrangeOnce_) {
        skipArrangeOnce_ = false;
        host::DoEvents();
        return;
    }
    if (!active_ || style_ != SplitterWindow || arranging_ || ChildrenChanged()) return;
    arranging_ = true;
    const std::int32_t acrossGap = border_ ? AcrossGapTwips() : 0;
    const std::int32_t acrossSize = NotNegative(AcrossExtentNow() - 2 * acrossGap);
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        Pane& pane = panes_[i];
        auto child = pane.child.lock();
        if (!child) continue;
        const std::int32_t across = vertical_ ? child->Top() : child->Left();
        const std::int32_t acrossNow = vertical_ ? child->Height() : child->Width();
        if (ChildPosition(*child) != pane.start || ChildExtent(*child) != NotNegative(pane.size) ||
            across != acrossGap || acrossNow != acrossSize) {
            PlaceChild(*child, pane.start, pane.size);
            host::TryInvoke([&] { host::CallMethod(*child, "Refresh"); });
        }
        if ((vertical_ ? child->Height() : child->Width()) != acrossSize) layoutInitialised_ = false;
        const std::int32_t d = ChildExtent(*child) - pane.size;
        if (d != 0 && PaneShown(pane)) {
            // A child that snapped to whole pixels is no child that keeps its own size.
            if (std::abs(d) >= AxisTwips(1)) skipArrangeOnce_ = true;
            pane.size += d;
            for (std::size_t j = i + 1; j < panes_.size(); ++j) {
                panes_[j].start += d;
                if (PaneShown(panes_[j])) {
                    panes_[j].size = NotNegative(panes_[j].size - d);
                    break;
                }
            }
        }
    }
    arranging_ = false;
}

// Notices children moved or resized by code since the last pass.
void SplitWindow::SyncPanes() {
    if (!active_ || style_ == ToolBarWindow || splitDragging_) return;
    if (ChildAddresses().empty()) return;
    if (ChildrenChanged()) {
        // A child came or went: the next paint spreads the panes again.
        InvalidateRect(hWnd(), nullptr, FALSE);
        return;
    }
    // One look at each shown child: moved (same extent elsewhere), or the first one resized.
    const bool designer = !UserMode();
    std::optional<std::size_t> resized;
    bool resizedMoved = false;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        auto child = panes_[i].child.lock();
        if (!child || (!designer && !child->Visible())) continue;
        const std::int32_t position = ChildPosition(*child), extent = ChildExtent(*child);
        if (position != panes_[i].start && extent == panes_[i].size) {
            CollectPanes();
            RescalePanes();
            return;
        }
        if (!resized && extent != panes_[i].size) resized = i, resizedMoved = position != panes_[i].start;
    }
    if (panes_.size() < 2 || !resized) return;
    auto child = panes_[*resized].child.lock();
    ResizePane(*resized, ChildExtent(*child), resizedMoved);
    ArrangePanes();
}

// Gives pane i a new length; a shown neighbour absorbs the change: the one before when the
// pane was moved too or is the last, otherwise the one after. The neighbour keeps at least
// the minimum pane (or what it has, when it has less), so no pane turns negative.
void SplitWindow::ResizePane(std::size_t i, std::int32_t newSize, bool moved) {
    newSize = std::max(newSize, MinimumPaneTwips());
    auto shownBefore = [&]() -> std::optional<std::size_t> {
        for (std::size_t j = i; j-- > 0;)
            if (PaneShown(panes_[j])) return j;
        return std::nullopt;
    };
    auto shownAfter = [&]() -> std::optional<std::size_t> {
        for (std::size_t j = i + 1; j < panes_.size(); ++j)
            if (PaneShown(panes_[j])) return j;
        return std::nullopt;
    };
    const auto before = shownBefore(), after = shownAfter();
    const bool useBefore = before && (moved || !after);
    const auto neighbour = useBefore ? before : after;
    if (!neighbour) return;
    Pane& other = panes_[*neighbour];
    std::int32_t d = panes_[i].size - newSize;
    const std::int32_t floor = std::min(other.size, MinimumPaneTwips());
    d = std::max(d, floor - other.size);
    if (useBefore) {
        panes_[i].start += d;
        for (std::size_t j = *neighbour + 1; j < i; ++j) panes_[j].start += d;
    } else {
        for (std::size_t j = i + 1; j <= *neighbour; ++j) panes_[j].start -= d;
    }
    panes_[i].size -= d;
    other.size += d;
}

std::int32_t SplitWindow::PaneSize(std::uint8_t pane) const {
    if (pane >= panes_.size() || !panes_[pane].child.lock()) return 0;
    return panes_[pane].size;
}

void SplitWindow::SetPaneSize(std::uint8_t pane, std::int32_t twips) {
    if (!active_ || style_ != SplitterWindow || pane >= panes_.size() || panes_.size() < 2) return;
    if (!layoutInitialised_ || ChildrenChanged()) return;
    ResizePane(pane, twips, false);
    ArrangePanes();
}

// The host resized the control: the docking steps first, then the panes follow the new
// extent (a child that refuses its size can change the extent again, so this repeats a few
// times until nothing moves).
void SplitWindow::Resize() {
    if (resizeNesting_ > 0) return;
    ++resizeNesting_;
    auto alive = alive_;
    DockResizeSteps();
    if (!*alive) return;
    for (int pass = 0; pass < 4; ++pass) {
        const std::int32_t before = AxisExtentNow();
        RescalePanes();
        if (!*alive) return;
        if (AxisExtentNow() == before) break;
    }
    if (moveJustEnded_) {
        moveJustEnded_ = false;
        host::Control::Refresh();
    }
    if (Align() != host::kAlignNone) ArrangePanes();
    --resizeNesting_;
}

// Spreads the panes again after a change that could not be scaled (see SetGapInPixels).
void SplitWindow::ReSpreadPanes() {
    if (!needsRespread_) return;
    needsRespread_ = false;
    ResetChildren(true);
}

}  // namespace brimlox::controls
