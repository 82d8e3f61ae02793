// DreamBar: tool windows (SplitWindows in the tool-bar style) on the bar are arranged like the
// bands of a tool-bar host: kept inside the margin, overlaps resolved by placing a window right
// of (or below) its neighbour, wrapped to a new row or column when one no longer fits, and the
// whole arrangement packed back towards the margin. A window the user is dragging is never
// moved; the others make room for it.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/dreambar/dreambar.h"
#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

using Band = std::shared_ptr<SplitWindow>;

void Place(SplitWindow& w, std::int32_t left, std::int32_t top) { w.Move(left, top, w.Width(), w.Height()); }

RECT ScreenRect(const SplitWindow& w) {
    RECT r{};
    GetWindowRect(w.hWnd(), &r);
    return r;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT out{};
    return IntersectRect(&out, &a, &b) != 0;
}

}  // namespace

std::vector<std::shared_ptr<SplitWindow>> DreamBar::ToolWindows() const {
    std::vector<Band> bands;
    for (const auto& c : ContainedControls())
        if (auto w = std::dynamic_pointer_cast<SplitWindow>(c); w && w->Style() == ToolBarWindow) bands.push_back(w);
    return bands;
}

void DreamBar::ArrangeToolWindows() {
    const auto children = ContainedControls();
    if (children.empty()) return;
    std::int32_t spreadX = 0, spreadY = 0;
    for (const auto& c : children) {
        spreadX = std::max(spreadX, std::abs(c->Left() - children.front()->Left()));
        spreadY = std::max(spreadY, std::abs(c->Top() - children.front()->Top()));
    }
    auto bands = ToolWindows();
    if (bands.size() < 2) return;
    const bool byTop = spreadX <= spreadY;
    std::stable_sort(bands.begin(), bands.end(),
                     [byTop](const Band& a, const Band& b) { return byTop ? a->Top() < b->Top() : a->Left() < b->Left(); });
    const bool wide = Width() > Height();
    const auto marginX = static_cast<std::int32_t>(std::lround(leading_ * TwipsPerPixelX()));
    const auto marginY = static_cast<std::int32_t>(std::lround(leading_ * TwipsPerPixelY()));
    const auto room = static_cast<std::int32_t>(std::lround(20 * TwipsPerPixelX()));
    for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
        SplitWindow& a = *bands[i];
        if (a.Left() < marginX) Place(a, marginX, a.Top());
        if (a.Top() < marginY) Place(a, a.Left(), marginY);
        const RECT ra = ScreenRect(a);
        for (std::size_t j = i + 1; j < bands.size(); ++j) {
            SplitWindow& b = *bands[j];
            const RECT rb = ScreenRect(b);
            if (!Overlap(ra, rb)) continue;
            if (wide) SeparateInRow(a, b, ra, rb, room);
            else SeparateInColumn(a, b, ra, rb, room);
        }
    }
    PackBands(bands, wide, wide ? marginX : marginY);
}

void DreamBar::SeparateInRow(SplitWindow& a, SplitWindow& b, const RECT& ra, const RECT& rb, std::int32_t room) {
    const long centreA = (ra.top + ra.bottom) / 2, centreB = (rb.top + rb.bottom) / 2;
    if (centreB < ra.top) {
        if (!a.Moving()) Place(a, a.Left(), b.Top() + b.Height());
    } else if (centreA < rb.top) {
        if (!b.Moving()) Place(b, b.Left(), a.Top() + a.Height());
    } else if (!b.Moving()) {
        Place(b, a.Left() + a.Width(), a.Top());
        if (b.Left() + room > Width()) Place(b, a.Left(), a.Top() + a.Height());
    }
}

void DreamBar::SeparateInColumn(SplitWindow& a, SplitWindow& b, const RECT& ra, const RECT& rb, std::int32_t room) {
    const long centreA = (ra.left + ra.right) / 2, centreB = (rb.left + rb.right) / 2;
    if (ra.left > centreB) {
        if (!a.Moving()) Place(a, b.Left() + b.Width(), a.Top());
    } else if (rb.left > centreA) {
        if (!b.Moving()) Place(b, a.Left() + a.Width(), b.Top());
    } else if (!b.Moving()) {
        Place(b, a.Left(), a.Top() + a.Height());
        if (b.Top() + room > Height()) Place(b, a.Left() + a.Width(), a.Top());
    }
}

// The arrangement moves back towards the margin when all of it starts further in than its
// widest (or tallest) window.
void DreamBar::PackBands(const std::vector<std::shared_ptr<SplitWindow>>& bands, bool wide, std::int32_t margin) {
    std::int32_t smallest = 65535, largest = 0;
    for (const auto& w : bands) {
        smallest = std::min(smallest, wide ? w->Left() : w->Top());
        if (!w->Moving()) largest = std::max(largest, wide ? w->Width() : w->Height());
    }
    if (!(margin < smallest && largest < smallest)) return;
    const std::int32_t shift = smallest - margin;
    for (const auto& w : bands) {
        if (!w->Moving()) Place(*w, wide ? w->Left() - shift : w->Left(), wide ? w->Top() : w->Top() - shift);
        w->Refresh();
    }
}

}  // namespace brimlox::controls
