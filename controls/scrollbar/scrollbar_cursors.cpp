#include "controls/scrollbar/scrollbar_cursors.h"

#include <cstdlib>

#include "platform/host/picture.h"

namespace brimlox::controls {

namespace {

constexpr int kSize = kAutoScrollPictureSize;
constexpr int kCentre = kSize / 2;  // the hot spot and the anchor pixel
constexpr std::uint32_t kClear = 0x00000000u;
constexpr std::uint32_t kInk = 0xFF000000u;
constexpr std::uint32_t kFill = 0xFFFFFFFFu;

// A horizontal design: a dot at the centre and arrowheads on either side, each pointing away
// from it. Vertical pictures are the same designs transposed.
struct Design {
    int dotRadius;
    int tip;       // distance of an arrowhead's tip from the left edge
    int base;      // distance of its base from the left edge
    int halfBase;  // half the base's height
    bool shrink;   // the arrowhead before the centre
    bool grow;     // the arrowhead after it
};

bool InArrowhead(const Design& d, int x, int y) {
    if (x < d.tip || x > d.base) return false;
    int half = (x - d.tip) * d.halfBase / (d.base - d.tip);
    return std::abs(y - kCentre) <= half;
}

// Whether the design covers pixel (x, y) of the horizontal picture.
bool Covers(const Design& d, int x, int y) {
    int dx = x - kCentre, dy = y - kCentre;
    if (dx * dx + dy * dy <= d.dotRadius * d.dotRadius) return true;
    if (d.shrink && InArrowhead(d, x, y)) return true;
    // The second arrowhead mirrors the first about the centre.
    return d.grow && InArrowhead(d, 2 * kCentre - x, y);
}

bool Describe(int resource, Design& d, bool& vertical) {
    const Design cursor{2, 4, 10, 6, true, true};
    const Design mark{2, 6, 10, 4, true, true};
    vertical = resource >= kCursorNeutralV;
    switch (resource) {
        case kCursorNeutralH: case kCursorNeutralV: d = cursor; return true;
        case kCursorShrinkH: case kCursorShrinkV: d = cursor, d.grow = false; return true;
        case kCursorGrowH: case kCursorGrowV: d = cursor, d.shrink = false; return true;
        case kMarkH: case kMarkV: d = mark; return true;
        default: return false;
    }
}

void PutU16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace

int AutoScrollCursorFor(int direction, bool vertical) {
    if (direction < 0) return vertical ? kCursorShrinkV : kCursorShrinkH;
    if (direction > 0) return vertical ? kCursorGrowV : kCursorGrowH;
    return vertical ? kCursorNeutralV : kCursorNeutralH;
}

std::vector<std::uint32_t> AutoScrollPixels(int resource) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kSize) * kSize, kClear);
    Design d{};
    bool vertical = false;
    if (!Describe(resource, d, vertical)) return pixels;
    auto covers = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kSize || y >= kSize) return false;
        return vertical ? Covers(d, y, x) : Covers(d, x, y);
    };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            std::uint32_t& p = pixels[static_cast<std::size_t>(y) * kSize + x];
            if (covers(x, y)) {
                p = kFill;
                continue;
            }
            // A one-pixel black outline keeps the shape visible on light and dark grounds.
            for (int ny = y - 1; ny <= y + 1 && p == kClear; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx)
                    if (covers(nx, ny)) {
                        p = kInk;
                        break;
                    }
        }
    }
    return pixels;
}

std::vector<std::uint8_t> AutoScrollIconFile(int resource) {
    const std::vector<std::uint32_t> pixels = AutoScrollPixels(resource);
    constexpr std::uint32_t kColourBytes = kSize * kSize * 3;
    constexpr std::uint32_t kMaskStride = ((kSize + 31) / 32) * 4;
    constexpr std::uint32_t kImageBytes = 40 + kColourBytes + kMaskStride * kSize;
    std::vector<std::uint8_t> out;
    out.reserve(6 + 16 + kImageBytes);
    // Directory: one icon image.
    PutU16(out, 0), PutU16(out, 1), PutU16(out, 1);
    out.push_back(kSize), out.push_back(kSize), out.push_back(0), out.push_back(0);
    PutU16(out, 1), PutU16(out, 24), PutU32(out, kImageBytes), PutU32(out, 6 + 16);
    // BITMAPINFOHEADER; an icon's height counts the colour rows and the mask rows.
    PutU32(out, 40), PutU32(out, kSize), PutU32(out, kSize * 2), PutU16(out, 1), PutU16(out, 24);
    for (int i = 0; i < 6; ++i) PutU32(out, 0);
    // Colour rows bottom-up (blue, green, red), then the AND mask (1 = transparent).
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            std::uint32_t p = pixels[static_cast<std::size_t>(y) * kSize + x];
            out.push_back(p & 0xFF), out.push_back((p >> 8) & 0xFF), out.push_back((p >> 16) & 0xFF);
        }
    for (int y = kSize - 1; y >= 0; --y) {
        std::uint8_t row[kMaskStride] = {};
        for (int x = 0; x < kSize; ++x)
            if ((pixels[static_cast<std::size_t>(y) * kSize + x] >> 24) == 0)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row, row + kMaskStride);
    }
    return out;
}

std::shared_ptr<host::StdPicture> MakeAutoScrollPicture(int resource) {
    return host::StdPicture::FromBytes(AutoScrollIconFile(resource));
}

}  // namespace brimlox::controls
