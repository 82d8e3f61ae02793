// CUlvaroMetrics: the system's non-client metrics (caption, menu, scroll bar and border
// sizes) and its six fonts, with font handles derived from them. The popup menu display
// measures and draws its items with these fonts.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gdi/text.h"

namespace brimlox::foundation {

// Font indexes of FontHandle and its variants.
enum MetricsFont : std::int16_t {
    IconTitleFont = 1,
    CaptionFont = 2,
    SmallCaptionFont = 3,
    MenuFont = 4,
    StatusFont = 5,
    MessageFont = 6,
};

class CUlvaroMetrics {
public:
    CUlvaroMetrics() = default;
    ~CUlvaroMetrics();
    CUlvaroMetrics(const CUlvaroMetrics&) = delete;
    CUlvaroMetrics& operator=(const CUlvaroMetrics&) = delete;

    // Reads the metrics and the icon title font afresh; the font handles handed out before
    // are deleted. True when both reads succeeded.
    bool GetMetrics();
    // The font of an index, created once per GetMetrics and owned by this object; 0 for an
    // index outside 1..6.
    HFONT FontHandle(int index);
    // New fonts owned by the caller: the font one weight step bolder (700, or 900 when it
    // was 700 or more already), and the font five sixths as high.
    HFONT BoldenedFontHandle(int index) const;
    HFONT SmallerFontHandle(int index) const;

    int CaptionHeight() const { return metrics_.iCaptionHeight; }
    int CaptionWIdth() const { return metrics_.iCaptionWidth; }
    int MenuHeight() const { return metrics_.iMenuHeight; }
    int MenuWidth() const { return metrics_.iMenuWidth; }
    int ScrollHeight() const { return metrics_.iScrollHeight; }
    int ScrollWidth() const { return metrics_.iScrollWidth; }
    int SMCaptionHeight() const { return metrics_.iSmCaptionHeight; }
    int SMCaptionWIdth() const { return metrics_.iSmCaptionWidth; }
    int BorderWidth() const { return metrics_.iBorderWidth; }

    // Deletes the cached fonts.
    void ClearUp();

private:
    // The LOGFONT of an index; all zero for an index outside 1..6.
    LOGFONTA LogFontOf(int index) const;

    NONCLIENTMETRICSA metrics_{};
    LOGFONTA iconTitleFont_{};
    std::array<HFONT, 6> fonts_{};
};

}  // namespace brimlox::foundation
