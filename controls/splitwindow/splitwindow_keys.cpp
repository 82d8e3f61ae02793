// SplitWindow: the keyboard. An active splitter takes the focus; the arrow keys along its axis
// move one gap (Left/Right between panes side by side, Up/Down between panes stacked), 8 pixels
// a step, 1 with Shift, 32 with Ctrl; Home and End put it at the limits a drag keeps to. Each
// step is applied as the end of a mouse drag is: the same pane arithmetic, the children placed,
// Changed raised. F6 (Shift+F6) chooses the next (previous) gap.
//
//   idle   --move key-->             moving: the panes are remembered, the gap moves
//   moving --move key-->             moving: the gap moves again
//   moving --Escape-->               idle: the remembered panes come back (Changed once more)
//   moving --Enter, F6, a press, focus lost--> idle: the gap stays where it is
//
// While moving, the splitter claims Enter and Escape (WM_GETDLGCODE), so the form's default and
// cancel buttons do not take them. The focus frame (DrawFocusRect) runs round the gap the keys
// move, once the window shows the focus cue.
#include <algorithm>

#include "controls/splitwindow/splitwindow.h"
#include "foundation/helpers/colour.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

constexpr int kStepPixels = 8;
constexpr int kFineStepPixels = 1;    // with Shift
constexpr int kCoarseStepPixels = 32;  // with Ctrl
constexpr int kShiftBit = 1, kCtrlBit = 2;

std::int32_t Rounded(double v) { return static_cast<std::int32_t>(foundation::RoundHalfEven(v)); }

int StepFor(int shift) {
    if (shift & kShiftBit) return kFineStepPixels;
    if (shift & kCtrlBit) return kCoarseStepPixels;
    return kStepPixels;
}

}  // namespace

bool SplitWindow::TakesFocus() const { return active_ && style_ == SplitterWindow; }

LRESULT SplitWindow::DialogCode(int keyCode) const {
    const bool ends = keyCode == VK_ESCAPE || keyCode == VK_RETURN;
    return DLGC_WANTARROWS | (keyMoveStart_ && ends ? DLGC_WANTMESSAGE : 0);
}

void SplitWindow::KeyDown(int keyCode, int shift, bool repeat) {
    (void)repeat;  // a held key keeps moving the gap
    if (!TakesFocus() || splitDragging_) return;
    const int back = vertical_ ? VK_LEFT : VK_UP, forth = vertical_ ? VK_RIGHT : VK_DOWN;
    if (keyCode == back || keyCode == forth) {
        StepKeyGap(keyCode == back ? -StepFor(shift) : StepFor(shift));
    } else if (keyCode == VK_HOME || keyCode == VK_END) {
        if (auto gap = KeyGap()) {
            const GapSpan span = SpanOf(*gap);
            MoveKeyGapTo(keyCode == VK_HOME ? span.lower : span.upper);
        }
    } else if (keyCode == VK_ESCAPE) {
        EndKeyMove(true);
    } else if (keyCode == VK_RETURN) {
        EndKeyMove(false);
    } else if (keyCode == VK_F6) {
        EndKeyMove(false);
        SelectNextGap((shift & kShiftBit) == 0);
    }
}

void SplitWindow::GotFocus() {
    if (host::ShowsFocusRect(*this)) host::Control::Refresh();
}

