// Background erase that leaves child windows alone: the area is cut into horizontal bands at
// the children's top and bottom edges, and each band is filled between the children crossing
// it. Bands with the same gaps as the one above extend its rectangles, so a column of buttons
// beside a label costs a few fills, not one per band.
#include "platform/host/erase.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

// The visible children's window rectangles inside `area`, in the parent's client coordinates.
// A child with WS_EX_TRANSPARENT shows its parent through and is filled under like no child.
std::vector<RECT> ChildRectsIn(HWND hwnd, const RECT& area) {
    std::vector<RECT> rects;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        RECT inside{};
        if (IntersectRect(&inside, &r, &area)) rects.push_back(inside);
    }
    return rects;
}

// The stretches of [left, right) that no child crossing the band [top, bottom) covers.
std::vector<std::pair<LONG, LONG>> GapsInBand(const std::vector<RECT>& children, LONG top, LONG bottom, LONG left,
                                              LONG right) {
    std::vector<std::pair<LONG, LONG>> covered;
    for (const RECT& c : children)
        if (c.top <= top && c.bottom >= bottom) covered.emplace_back(c.left, c.right);
    std::sort(covered.begin(), covered.end());
    std::vector<std::pair<LONG, LONG>> gaps;
    LONG x = left;
    for (const auto& [from, to] : covered) {
        if (from > x) gaps.emplace_back(x, from);
        x = std::max(x, to);
    }
    if (x < right) gaps.emplace_back(x, right);
    return gaps;
}

}  // namespace

void FillAroundChildWindows(HWND hwnd, HDC dc, const RECT& area, HBRUSH brush) {
    if (IsRectEmpty(&area)) return;
    const std::vector<RECT> children = ChildRectsIn(hwnd, area);
    if (children.empty()) {
        FillRect(dc, &area, brush);
        return;
    }
    std::vector<LONG> edges{area.top, area.bottom};
    for (const RECT& c : children) {
        edges.push_back(c.top);
        edges.push_back(c.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    // Rectangles still growing downwards, one per gap of the band above.
    std::vector<RECT> open;
    std::vector<std::pair<LONG, LONG>> openGaps;
    const auto flush = [&] {
        for (const RECT& r : open) FillRect(dc, &r, brush);
        open.clear();
    };
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const LONG top = edges[i], bottom = edges[i + 1];
        auto gaps = GapsInBand(children, top, bottom, area.left, area.right);
        if (gaps == openGaps) {
            for (RECT& r : open) r.bottom = bottom;
            continue;
        }
        flush();
        for (const auto& [from, to] : gaps) open.push_back(RECT{from, top, to, bottom});
        openGaps = std::move(gaps);
    }
    flush();
}

}  // namespace brimlox::host
