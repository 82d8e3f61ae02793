// ProgressBar: a bevelled box that fills from the left in proportion to Value out of Max,
// optionally divided into equal segments and optionally showing the percentage as centred
// text. It draws off screen into a HiddenBuffer and shows the finished image in one step; the
// filled part is one full-height pen under the NOT-XOR mode, so the text inverts where the
// fill covers it and stays readable. PercentChange is raised whenever the percentage shown
// changes. A marquee mode, for work of unknown length, moves a block across the bar on a timer.
//
// progressbar.cpp holds the properties, persistence and Resize, progressbar_paint.cpp the
// drawing, progressbar_marquee.cpp the moving block and its timer, progressbar_type.cpp the
// interface description and the registration.
#pragma once

#include <cstdint>
#include <memory>

#include "drawing/hidden_buffer.h"
#include "foundation/host_contract.h"

namespace brimlox::controls {

// The values stored and read are clamped: Max at least 1, Value in 0..Max, Divisions 0 or
// 2..20, the marquee step time 10..1000 ms.
struct ProgressLimits {
    static constexpr std::int32_t kMaxDivisions = 20;
    static constexpr std::int32_t kMinMarqueeSpeed = 10;
    static constexpr std::int32_t kMaxMarqueeSpeed = 1000;
    static std::int32_t Max(std::int32_t v) { return v < 1 ? 1 : v; }
    static std::int32_t Value(std::int32_t v, std::int32_t max) { return v < 0 ? 0 : (v > max ? max : v); }
    static std::int32_t Divisions(std::int32_t v) { return v > kMaxDivisions ? kMaxDivisions : (v < 2 ? 0 : v); }
    static std::int32_t Percent(std::int32_t v) { return v > 100 ? 100 : (v < 0 ? 0 : v); }
    static std::int32_t MarqueeSpeed(std::int32_t v) {
        return v < kMinMarqueeSpeed ? kMinMarqueeSpeed : (v > kMaxMarqueeSpeed ? kMaxMarqueeSpeed : v);
    }
};

class ProgressBar : public host::Control {
public:
    ProgressBar();
    ~ProgressBar() override;

    std::string TypeName() const override { return "ProgressBar"; }
    std::string DefaultNameBase() const override { return "prg"; }
    const host::TypeInfo* GetTypeInfo() const override;

    // ---- Properties ------------------------------------------------------------------------
    std::uint32_t ForeColor() const { return Control::ForeColor(); }
    void SetForeColor(std::uint32_t colour);
    std::shared_ptr<host::StdFont> Font() const { return Control::Font(); }
    void SetFont(std::shared_ptr<host::StdFont> font);
    std::int32_t Max() const { return max_; }
    void SetMax(std::int32_t v);
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t v);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(std::int16_t v);
    std::int16_t BarStyle() const { return barStyle_; }
    void SetBarStyle(std::int16_t v);
    // Value as a whole percentage of Max, halves to even.
    std::int32_t Percentage() const;
    void SetPercentage(std::int32_t v);
    std::int32_t Divisions() const { return divisions_; }
    void SetDivisions(std::int32_t v);
    bool ShowPercent() const { return showPercent_; }
    void SetShowPercent(bool v);
    bool Marquee() const { return marquee_; }
    void SetMarquee(bool v);
    // Milliseconds between two steps of the marquee block.
    std::int32_t MarqueeSpeed() const { return marqueeSpeed_; }
    void SetMarqueeSpeed(std::int32_t v);
    std::int32_t hDCValue() const { return drawing::HandleValue(hDC()); }
    std::int32_t hWndValue() const;

    // ---- Methods ---------------------------------------------------------------------------
    // Draws the bar into the buffer, shows it, and raises PercentChange if the percentage
    // shown changed.
    void Refresh();
    void ShowAboutBox();

    // ---- Host calls ------------------------------------------------------------------------
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    void Terminate() override;

    // ---- State the tests read ----------------------------------------------------------------
    const drawing::HiddenBuffer& Buffer() const { return *buffer_; }
    std::int32_t WidthPixels() const { return widthPx_; }
    std::int32_t HeightPixels() const { return heightPx_; }
    // The marquee block's left edge in pixels (it starts left of the bar, outside it).
    std::int32_t MarqueePosition() const { return marqueePos_; }
    std::int32_t MarqueeBlockWidth() const;
    const user::HostTimer& MarqueeTimer() const { return *tmrMarquee_; }

private:
    // Painting (progressbar_paint.cpp).
    void PrepareBuffer();
    void DrawPercentText(std::int32_t percent);
    void DrawFill(std::int32_t fromX, std::int32_t toX);
    void DrawDivisions(std::int32_t percent);
    void DrawBevels(std::int32_t barLeft, std::int32_t barRight, bool bar);
    void ShowBuffer();

    // The marquee (progressbar_marquee.cpp).
    void StepMarquee();
    void UpdateMarqueeTimer();
    void DrawMarquee();

    void Changed(const char* property);

    std::unique_ptr<drawing::HiddenBuffer> buffer_;
    std::int32_t max_ = 100;
    std::int32_t value_ = 0;
    std::int16_t borderStyle_ = 8;  // SoftInset
    std::int16_t barStyle_ = 7;     // SoftRaised
    std::int32_t divisions_ = 0;
    bool showPercent_ = true;
    bool marquee_ = false;
    std::int32_t marqueeSpeed_ = 30;

    std::int32_t widthPx_ = 0;
    std::int32_t heightPx_ = 0;
    std::int32_t lastPercent_ = 0;
    std::int32_t marqueePos_ = 0;
    std::unique_ptr<user::HostTimer> tmrMarquee_;
};

}  // namespace brimlox::controls
