// The CLogFont's interface as late-bound callers see it, and its registration as a creatable
// class.
#include "drawing/clog_font.h"

#include "platform/host/class_registry.h"
#include "platform/host/type_builder.h"

namespace brimlox::drawing {

const host::TypeInfo* CLogFont::GetTypeInfo() const {
    static const auto info = [] {
        host::TypeBuilder<CLogFont> b("CLogFont");
        b.Property("LogFont", &CLogFont::LogFont, &CLogFont::SetLogFont,
                   "Returns/sets the font the rotated font is made from.", 1)
            .Property("Rotation", &CLogFont::Rotation, &CLogFont::SetRotation,
                      "Returns/sets the angle of the text in degrees, counter-clockwise.", 2)
            .Get("Handle", &CLogFont::HandleValue, "Returns the handle of the rotated font.", 3);
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::drawing
