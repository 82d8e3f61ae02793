// Font objects: the LOGFONT a font was created from. The text engine attaches its realised
// face (metrics and glyphs) lazily, the first time the font is used on a DC.
#pragma once

#include <memory>

#include "platform/gdi/handles.h"

namespace brimlox::gdi {

// Opaque realised face owned by the text engine.
class RealizedFont {
public:
    virtual ~RealizedFont() = default;
};

class FontObject : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Font;
    explicit FontObject(const LOGFONTA& lf) : GdiObject(ObjectKind::Font), logFont(lf) {}

    LOGFONTA logFont;
    std::unique_ptr<RealizedFont> realized;
};

}  // namespace brimlox::gdi
