// CLogFont: turns a font object into a GDI font drawn at an angle. The caller assigns a font
// (the object keeps its own copy) and a rotation in degrees counter-clockwise, and reads
// Handle: a logical font it can select into any DC, a HiddenBuffer's included, to draw
// rotated text. The object owns the handle and makes it again whenever the font or the angle
// changes.
//
// The record follows the screen: the height is the point size at the screen's vertical dots
// per inch, read when the font is assigned. Fonts at an angle ask for outline faces (bitmap faces cannot turn), and a
// character set above 254 falls back to ANSI there. Out-of-range input is made safe: the
// angle is taken modulo 360 (NaN as 0), the height is clamped, and the face name is cut to
// the 31 characters the record holds.
#pragma once

#include <memory>

#include "platform/gdi/gdi.h"
#include "platform/host/font.h"
#include "platform/host/variant.h"

namespace brimlox::drawing {

class CLogFont : public host::Dispatch {
public:
    CLogFont() = default;
    ~CLogFont() override;
    CLogFont(const CLogFont&) = delete;
    CLogFont& operator=(const CLogFont&) = delete;

    std::string TypeName() const override { return "CLogFont"; }
    const host::TypeInfo* GetTypeInfo() const override;

    // The private copy (not the object assigned), or none.
    std::shared_ptr<host::StdFont> LogFont() const { return font_; }
    // Copies the font and makes the handle; no font leaves no handle.
    void SetLogFont(const std::shared_ptr<host::StdFont>& font);
    float Rotation() const { return rotation_; }
    // A new angle makes the handle again; the current one changes nothing.
    void SetRotation(float degrees);
    // The current logical font; nullptr when there is none.
    HFONT Handle() const { return handle_; }
    std::int32_t HandleValue() const;

    // The record a font and an angle give at a screen of `dpiY` dots per inch.
    static LOGFONTA MakeRecord(const host::StdFont& font, float rotation, int dpiY);

private:
    static int ScreenDpiY();
    void DeleteHandle();
    void CreateHandle();

    std::shared_ptr<host::StdFont> font_;
    HFONT handle_ = nullptr;
    float rotation_ = 0;
    int dpiY_ = 96;  // the screen's dots per inch when the font was assigned
};

}  // namespace brimlox::drawing
