// TrayIcon: the designer look (a flat outline round the box, the icon drawn by the surface as
// its picture) and the fixed size. At run time nothing is drawn.
#include "controls/trayicon/trayicon.h"
#include "foundation/painters/bevel.h"
#include "platform/user/user.h"

namespace brimlox::controls {

void TrayIcon::Paint() {
    if (Ambient().UserMode || !hWnd()) return;
    GetClientRect(hWnd(), &foundation::workRect);
    foundation::DrawBevel(hDC(), foundation::FlatOutline, BF_RECT);
}

// The size is set only when it differs: setting it raises Resize again.
void TrayIcon::Resize() {
    if (Width() != kSideTwips || Height() != kSideTwips) Move(Left(), Top(), kSideTwips, kSideTwips);
}

}  // namespace brimlox::controls