void SplitWindow::LostFocus() {
    EndKeyMove(false);
    if (hWnd() && !(SendMessageA(hWnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) host::Control::Refresh();
}

void SplitWindow::FocusCueChanged() { host::Control::Refresh(); }

// The gaps that can be moved: each shown pane after the first shown one names the gap before it.
std::vector<std::size_t> SplitWindow::ShownGaps() const {
    std::vector<std::size_t> gaps;
    bool first = true;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (!PaneShown(panes_[i])) continue;
        if (!first) gaps.push_back(i);
        first = false;
    }
    return gaps;
}

std::optional<std::size_t> SplitWindow::KeyGap() const {
    if (style_ != SplitterWindow) return std::nullopt;
    const auto gaps = ShownGaps();
    if (gaps.empty()) return std::nullopt;
    return std::ranges::find(gaps, keyGap_) != gaps.end() ? keyGap_ : gaps.front();
}

// Pixels from the control's leading edge, rounded as the drag rounds its screen positions: the
// gap starts where the pane before it ends, and stays the held minimum pane away from the far
// ends of both panes.
SplitWindow::GapSpan SplitWindow::SpanOf(std::size_t after) const {
    GapSpan span;
    span.after = after;
    span.before = after;
    while (span.before-- > 0 && !PaneShown(panes_[span.before])) {}
    const Pane& b = panes_[span.before];
    const Pane& a = panes_[after];
    span.pos = Rounded(AxisPixels(static_cast<double>(b.start) + b.size));
    span.lower = Rounded(AxisPixels(b.start)) + minimumPaneHeld_;
    span.upper = Rounded(AxisPixels(static_cast<double>(a.start) + a.size)) - minimumPaneHeld_;
    if (span.lower > span.upper) span.lower = span.upper = span.pos;
    return span;
}

void SplitWindow::StepKeyGap(int pixels) {
    auto gap = KeyGap();
    if (!gap) return;
    const GapSpan span = SpanOf(*gap);
    int target = std::clamp(span.pos + pixels, span.lower, span.upper);
    // A gap already beyond a limit is not pulled back the other way by a step.
    if ((pixels < 0 && target > span.pos) || (pixels > 0 && target < span.pos)) target = span.pos;
    MoveKeyGapTo(target);
}

void SplitWindow::MoveKeyGapTo(int target) {
    auto gap = KeyGap();
    if (!gap) return;
    const GapSpan span = SpanOf(*gap);
    if (target == span.pos) return;
    if (!keyMoveStart_) keyMoveStart_ = Panes();
    keyGap_ = *gap;
    auto alive = alive_;
    const double tpp = vertical_ ? TwipsPerPixelX() : TwipsPerPixelY();
    MoveGap(span.before, span.after, Rounded((target - span.pos) * tpp));
    if (*alive) RepaintFocus();
}

void SplitWindow::SelectNextGap(bool forward) {
    const auto gaps = ShownGaps();
    auto current = KeyGap();
    if (gaps.size() < 2 || !current) return;
    const auto at = static_cast<std::size_t>(std::ranges::find(gaps, *current) - gaps.begin());
    keyGap_ = gaps[(at + (forward ? 1 : gaps.size() - 1)) % gaps.size()];
    RepaintFocus();
}

// Ends a move made with the keys; with `restore` the panes go back to where they were when it
// began (when the same panes are still there) and Changed reports it.
void SplitWindow::EndKeyMove(bool restore) {
    if (!keyMoveStart_) return;
    const std::vector<PaneInfo> start = std::move(*keyMoveStart_);
    keyMoveStart_.reset();
    if (!restore || start.size() != panes_.size()) return;
    bool moved = false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        moved |= panes_[i].start != start[i].start || panes_[i].size != start[i].size;
        panes_[i].start = start[i].start;
        panes_[i].size = start[i].size;
    }
    if (!moved) return;
    layoutInitialised_ = true;
    auto alive = alive_;
    ArrangePanes();
    if (!*alive) return;
    RaiseChanged();
    if (*alive) RepaintFocus();
}

void SplitWindow::RepaintFocus() {
    if (host::ShowsFocusRect(*this)) host::Control::Refresh();
}

// Round the gap the keys move, from one child's edge to the other's and across the children's
// extent; a gap thinner than two pixels gets a frame two pixels wide. A splitter with a single
// pane frames its inside.
void SplitWindow::DrawFocusFrame() {
    if (!host::ShowsFocusRect(*this)) return;
    RECT client{};
    GetClientRect(hWnd(), &client);
    RECT frame = client;
    InflateRect(&frame, -3, -3);
    if (auto gap = KeyGap()) {
        const Pane& a = panes_[*gap];
        int from = SpanOf(*gap).pos;
        int to = std::max(Rounded(AxisPixels(a.start)), from + 2);
        const int across = border_ ? gapInPixels_ : 0;
        frame = vertical_ ? RECT{from, across, to, client.bottom - across}
                          : RECT{across, from, client.right - across, to};
    }
    if (frame.right - frame.left < 2 || frame.bottom - frame.top < 2) return;
    DrawFocusRect(hDC(), &frame);
}

}  // namespace brimlox::controls
