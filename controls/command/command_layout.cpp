// Command: the size rules applied on resize and the face geometry.
#include "controls/command/command.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/pixels.h"
#include "foundation/painters/bevel.h"

namespace brimlox::controls {

using foundation::SnapToPixelsX;
using foundation::SnapToPixelsY;

float Command::PxX() const { return static_cast<float>(host::Screen().TwipsPerPixelX); }
float Command::PxY() const { return static_cast<float>(host::Screen().TwipsPerPixelY); }
int Command::ToPixelsX(float twips) const {
    return foundation::RoundHalfEven(ScaleX(twips, host::kScaleTwips, host::kScalePixels));
}
int Command::ToPixelsY(float twips) const {
    return foundation::RoundHalfEven(ScaleY(twips, host::kScaleTwips, host::kScalePixels));
}

// Keeps the button at least 180 x 105 twips and an odd number of pixels in each direction, so
// its face has a centre line and a centre column.
void Command::Resize() {
    std::int32_t width = std::max<std::int32_t>(Width(), 180);
    std::int32_t height = std::max<std::int32_t>(Height(), 105);
    height = 2 * SnapToPixelsY(foundation::RoundHalfEven(height / 2.0)) + static_cast<std::int32_t>(PxY());
    width = 2 * SnapToPixelsX(foundation::RoundHalfEven(width / 2.0)) + static_cast<std::int32_t>(PxX());
    // Setting the size raises Resize again, which then finds nothing to change.
    if (width != Width() || height != Height()) {
        Move(Left(), Top(), width, height);
        return;
    }
    ComputeLayout();
    Refresh();
}

namespace {
constexpr int kMenuStripTwips = 135;  // 9 pixels at 15 twips a pixel
}  // namespace

void Command::ComputeLayout() {
    if (bevelOuter_ != foundation::NoBevel && Height() < 105) SetHeight(105);
    Layout& l = layout_;
    const float px = PxX(), py = PxY();
    // The strip is 9 pixels at 96 DPI and grows with the scale like its arrow (90 twips), so
    // the arrow keeps its room inside the strip's edges at every scale.
    l.menuWidth = menuButton_ ? static_cast<float>(std::max(SnapToPixelsX(kMenuStripTwips), static_cast<int>(9 * px))) : 0;
    if (bevelOuter_ != foundation::NoBevel) {
        l.faceWidth = static_cast<float>(SnapToPixelsX(foundation::RoundHalfEven(Width() - 8 * px)));
        l.faceHalfHeight = static_cast<float>(SnapToPixelsY(foundation::RoundHalfEven((Height() - 8 * py) / 2)));
        l.faceLeft = 4 * px;
        l.faceTop = 4 * py;
    } else {
        l.faceWidth = static_cast<float>(SnapToPixelsX(Width()));
        l.faceHalfHeight = static_cast<float>(SnapToPixelsY(foundation::RoundHalfEven(Height() / 2.0)));
        l.faceLeft = l.faceTop = 0;
    }
    if (default_) {
        // A default button is framed by one more line.
        const float shrink = button3D_ ? 2.0f : 3.0f;
        l.faceWidth -= shrink * px;
        l.faceHalfHeight -= shrink * py;
        l.faceLeft += px;
        l.faceTop += py;
    }
    l.faceHeight = static_cast<float>(SnapToPixelsY(foundation::RoundHalfEven(2 * l.faceHalfHeight)));
    l.faceLeftPx = ToPixelsX(l.faceLeft);
    l.faceTopPx = ToPixelsY(l.faceTop);
    l.faceWidthPx = ToPixelsX(l.faceWidth);
    l.faceHeightPx = ToPixelsY(l.faceHeight);
    l.faceHalfHeightPx = ToPixelsY(l.faceHalfHeight);
    l.menuWidthPx = ToPixelsX(l.menuWidth);
}

}  // namespace brimlox::controls
