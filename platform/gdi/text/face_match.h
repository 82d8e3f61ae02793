// Finding a font file for a LOGFONT face name: classic Windows face names are mapped to the
// metric-compatible free faces first, then fontconfig picks the file. Results are cached by
// request, since fontconfig matching costs far more than drawing a caption.
#pragma once

#include <string>
#include <string_view>

#include "platform/gdi/wintypes.h"

namespace brimlox::gdi::text {

// What a LOGFONT asks of a face file.
struct FaceRequest {
    std::string name;  // face name as given (at most 31 characters)
    bool bold = false;
    bool italic = false;
    BYTE pitchAndFamily = 0;
};

// A face file fontconfig found, and whether it already has the asked-for style (so the
// renderer knows whether to embolden or slant it itself).
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
    bool hasBold = false;
    bool hasItalic = false;
    bool builtinMarlett = false;  // the symbol face drawn by marlett.cpp, no file
};

// The family asked of fontconfig for a face name: the substitute of a classic name, the name
// itself otherwise.
std::string SubstituteFamily(std::string_view name, BYTE pitchAndFamily);

// The file for a request. Never fails while any font is installed: an unknown name falls
// back to the generic family of the request's pitch and family bits.
const FaceFile& MatchFace(const FaceRequest& request);

}  // namespace brimlox::gdi::text
