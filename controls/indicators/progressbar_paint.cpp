// ProgressBar painting: everything is drawn into the off-screen buffer and shown in one step.
// The order matters: the percentage text first, then the fill as one pen as tall as the bar
// under the NOT-XOR mode (so the text under the fill inverts), the segment lines beyond the
// fill, and the bevels last, in their own colours.
#include <string>

#include "controls/indicators/progressbar.h"
#include "foundation/helpers/colour.h"
#include "foundation/painters/bevel.h"

namespace brimlox::controls {

namespace {

constexpr std::uint32_t k3DLight = 0x80000016;

int Whole(double v) { return foundation::RoundHalfEven(v); }

}  // namespace

void ProgressBar::Refresh() {
    if (!buffer_) return;
    PrepareBuffer();
    if (marquee_) {
        DrawMarquee();
        ShowBuffer();
        return;
    }
    std::int32_t p = Percentage();
    if (showPercent_) DrawPercentText(p);
    DrawFill(0, Whole(p * widthPx_ / 100.0));
    DrawDivisions(p);
    DrawBevels(0, 0, false);
    if (p > 0) {
        // The bar's bevel ends two pixels past the fill's share of the inner width.
        RECT inner{0, 0, widthPx_, heightPx_};
        if (borderStyle_ != 0) InflateRect(&inner, -1, -1);
        DrawBevels(inner.left, Whole(p * inner.right / 100.0 + 2), true);
    }
    ShowBuffer();
    if (p != lastPercent_) {
        lastPercent_ = p;
        RaiseEvent("PercentChange");
    }
}

void ProgressBar::PrepareBuffer() {
    drawing::HiddenBuffer& b = *buffer_;
    b.SetTextFont(Font());
    b.SetBackColor(BackColor());
    b.SetForeColor(ForeColor());
    b.Clear(BackColor());
    b.SetDrawMode(R2_NOTXORPEN);
    b.SetDrawWidth(static_cast<std::int16_t>(heightPx_ > 0x7FFF ? 0x7FFF : heightPx_));
    b.SetPenType(drawing::GeometricPen);
    b.SetLineEndCap(drawing::FlatCap);
    b.SetLineJoin(drawing::MiterJoin);
}

// The text's top centres the text's height in the control's.
void ProgressBar::DrawPercentText(std::int32_t percent) {
    std::string text = std::to_string(percent) + "%";
    int top = Whole((Height() - TextHeight(text)) / 2.0 / host::TwipsPerPixel());
    buffer_->DrawTextRect(0, top, widthPx_, heightPx_, text, false, true, 2);
}

// One flat-ended pen as wide as the bar is tall paints every row from fromX to toX.
void ProgressBar::DrawFill(std::int32_t fromX, std::int32_t toX) {
    int centre = Whole((heightPx_ + 1) / 2.0);
    buffer_->DrawLine(fromX, centre, toX, centre, ForeColor());
}

// Segment lines beyond the fill; the middle one is left out while the text is shown.
void ProgressBar::DrawDivisions(std::int32_t percent) {
    if (divisions_ == 0 || widthPx_ < 1) return;
    buffer_->SetDrawWidth(1);
    double filledTo = percent * widthPx_ / 100.0;
    for (int i = 1; i < divisions_; ++i) {
        int x = Whole(static_cast<double>(widthPx_) / divisions_ * i - 1);
        bool middle = i == divisions_ / 2.0;
        if (filledTo < x && (!middle || !showPercent_)) buffer_->DrawLine(x, 0, x, heightPx_, k3DLight);
    }
}

// The box's bevel, or the bar's from barLeft to barRight. Bevels draw with the copy mode, so
// they keep their colours whatever mode the fill left selected.
void ProgressBar::DrawBevels(std::int32_t barLeft, std::int32_t barRight, bool bar) {
    HDC dc = buffer_->hDC();
    if (!dc) return;
    int previous = SetROP2(dc, R2_COPYPEN);
    if (!bar) {
        foundation::workRect = RECT{0, 0, widthPx_, heightPx_};
        foundation::DrawBevel(dc, borderStyle_, BF_RECT);
    } else {
        RECT r{barLeft, 0, barRight, heightPx_};
        if (borderStyle_ != 0) r.top = 1, r.bottom = heightPx_ - 1;
        foundation::workRect = r;
        foundation::DrawBevel(dc, barStyle_, BF_RECT);
    }
    SetROP2(dc, previous);
}

void ProgressBar::ShowBuffer() {
    buffer_->Show();
    Flush();
}

}  // namespace brimlox::controls
