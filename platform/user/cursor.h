// Icons and cursors: USER objects holding a colour bitmap and a mask bitmap (GDI objects), a
// hot spot, and whether they are shared standard cursors. Presenters read the pixels to show
// the pointer shape.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/user/user_handles.h"
#include "platform/user/winuser.h"

namespace brimlox::user {

class IconObject : public UserObject {
public:
    static constexpr UserKind kKind = UserKind::Icon;
    IconObject() : UserObject(UserKind::Icon) {}
    ~IconObject() override;

    bool isIcon = true;
    bool shared = false;  // standard cursors: never destroyed
    POINT hotspot{};
    HBITMAP color = nullptr;  // may be null for a monochrome icon
    HBITMAP mask = nullptr;   // AND mask; twice the height when there is no colour bitmap
};

// The pointer shape as 32-bit ARGB pixels (alpha 0 where the screen shows through), for
// presenters. Empty when the handle is not an icon or cursor.
struct CursorPixels {
    int width = 0;
    int height = 0;
    POINT hotspot{};
    std::vector<std::uint32_t> argb;
};
CursorPixels CursorImage(HCURSOR cursor);

// Draws an icon with its mask onto a surface at a surface position, clipped to `clip`.
void DrawIconOnSurface(const IconObject& icon, gdi::Surface& target, POINT at, const RECT& clip);

}  // namespace brimlox::user
