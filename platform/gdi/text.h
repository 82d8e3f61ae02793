// The text half of GDI and USER as this platform provides it: fonts are matched through
// fontconfig and drawn by FreeType (platform/gdi/text/), monochrome unless a caller asks for
// anything else. Calls, flags, return values and failure results are those of Windows.
#pragma once

#include "platform/gdi/wintypes.h"

// ---- LOGFONT values ------------------------------------------------------------------------
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;

// ---- Text alignment (SetTextAlign) -----------------------------------------------------------
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// ---- ExtTextOut options ----------------------------------------------------------------------
constexpr UINT ETO_GRAYED = 0x0001;
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// ---- DrawText formats ------------------------------------------------------------------------
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// ---- SystemParametersInfo --------------------------------------------------------------------
constexpr UINT SPI_GETICONTITLELOGFONT = 31;
constexpr UINT SPI_GETNONCLIENTMETRICS = 41;
constexpr UINT SPI_GETGRADIENTCAPTIONS = 0x1008;

// The published 340-byte ANSI layout (cbSize 340, before the padded-border field).
struct NONCLIENTMETRICSA {
    UINT cbSize = 0;
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONTA lfCaptionFont;
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONTA lfSmCaptionFont;
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONTA lfMenuFont;
    LOGFONTA lfStatusFont;
    LOGFONTA lfMessageFont;
};
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "NONCLIENTMETRICSA must keep its published layout");

using GRAYSTRINGPROC = WINBOOL (*)(HDC hdc, LPARAM data, int count);

// ---- Calls -------------------------------------------------------------------------------------
HFONT CreateFontIndirectA(const LOGFONTA* logFont);
WINBOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count);
WINBOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx);
int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format);
WINBOOL GrayStringA(HDC hdc, HBRUSH brush, GRAYSTRINGPROC output, LPARAM data, int count, int x, int y,
                 int width, int height);
WINBOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size);
WINBOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics);
UINT GetTextAlign(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);
WINBOOL SystemParametersInfoA(UINT action, UINT param, void* data, UINT winIni);
