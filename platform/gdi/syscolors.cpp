#include "platform/gdi/syscolors.h"

#include "platform/gdi/brush.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"

namespace brimlox::gdi {

const COLORREF kClassicSysColors[SYSCOLOR_COUNT] = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25, unused by Windows
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

namespace {
COLORREF g_sysColors[SYSCOLOR_COUNT] = {};
bool g_initialised = false;

COLORREF* Table() {
    if (!g_initialised) {
        for (int i = 0; i < SYSCOLOR_COUNT; ++i) g_sysColors[i] = kClassicSysColors[i];
        g_initialised = true;
    }
    return g_sysColors;
}
}  // namespace

void ResetSysColors() {
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) Table()[i] = kClassicSysColors[i];
}

}  // namespace brimlox::gdi

using namespace brimlox::gdi;

DWORD GetSysColor(int index) {
    if (index < 0 || index >= SYSCOLOR_COUNT) return 0;
    return Table()[index];
}

BOOL SetSysColors(int count, const INT* indices, const COLORREF* colors) {
    TraceCall tc("SetSysColors");
    if (count < 0 || (count > 0 && (!indices || !colors))) return tc.Return(FALSE);
    if (tc) tc.Args(count, std::span(indices, static_cast<std::size_t>(count)),
                    std::span(colors, static_cast<std::size_t>(count)));
    for (int i = 0; i < count; ++i)
        if (indices[i] >= 0 && indices[i] < SYSCOLOR_COUNT) Table()[indices[i]] = colors[i] & 0xFFFFFF;
    return tc.Return(TRUE);
}

HRESULT OleTranslateColor(OLE_COLOR color, HPALETTE, COLORREF* result) {
    COLORREF out;
    switch (color >> 24) {
        case 0x80: {
            DWORD index = color & 0xFFFFFF;
            if (index >= static_cast<DWORD>(SYSCOLOR_COUNT)) return E_INVALIDARG;
            out = Table()[index];
            break;
        }
        case 0x00: out = color; break;
        // 0x01 is a palette index and 0x02 a palette-relative RGB: on a true-colour device
        // both stand for their low 24 bits.
        case 0x01: case 0x02: out = color & 0xFFFFFF; break;
        default: return E_INVALIDARG;
    }
    if (result) *result = out;
    return S_OK;
}
