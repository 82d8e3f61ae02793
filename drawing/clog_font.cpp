// CLogFont: the copied font, the angle, and the LOGFONT record behind the handle.
#include "drawing/clog_font.h"

#include <algorithm>
#include <cmath>

#include "foundation/helpers/colour.h"
#include "platform/gdi/text.h"
#include "platform/user/user.h"

namespace brimlox::drawing {

namespace {

// The largest character height the record asks for, in pixels; far beyond any screen, and far
// inside the 32-bit field.
constexpr double kMaxHeight = 16384.0;

// The angle reduced to -360 < a < 360; NaN and infinities give 0.
double ReducedAngle(double degrees) {
    if (!std::isfinite(degrees)) return 0.0;
    return std::fmod(degrees, 360.0);
}

// The point size as the font object keeps it: four decimals.
double FourDecimals(double size) { return std::isfinite(size) ? std::round(size * 10000.0) / 10000.0 : 0.0; }

}  // namespace

CLogFont::~CLogFont() { DeleteHandle(); }

std::int32_t CLogFont::HandleValue() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle_)));
}

void CLogFont::SetLogFont(const std::shared_ptr<host::StdFont>& font) {
    DeleteHandle();
    if (!font) {
        font_.reset();
        return;
    }
    auto copy = std::make_shared<host::StdFont>();
    copy->SetBold(font->Bold());
    copy->SetCharset(font->Charset());
    copy->SetItalic(font->Italic());
    copy->SetName(font->Name());
    copy->SetSize(font->Size());
    copy->SetStrikethrough(font->Strikethrough());
    copy->SetUnderline(font->Underline());
    copy->SetWeight(font->Weight());
    font_ = std::move(copy);
    // The screen's resolution is read with the font: a turn of the same font only changes the
    // angle, so it costs no more than making the font.
    dpiY_ = ScreenDpiY();
    CreateHandle();
}

void CLogFont::SetRotation(float degrees) {
    // Not a number would differ from itself at every assignment and make a new handle each time.
    if (std::isnan(degrees)) degrees = 0.0f;
    if (degrees == rotation_) return;
    rotation_ = degrees;
    DeleteHandle();
    if (font_) CreateHandle();
}

void CLogFont::DeleteHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

LOGFONTA CLogFont::MakeRecord(const host::StdFont& font, float rotation, int dpiY) {
    LOGFONTA lf{};
    double height = -(FourDecimals(font.Size()) * dpiY) / 72.0;
    lf.lfHeight = foundation::RoundHalfEven(std::clamp(height, -kMaxHeight, kMaxHeight));
    lf.lfWidth = 0;
    double angle = ReducedAngle(rotation);
    lf.lfEscapement = lf.lfOrientation = foundation::RoundHalfEven(angle * 10.0);
    bool turned = foundation::RoundHalfEven(angle) % 360 != 0;
    lf.lfWeight = font.Weight();
    lf.lfItalic = font.Italic() ? 1 : 0;
    lf.lfUnderline = font.Underline() ? 1 : 0;
    lf.lfStrikeOut = font.Strikethrough() ? 1 : 0;
    int charset = font.Charset();
    lf.lfCharSet = static_cast<BYTE>(turned && charset > 254 ? 0 : charset);
    lf.lfOutPrecision = turned ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = 0;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = 0;
    std::string name = font.Name();
    std::size_t n = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
    std::copy_n(name.begin(), n, lf.lfFaceName);
    lf.lfFaceName[n] = '\0';
    return lf;
}

// A memory DC compatible with the screen gives the screen's vertical resolution. It is made
// without taking the screen's DC: handing that out while windows repaint brings their pixels
// to the screen first, and releasing a window's DC composes, for a DC that only answers a
// question.
int CLogFont::ScreenDpiY() {
    HDC dc = CreateCompatibleDC(nullptr);
    int dpiY = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) DeleteDC(dc);
    return dpiY;
}

void CLogFont::CreateHandle() {
    LOGFONTA lf = MakeRecord(*font_, rotation_, dpiY_);
    handle_ = CreateFontIndirectA(&lf);
}

}  // namespace brimlox::drawing
