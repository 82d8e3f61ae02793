// HiddenBuffer: an off-screen drawing surface (a memory DC over a bitmap compatible with a
// window's DC) that a program attaches to that DC, draws into with a small set of pen, fill,
// text and picture operations, and copies to the window in one step with Show, so the window
// is repainted without flicker.
//
// The buffer owns its memory DC and bitmap and frees both when it is resized, when surface
// creation fails half-way (it then reports itself detached) and when it is destroyed.
// Colours are OLE colours (system colours included). Drawing on a detached buffer does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/gdi/gdi.h"
#include "platform/host/font.h"
#include "platform/host/picture.h"
#include "platform/host/variant.h"

namespace brimlox::drawing {

// Pen types, end caps and joins: the Windows pen-style bits.
enum ExtPenTypes : std::int32_t { CosmeticPen = 0, GeometricPen = 65536 };
enum ExtPenEndCaps : std::int32_t { RoundCap = 0, SquareCap = 256, FlatCap = 512 };
enum ExtPenJoins : std::int32_t { RoundJoin = 0, BevelJoin = 4096, MiterJoin = 8192 };
// DrawLine's Box argument: a line (0), an outlined box (B) or a filled box (BF).
enum bbBoxConstants : std::int32_t { B = 1, BF = 2 };

// The host's draw styles (DrawStyle); 5 draws nothing.
constexpr std::int32_t kDrawStyleInvisible = 5;
// The OLE colours the buffer uses by default.
constexpr std::uint32_t kButtonFaceColour = 0x8000000F;
constexpr std::uint32_t kWindowTextColour = 0x80000008;

class HiddenBuffer : public host::Dispatch {
public:
    HiddenBuffer() = default;
    ~HiddenBuffer() override;
    HiddenBuffer(const HiddenBuffer&) = delete;
    HiddenBuffer& operator=(const HiddenBuffer&) = delete;

    std::string TypeName() const override { return "HiddenBuffer"; }
    const host::TypeInfo* GetTypeInfo() const override;

    // ---- The surface ---------------------------------------------------------------------------
    // Remembers the target DC and makes a surface of the given size for it; returns 0.
    std::int32_t Attach(HDC ctrlhDC, std::int32_t ctrlWidth, std::int32_t ctrlHeight);
    bool Attached() const { return hDC_ != nullptr; }
    HDC hDC() const { return hDC_; }
    std::int32_t hDCValue() const;
    HDC TargetDC() const { return targetDC_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // Replaces the surface by a new one of the given size, cleared to the button face.
    void Resize(std::int32_t newWidth, std::int32_t newHeight);
    // Copies the whole buffer to the target DC at its origin.
    void Show();

    // ---- Pen, fill and text settings --------------------------------------------------------
    std::int32_t DrawStyle() const { return drawStyle_; }
    void SetDrawStyle(std::int32_t v) { drawStyle_ = v; }
    std::int32_t DrawMode() const { return drawMode_; }
    void SetDrawMode(std::int32_t v) { drawMode_ = v; }
    std::int32_t PenType() const { return penType_; }
    void SetPenType(std::int32_t v) { penType_ = v; }
    std::int32_t LineEndCap() const { return lineEndCap_; }
    void SetLineEndCap(std::int32_t v) { lineEndCap_ = v; }
    std::int32_t LineJoin() const { return lineJoin_; }
    void SetLineJoin(std::int32_t v) { lineJoin_ = v; }
    std::int16_t DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(std::int16_t v) { drawWidth_ = v < 1 ? std::int16_t{1} : v; }
    std::uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(std::uint32_t colour);
    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t colour);
    std::shared_ptr<host::StdFont> TextFont() const { return textFont_; }
    // Selects the font's handle into the buffer; no font leaves the selection as it is.
    void SetTextFont(std::shared_ptr<host::StdFont> font);

    // ---- Drawing -------------------------------------------------------------------------------
    // Fills the whole buffer; no colour, or 0, means the button face.
    void Clear(std::uint32_t backColour = 0);
    // A line (Box 0), an outlined box (B) or a filled box (BF or any other value).
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                  std::uint32_t lineColour = kWindowTextColour, std::int32_t box = 0);
    // Text clipped to the rectangle, which is filled with the back colour first; alignment 0
    // left, 1 right, 2 centred, anything else keeps the DC's alignment. Draw3D frames the
    // rectangle with highlight and shadow lines and fills it with the button face.
    void DrawTextRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::string_view text,
                      bool draw3D = false, bool textEnabled = true, std::int32_t textAlignment = 3);
    // Copies the picture, unscaled, into the rectangle; no picture draws nothing.
    void DrawPicture(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     const std::shared_ptr<host::StdPicture>& picture);

private:
    void ReleaseSurface();
    bool CreateSurface();
    HPEN CreateLinePen(COLORREF colour) const;
    void StrokeLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, COLORREF colour);
    void FillBox(const RECT& box, COLORREF colour) const;
    void DrawFrame3D(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    HDC targetDC_ = nullptr;
    HDC hDC_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t drawStyle_ = 0;
    std::int32_t drawMode_ = 13;  // R2_COPYPEN
    std::int32_t penType_ = CosmeticPen;
    std::int32_t lineEndCap_ = RoundCap;
    std::int32_t lineJoin_ = RoundJoin;
    std::int16_t drawWidth_ = 1;
    std::shared_ptr<host::StdFont> textFont_;
    std::uint32_t foreColor_ = 0;
    std::uint32_t backColor_ = 0;
};

// The 32-bit handle value the host hands out for a DC, and back.
std::int32_t HandleValue(HDC dc);
HDC DcFromValue(std::int32_t value);

}  // namespace brimlox::drawing
