// SystemParametersInfoA over one table of metrics and fonts (the classic Windows scheme at
// 96 dots per inch: 8-point Tahoma everywhere, bold in captions). Lengths scale with the
// host's twips per pixel, so a host at 120 or 144 dots per inch gets larger fonts and bars.
#include "platform/gdi/sysparams.h"

#include <array>
#include <cmath>
#include <cstring>

#include "platform/gdi/gdi.h"

namespace brimlox::gdi {

namespace {

struct FontEntry {
    const char* face;
    int points;
    LONG weight;
};

// Indexed by SystemFont.
constexpr std::array<FontEntry, 6> kFonts{{
    {"Tahoma", 8, FW_NORMAL},  // icon title
    {"Tahoma", 8, FW_BOLD},    // caption
    {"Tahoma", 8, FW_BOLD},    // small caption
    {"Tahoma", 8, FW_NORMAL},  // menu
    {"Tahoma", 8, FW_NORMAL},  // status
    {"Tahoma", 8, FW_NORMAL},  // message
}};

// Non-client sizes in pixels at 96 dots per inch.
constexpr int kBorderWidth = 1;
constexpr int kScrollWidth = 16;
constexpr int kScrollHeight = 16;
constexpr int kCaptionWidth = 18;
constexpr int kCaptionHeight = 18;
constexpr int kSmCaptionWidth = 12;
constexpr int kSmCaptionHeight = 15;
constexpr int kMenuWidth = 18;
constexpr int kMenuHeight = 18;

int Dpi() { return std::max(1, (1440 + TwipsPerPixel() / 2) / TwipsPerPixel()); }

}  // namespace

int ScaleFrom96Dpi(int pixels) {
    // 96 dots per inch is 15 twips per pixel.
    return static_cast<int>(std::lround(pixels * 15.0 / std::max(1, TwipsPerPixel())));
}

LOGFONTA SystemLogFont(SystemFont which) {
    const FontEntry& e = kFonts[static_cast<std::size_t>(which)];
    LOGFONTA lf;
    lf.lfHeight = -static_cast<LONG>(std::lround(e.points * Dpi() / 72.0));
    lf.lfWeight = e.weight;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::strncpy(lf.lfFaceName, e.face, LF_FACESIZE - 1);
    return lf;
}

NONCLIENTMETRICSA SystemNonClientMetrics() {
    NONCLIENTMETRICSA m;
    m.cbSize = sizeof(NONCLIENTMETRICSA);
    m.iBorderWidth = ScaleFrom96Dpi(kBorderWidth);
    m.iScrollWidth = ScaleFrom96Dpi(kScrollWidth);
    m.iScrollHeight = ScaleFrom96Dpi(kScrollHeight);
    m.iCaptionWidth = ScaleFrom96Dpi(kCaptionWidth);
    m.iCaptionHeight = ScaleFrom96Dpi(kCaptionHeight);
    m.lfCaptionFont = SystemLogFont(SystemFont::Caption);
    m.iSmCaptionWidth = ScaleFrom96Dpi(kSmCaptionWidth);
    m.iSmCaptionHeight = ScaleFrom96Dpi(kSmCaptionHeight);
    m.lfSmCaptionFont = SystemLogFont(SystemFont::SmallCaption);
    m.iMenuWidth = ScaleFrom96Dpi(kMenuWidth);
    m.iMenuHeight = ScaleFrom96Dpi(kMenuHeight);
    m.lfMenuFont = SystemLogFont(SystemFont::Menu);
    m.lfStatusFont = SystemLogFont(SystemFont::Status);
    m.lfMessageFont = SystemLogFont(SystemFont::Message);
    return m;
}

}  // namespace brimlox::gdi

using namespace brimlox::gdi;

BOOL SystemParametersInfoA(UINT action, UINT, void* data, UINT) {
    if (!data) return FALSE;
    switch (action) {
        case SPI_GETNONCLIENTMETRICS: {
            // The caller states the size of its record; later, longer layouts end with one
            // more int (the padded border), which this table reports as 0.
            auto* record = static_cast<NONCLIENTMETRICSA*>(data);
            UINT size = record->cbSize;
            if (size != sizeof(NONCLIENTMETRICSA) && size != sizeof(NONCLIENTMETRICSA) + sizeof(int)) return FALSE;
            *record = SystemNonClientMetrics();
            record->cbSize = size;
            if (size > sizeof(NONCLIENTMETRICSA)) std::memset(record + 1, 0, sizeof(int));
            return TRUE;
        }
        case SPI_GETICONTITLELOGFONT: *static_cast<LOGFONTA*>(data) = SystemLogFont(SystemFont::IconTitle); return TRUE;
        case SPI_GETGRADIENTCAPTIONS: *static_cast<BOOL*>(data) = TRUE; return TRUE;
        default: return FALSE;
    }
}
