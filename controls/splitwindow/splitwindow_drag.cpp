// SplitWindow: finding the gap under the mouse and dragging it. The drag is a modal loop run
// inside the press handler: it holds the mouse capture, shows the new boundary as a dark line
// XOR-drawn on the screen's DC (drawing the same line again erases it), and pumps every other
// message of the thread, so other windows keep painting and timers keep ticking.
//
// Drag loop states:
//   tracking  --move-->            erase the line, draw it at the clamped position
//   tracking  --Esc / right press--> erase the line; cancelled (moves are ignored)
//   cancelled --Esc / right press--> nothing (no line is drawn, so none is erased)
//   tracking  --left release-->    erase the line; accepted with the displacement
//   cancelled --left release-->    not accepted
//   any       --capture lost, quit--> erase a drawn line; not accepted
// Every other message is dispatched with the line taken off the screen, so windows that
// repaint meanwhile never leave part of it behind.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "foundation/helpers/colour.h"
#include "menus/popup_menu.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

constexpr int kTrackLinePixels = 4;  // at 15 twips per pixel
constexpr double kBaseTwipsPerPixel = 15.0;
constexpr int kLargestCoordinate = 65000;  // a 16-bit position above this is a negative one

std::int32_t Rounded(double v) { return static_cast<std::int32_t>(foundation::RoundHalfEven(v)); }

// The position a mouse message carries along one axis, unsigned as the drag reads it.
int MessagePosition(LPARAM lParam, bool horizontal) {
    const auto raw = static_cast<unsigned>(horizontal ? LOWORD(lParam) : HIWORD(lParam));
    return raw > static_cast<unsigned>(kLargestCoordinate) ? 0 : static_cast<int>(raw);
}

}  // namespace

std::optional<std::size_t> SplitWindow::GapAt(float x, float y) const { return HitTestSplitter(x, y); }

// The gap under a point of the control (twips): the index of the pane after it. The border
// gap before the first pane and anything past the last pane are no gap; hidden panes take
// no room and are passed over.
std::optional<std::size_t> SplitWindow::HitTestSplitter(float x, float y) const {
    if (menus::Popup().menuShowing || style_ != SplitterWindow) return std::nullopt;
    const double pos = std::round(vertical_ ? x : y);
    bool first = true;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        const Pane& pane = panes_[i];
        if (!PaneShown(pane)) continue;
        if (pane.start < pos && pos < static_cast<double>(pane.start) + pane.size) return std::nullopt;
        if (pane.start >= pos) {
            if (first) return std::nullopt;
            return i;
        }
        first = false;
    }
    return std::nullopt;
}

// A left press on a gap: drag it between the limits that keep both panes at least the held
// minimum pane (which counts one gap) from their far ends. Panes too narrow for both limits
// leave the gap where it is.
bool SplitWindow::StartSplitterDrag(float x, float y) {
    const auto gap = HitTestSplitter(x, y);
    if (!gap) return false;
    std::size_t before = *gap;
    while (before-- > 0 && !PaneShown(panes_[before])) {}
    const std::size_t after = *gap;
    HWND window = hWnd();
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT client{};
    GetClientRect(window, &client);
    const bool along = vertical_;
    const double tpp = along ? TwipsPerPixelX() : TwipsPerPixelY();
    const int base = along ? origin.x : origin.y;
    auto screen = [&](double twips) { return base + Rounded(twips / tpp); };
    const int press = screen(along ? x : y);
    int lower = screen(panes_[before].start) + minimumPaneHeld_;
    int upper = screen(static_cast<double>(panes_[after].start) + panes_[after].size) - minimumPaneHeld_;
    if (lower > upper) lower = upper = press;
    splitDragging_ = true;
    auto alive = alive_;
    // A press ends a move made with the keys where it stands; the gap pressed is the one the
    // keys move from now on.
    EndKeyMove(false);
    keyGap_ = after;
    const TrackResult result = along
        ? TrackSplitterV(window, press, origin.y, origin.y + client.bottom, lower, upper)
        : TrackSplitterH(window, press, origin.x, origin.x + client.right, lower, upper);
    if (!*alive) return true;
    splitDragging_ = false;
    if (!result.accepted || result.displacement == 0) return true;
    MoveGap(before, after, Rounded(result.displacement * tpp));
    return true;
}

