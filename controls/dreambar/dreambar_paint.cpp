// DreamBar: the paint routine. The first paint takes the state a bar was saved in; every paint
// fills the background (the minimise colour while minimised), draws the bevel, and reports
// itself with Initialized (first paint) and Refreshed (every paint).
#include "controls/dreambar/dreambar.h"
#include "foundation/helpers/colour.h"
#include "foundation/painters/bevel.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

RECT ClientOf(HWND hwnd) {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return r;
}

}  // namespace

void DreamBar::Paint() {
    if (painting_) return;
    painting_ = true;
    if (loadedMinimized_) ApplyLoadedState();
    PaintBackground();
    PaintBorder();
    painting_ = false;
    if (!initialised_) {
        initialised_ = true;
        RaiseEvent("Initialized");
    }
    RaiseEvent("Refreshed");
}

void DreamBar::PaintBackground() {
    const RECT client = ClientOf(hWnd());
    const COLORREF colour = foundation::TranslateColor(minimized_ ? minimizeColor_ : BackColor());
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hDC(), &client, brush);
    DeleteObject(brush);
}

void DreamBar::PaintBorder() {
    if (borderStyle_ <= foundation::NoBevel) return;
    foundation::workRect = ClientOf(hWnd());
    foundation::DrawBevel(hDC(), borderStyle_, BF_RECT);
}

}  // namespace brimlox::controls
