// Bitmap objects: device bitmaps (32 bpp colour or 1 bpp mono) and DIB sections of any layout,
// each owning its Surface. A bitmap can be selected into one memory DC at a time.
#pragma once

#include <memory>
#include <optional>

#include "platform/gdi/handles.h"
#include "platform/gdi/surface.h"

namespace brimlox::gdi {

class BitmapObject : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;
    explicit BitmapObject(std::unique_ptr<Surface> s, bool dib = false)
        : GdiObject(ObjectKind::Bitmap), surface(std::move(s)), dibSection(dib) {}

    std::unique_ptr<Surface> surface;
    bool dibSection = false;
    HDC selectedInto = nullptr;
    BITMAPINFOHEADER dibHeader;  // for DIB sections: the header they were created from
    DWORD dibMasks[3] = {0, 0, 0};  // and their colour bit fields (16 and 32 bits)
};

// What a BITMAPINFO asks for, or nothing when Windows refuses it (see CreateDIBSection).
// SetDIBitsToDevice does not look at the plane count.
enum class PlaneCount { MustBeOne, Ignored };
std::optional<DibLayout> ReadDibLayout(const BITMAPINFO& info, PlaneCount planes = PlaneCount::MustBeOne);

}  // namespace brimlox::gdi