// Moves the gap between two shown panes by d twips (panes hidden between them move along), then
// places the children and raises Changed: the end of a drag, and each step of the keys.
void SplitWindow::MoveGap(std::size_t before, std::size_t after, std::int32_t d) {
    for (std::size_t j = before + 1; j <= after; ++j) panes_[j].start += d;
    panes_[after].size -= d;
    panes_[before].size += d;
    layoutInitialised_ = true;
    ArrangePanes();
    RaiseChanged();
}

SplitWindow::TrackResult SplitWindow::TrackSplitterV(HWND window, int x0, int top, int bottom, int min, int max) {
    return TrackSplitter(window, true, x0, top, bottom, min, max);
}

SplitWindow::TrackResult SplitWindow::TrackSplitterH(HWND window, int y0, int left, int right, int min, int max) {
    return TrackSplitter(window, false, y0, left, right, min, max);
}

// `vertical`: the line is vertical at x = p, from (p, from) to (p, to); otherwise horizontal at
// y = p, from (from, p) to (to, p).
SplitWindow::TrackResult SplitWindow::TrackSplitter(HWND window, bool vertical, int p0, int from, int to, int min,
                                                    int max) {
    int current = p0;
    bool drawn = false, cancelled = false;
    auto line = [&](int p) {
        if (vertical) DrawTrackLine(p, from, p, to);
        else DrawTrackLine(from, p, to, p);
        drawn = !drawn;
    };
    SetCapture(window);
    line(current);
    TrackResult result;
    MSG msg{};
    while (user::GetModalMessage(&msg)) {
        if (GetCapture() != window) break;
        if (msg.message == WM_MOUSEMOVE) {
            if (cancelled) continue;
            POINT pt{MessagePosition(msg.lParam, true), MessagePosition(msg.lParam, false)};
            ClientToScreen(msg.hwnd ? msg.hwnd : window, &pt);
            if (drawn) line(current);
            current = std::clamp(static_cast<int>(vertical ? pt.x : pt.y), min, std::max(min, max));
            line(current);
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
            if (drawn) line(current);
            cancelled = true;
        } else if (msg.message == WM_KEYDOWN) {
            // Other keys do nothing during a drag.
        } else if (msg.message == WM_LBUTTONUP) {
            result.accepted = !cancelled;
            if (result.accepted) result.displacement = current - p0;
            break;
        } else {
            // Another window may repaint under the line while the message runs: the line is
            // taken off first and put back after, so the screen never keeps a stale half of it.
            const bool shown = drawn;
            if (shown) line(current);
            DispatchMessageA(&msg);
            if (shown && !drawn) line(current);
        }
    }
    if (drawn) line(current);
    if (GetCapture() == window) ReleaseCapture();
    return result;
}

int SplitWindow::TrackLineWidth() const {
    return std::max(1, Rounded(kTrackLinePixels * kBaseTwipsPerPixel / TwipsPerPixelX()));
}

void SplitWindow::DrawTrackLine(int x1, int y1, int x2, int y2) const {
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    HPEN pen = CreatePen(PS_SOLID, TrackLineWidth(), RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(screen, pen);
    const int oldRop = SetROP2(screen, R2_NOTXORPEN);
    MoveToEx(screen, x1, y1, nullptr);
    LineTo(screen, x2, y2);
    SetROP2(screen, oldRop);
    SelectObject(screen, old);
    DeleteObject(pen);
    ReleaseDC(nullptr, screen);
}

}  // namespace brimlox::controls
