// The ProgressBar's interface as late-bound callers and the property browser see it (members
// in interface order, with their help strings and dispatch ids), and its registration with the
// host, so forms can add it and form files can hold it.
#include "controls/indicators/progressbar.h"

#include "platform/host/standard_dispids.h"

namespace brimlox::controls {

namespace {

using host::TypeBuilder;
using host::Variant;


void AddMembers(TypeBuilder<ProgressBar>& b) {
    b.Method(
         "ShowAboutBox",
         [](ProgressBar& p, std::span<Variant>) {
             p.ShowAboutBox();
             return Variant();
         },
         "", {}, host::dispid::kAboutBox)
        .Property("ForeColor", &ProgressBar::ForeColor, &ProgressBar::SetForeColor,
                  "Returns/sets the foreground color used to display text and graphics in an object.", host::dispid::kForeColor)
        .Property("Font", &ProgressBar::Font, &ProgressBar::SetFont, "Returns a Font object.", host::dispid::kFont)
        .Method(
            "Refresh",
            [](ProgressBar& p, std::span<Variant>) {
                p.Refresh();
                return Variant();
            },
            "Forces a complete repaint of a object.", {}, host::dispid::kRefresh)
        .Property("Max", &ProgressBar::Max, &ProgressBar::SetMax, "Returns/sets the maximum value of the progress bar.", 1)
        .Property("Value", &ProgressBar::Value, &ProgressBar::SetValue,
                  "Returns/sets the current value of the progress bar.", host::dispid::kValue)
        .Property("BorderStyle", &ProgressBar::BorderStyle, &ProgressBar::SetBorderStyle,
                  "Returns/sets the border style for the progress bar.", 2)
        .Property("BarStyle", &ProgressBar::BarStyle, &ProgressBar::SetBarStyle,
                  "Returns/sets the border style for the percentage bar.", 3)
        .Property("Percentage", &ProgressBar::Percentage, &ProgressBar::SetPercentage,
                  "Returns/sets the current percentage of the progress bar.", 4)
        .Get("hDC", &ProgressBar::hDCValue, "Returns a handle (from Microsoft Windows) to the object's device context.",
             5)
        .Get("hWnd", &ProgressBar::hWndValue, "Returns a handle (from Microsoft Windows) to an object's window.",
             host::dispid::kHwnd)
        .Property("Divisions", &ProgressBar::Divisions, &ProgressBar::SetDivisions,
                  "Returns/sets the number of divisions on the progress bar.", 6)
        .Property("ShowPercent", &ProgressBar::ShowPercent, &ProgressBar::SetShowPercent,
                  "Returns/sets if the percentage is displayed.", 7)
        .Property("Marquee", &ProgressBar::Marquee, &ProgressBar::SetMarquee,
                  "Returns/sets if a block moves across the bar for work of unknown length.", 8)
        .Property("MarqueeSpeed", &ProgressBar::MarqueeSpeed, &ProgressBar::SetMarqueeSpeed,
                  "Returns/sets the milliseconds between two steps of the marquee block.", 9)
        .Event("PercentChange", 1, "Occurs when the Percentage displayed changes.");
}

}  // namespace

const host::TypeInfo* ProgressBar::GetTypeInfo() const {
    static const auto info = [] {
        TypeBuilder<ProgressBar> b("ProgressBar");
        AddMembers(b);
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::controls
