// The dispatch ids of the standard members a control may publish (colours, font, window
// handle, Refresh, AboutBox and the mouse events), shared by every control's type table so
// late-bound callers find them under the same ids whichever control they hold.
#pragma once

namespace brimlox::host::dispid {

constexpr int kValue = 0;
constexpr int kBackColor = -501;
constexpr int kBorderStyle = -504;
constexpr int kFont = -512;
constexpr int kForeColor = -513;
constexpr int kEnabled = -514;
constexpr int kHwnd = -515;
constexpr int kRefresh = -550;
constexpr int kAboutBox = -552;
constexpr int kClick = -600;
constexpr int kDblClick = -601;
constexpr int kMouseDown = -605;
constexpr int kMouseMove = -606;
constexpr int kMouseUp = -607;

}  // namespace brimlox::host::dispid
