#include "foundation/metrics/system_metrics.h"

#include "foundation/helpers/colour.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

bool ValidIndex(int index) { return index >= IconTitleFont && index <= MessageFont; }

}  // namespace

CUlvaroMetrics::~CUlvaroMetrics() { ClearUp(); }

bool CUlvaroMetrics::GetMetrics() {
    ClearUp();
    metrics_.cbSize = sizeof(NONCLIENTMETRICSA);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics_, 0)) return false;
    return SystemParametersInfoA(SPI_GETICONTITLELOGFONT, 0, &iconTitleFont_, 0) != FALSE;
}

LOGFONTA CUlvaroMetrics::LogFontOf(int index) const {
    switch (index) {
        case IconTitleFont: return iconTitleFont_;
        case CaptionFont: return metrics_.lfCaptionFont;
        case SmallCaptionFont: return metrics_.lfSmCaptionFont;
        case MenuFont: return metrics_.lfMenuFont;
        case StatusFont: return metrics_.lfStatusFont;
        case MessageFont: return metrics_.lfMessageFont;
        default: return LOGFONTA{};
    }
}

HFONT CUlvaroMetrics::FontHandle(int index) {
    if (!ValidIndex(index)) return nullptr;
    HFONT& slot = fonts_[index - 1];
    if (!slot) {
        LOGFONTA font = LogFontOf(index);
        slot = CreateFontIndirectA(&font);
    }
    return slot;
}

HFONT CUlvaroMetrics::BoldenedFontHandle(int index) const {
    LOGFONTA font = LogFontOf(index);
    font.lfWeight = font.lfWeight < FW_BOLD ? FW_BOLD : FW_HEAVY;
    return CreateFontIndirectA(&font);
}

HFONT CUlvaroMetrics::SmallerFontHandle(int index) const {
    LOGFONTA font = LogFontOf(index);
    font.lfHeight = RoundHalfEven(font.lfHeight * 5.0 / 6.0);
    return CreateFontIndirectA(&font);
}

void CUlvaroMetrics::ClearUp() {
    for (HFONT& font : fonts_) {
        if (font) DeleteObject(font);
        font = nullptr;
    }
}

}  // namespace brimlox::foundation
