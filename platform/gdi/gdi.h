// The drawing half of the Windows API as this platform provides it. Calls, arguments, return
// values and failure results are those of Windows GDI; each function is implemented in the
// file named after its object kind (dc, bitmap, pen, brush, shapes, blit, edge ...).
#pragma once

#include <string>

#include "platform/gdi/wintypes.h"

// ---- Objects ---------------------------------------------------------------------------------
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
WINBOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, void* buffer);
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);

// ---- Device contexts -----------------------------------------------------------------------
HDC CreateCompatibleDC(HDC hdc);
WINBOOL DeleteDC(HDC hdc);
int GetDeviceCaps(HDC hdc, int index);
// The bounding box of what the DC may draw on, in logical units: SIMPLEREGION, NULLREGION when
// nothing can be drawn, RGN_ERROR for a bad DC or rectangle pointer.
int GetClipBox(HDC hdc, LPRECT rect);
int SetROP2(HDC hdc, int rop2);
int GetROP2(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
WINBOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous);
WINBOOL GetCurrentPositionEx(HDC hdc, LPPOINT position);
WINBOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous);
COLORREF SetDCBrushColor(HDC hdc, COLORREF color);
COLORREF SetDCPenColor(HDC hdc, COLORREF color);

// ---- Bitmaps --------------------------------------------------------------------------------
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);

// ---- Pens and brushes -------------------------------------------------------------------------
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH GetSysColorBrush(int index);

// ---- Fills, shapes and lines ------------------------------------------------------------------
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
WINBOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
WINBOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
WINBOOL Polygon(HDC hdc, const POINT* points, int count);
WINBOOL Polyline(HDC hdc, const POINT* points, int count);
WINBOOL LineTo(HDC hdc, int x, int y);
WINBOOL BeginPath(HDC hdc);
WINBOOL EndPath(HDC hdc);
WINBOOL AbortPath(HDC hdc);
WINBOOL CloseFigure(HDC hdc);
WINBOOL StrokePath(HDC hdc);
WINBOOL FillPath(HDC hdc);
WINBOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags);

// ---- Blits -------------------------------------------------------------------------------------
WINBOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
WINBOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop);
// Copies (stretching like COLORONCOLOR when the sizes differ) every source pixel except those
// of the colour `transparent`, which leave the destination unchanged.
WINBOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                       int srcHeight, UINT transparent);

// ---- Rectangles ---------------------------------------------------------------------------------
WINBOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
WINBOOL SetRectEmpty(LPRECT rect);
WINBOOL CopyRect(LPRECT dest, const RECT* src);
WINBOOL InflateRect(LPRECT rect, int dx, int dy);
WINBOOL OffsetRect(LPRECT rect, int dx, int dy);
WINBOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b);
WINBOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b);
WINBOOL IsRectEmpty(const RECT* rect);
WINBOOL PtInRect(const RECT* rect, POINT point);
WINBOOL EqualRect(const RECT* a, const RECT* b);

// ---- Colours ----------------------------------------------------------------------------------
DWORD GetSysColor(int index);
WINBOOL SetSysColors(int count, const INT* indices, const COLORREF* colors);
HRESULT OleTranslateColor(OLE_COLOR color, HPALETTE palette, COLORREF* result);
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

// ---- Platform settings and output (not Windows calls) -------------------------------------------
namespace brimlox::gdi {
// Twips per screen pixel (15 gives 96 dots per inch). Any positive value works.
void SetTwipsPerPixel(int twips);
int TwipsPerPixel();
// Writes what a DC draws on, or a bitmap, to a PNG file. Returns false with a message in
// *error when the handle is bad or the file cannot be written.
bool WritePng(HDC hdc, const std::string& path, std::string* error = nullptr);
bool WritePng(HBITMAP bitmap, const std::string& path, std::string* error = nullptr);
}  // namespace brimlox::gdi
#include "platform/gdi/text.h"
