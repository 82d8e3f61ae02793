// CreateFontIndirectA and the lazy realisation of a font's typeface.
#include <cstring>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text/typeface.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace brimlox::gdi::text {

Typeface* TypefaceOf(HFONT font) {
    auto* f = HandleTable::Instance().Get<FontObject>(font);
    if (!f) return nullptr;
    if (!f->realized) f->realized = RealizeTypeface(f->logFont);
    return static_cast<Typeface*>(f->realized.get());
}

}  // namespace brimlox::gdi::text

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    TraceCall tc("CreateFontIndirectA");
    if (tc) tc.Args(logFont);
    if (!logFont) return tc.Return(static_cast<HFONT>(nullptr));
    // Keep at most 31 characters of the face name and always terminate it, so nothing ever
    // reads past the field of a caller that filled all 32 bytes.
    LOGFONTA copy = *logFont;
    std::string face = text::FaceName(*logFont);
    std::memset(copy.lfFaceName, 0, LF_FACESIZE);
    std::memcpy(copy.lfFaceName, face.data(), face.size());
    HGDIOBJ handle = HandleTable::Instance().Add(std::make_unique<FontObject>(copy));
    return tc.Return(static_cast<HFONT>(handle));
}
