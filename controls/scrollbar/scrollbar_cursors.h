// The pictures of the middle-button auto-scroll mode: the pointer shapes that show which way
// the value runs, and the anchor mark painted where the mode began. Each is a 32 x 32 icon
// drawn here pixel by pixel (white shapes with a black outline on a transparent ground) and
// handed to the host as an icon picture, so it can serve as the surface's MouseIcon.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace brimlox::host {
class StdPicture;
}

namespace brimlox::controls {

// The resource numbers of the pictures, horizontal / vertical.
enum AutoScrollPicture : int {
    kCursorNeutralH = 100,
    kCursorShrinkH = 101,
    kMarkH = 102,
    kCursorGrowH = 103,
    kCursorNeutralV = 104,
    kCursorGrowV = 105,
    kMarkV = 106,
    kCursorShrinkV = 107,
};

constexpr int kAutoScrollPictureSize = 32;

// The cursor for a direction (-1 shrinking, 0 none, 1 growing) and orientation.
int AutoScrollCursorFor(int direction, bool vertical);

// The picture's pixels, top-down rows of 0xAARRGGBB (alpha 0 or 255); an unknown number gives
// a fully transparent picture.
std::vector<std::uint32_t> AutoScrollPixels(int resource);

// The picture as the bytes of an ICO file (one 24-bit image with its mask).
std::vector<std::uint8_t> AutoScrollIconFile(int resource);

// A new icon picture of the resource.
std::shared_ptr<host::StdPicture> MakeAutoScrollPicture(int resource);

}  // namespace brimlox::controls
