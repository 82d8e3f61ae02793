// GetSystemMetrics: screen, frame, caption, button, icon and tracking sizes. Caption and
// button sizes follow the non-client metrics of SystemParametersInfoA, so a host at another
// scale gets captions to match its caption font; the border sizes are the classic fixed ones.
#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/gdi/sysparams.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"

using namespace brimlox::user;

int GetSystemMetrics(int index) {
    const auto& s = brimlox::desktop::Desktop::Instance().Settings();
    const NONCLIENTMETRICSA m = brimlox::gdi::SystemNonClientMetrics();
    switch (index) {
        case SM_CXSCREEN: return s.width;
        case SM_CYSCREEN: return s.height;
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        case SM_CXEDGE:
        case SM_CYEDGE: return 2;
        // The caption heights count the line under the caption bar.
        case SM_CYCAPTION: return m.iCaptionHeight + 1;
        case SM_CYSMCAPTION: return m.iSmCaptionHeight + 1;
        case SM_CXSIZE: return m.iCaptionWidth;
        case SM_CYSIZE: return m.iCaptionHeight;
        case SM_CXSMSIZE: return m.iSmCaptionWidth;
        case SM_CYSMSIZE: return m.iSmCaptionHeight;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME:
        case SM_CYFRAME: return 3 + m.iBorderWidth;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR: return 32;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK: return 4;
        case SM_CXDRAG:
        case SM_CYDRAG: return 4;
        // The smallest window that still shows its caption buttons and a little caption text.
        case SM_CXMIN:
        case SM_CXMINTRACK: return 112;
        case SM_CYMIN:
        case SM_CYMINTRACK: return m.iCaptionHeight + 1 + 2 * (3 + m.iBorderWidth);
        case SM_CXMINIMIZED: return 160;
        case SM_CYMINIMIZED: return 24;
        // A maximised window fills the work area with its sizing border beyond it.
        case SM_CXMAXIMIZED: {
            RECT work = WorkArea();
            return work.right - work.left + 2 * (3 + m.iBorderWidth);
        }
        case SM_CYMAXIMIZED: {
            RECT work = WorkArea();
            return work.bottom - work.top + 2 * (3 + m.iBorderWidth);
        }
        default: return 0;
    }
}
