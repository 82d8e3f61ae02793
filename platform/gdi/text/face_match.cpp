// fontconfig matching with the fallback table documented in the README.
#include "platform/gdi/text/face_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <memory>
#include <tuple>

namespace brimlox::gdi::text {

namespace {

constexpr BYTE kFamilyMask = 0xF0;
constexpr BYTE kFamilyRoman = 0x10;   // FF_ROMAN
constexpr BYTE kFamilyModern = 0x30;  // FF_MODERN: fixed-pitch faces
constexpr BYTE kFixedPitch = 0x01;

struct Substitute {
    const char* name;
    const char* family;
};

// Classic faces and the free faces that share their metrics (or come closest).
constexpr std::array<Substitute, 24> kSubstitutes{{
    {"ms sans serif", "Liberation Sans"},     {"microsoft sans serif", "Liberation Sans"},
    {"ms shell dlg", "Liberation Sans"},      {"ms shell dlg 2", "Liberation Sans"},
    {"tahoma", "Liberation Sans"},            {"arial", "Liberation Sans"},
    {"segoe ui", "Liberation Sans"},          {"verdana", "DejaVu Sans"},
    {"helvetica", "Liberation Sans"},         {"system", "Liberation Sans"},
    {"small fonts", "Liberation Sans"},       {"arial narrow", "Liberation Sans Narrow"},
    {"times new roman", "Liberation Serif"},  {"times", "Liberation Serif"},
    {"ms serif", "Liberation Serif"},         {"georgia", "DejaVu Serif"},
    {"courier new", "Liberation Mono"},       {"courier", "Liberation Mono"},
    {"fixedsys", "Liberation Mono"},          {"terminal", "Liberation Mono"},
    {"lucida console", "DejaVu Sans Mono"},   {"consolas", "Liberation Mono"},
    {"sans serif", "Liberation Sans"},        {"", "Liberation Sans"},
}};

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The generic family for names fontconfig does not know.
const char* GenericFamily(BYTE pitchAndFamily) {
    if ((pitchAndFamily & kFamilyMask) == kFamilyRoman) return "Liberation Serif";
    if ((pitchAndFamily & kFamilyMask) == kFamilyModern || (pitchAndFamily & 0x03) == kFixedPitch)
        return "Liberation Mono";
    return "Liberation Sans";
}

// Second choices when the Liberation faces are missing.
const char* DejaVuFor(std::string_view liberation) {
    if (liberation == "Liberation Serif") return "DejaVu Serif";
    if (liberation == "Liberation Mono") return "DejaVu Sans Mono";
    return "DejaVu Sans";
}

// One fontconfig configuration for the process, loaded on first use.
FcConfig* Config() {
    static FcConfig* config = FcInitLoadConfigAndFonts();
    return config;
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// Asks fontconfig for a family; nullopt-like empty result when the family it returns is
// not the one asked for (fontconfig always returns some face).
bool QueryFamily(const std::string& family, const FaceRequest& r, FaceFile& out) {
    FcConfig* config = Config();
    if (!config) return false;
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, r.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, r.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    if (!match) return false;
    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return false;
    FcPatternGetString(match.get(), FC_FAMILY, 0, &matchedFamily);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    std::string got = matchedFamily ? reinterpret_cast<const char*>(matchedFamily) : "";
    if (Lower(got) != Lower(family)) return false;
    out.path = reinterpret_cast<const char*>(file);
    out.index = index;
    out.family = got;
    out.hasBold = weight >= FC_WEIGHT_DEMIBOLD;
    out.hasItalic = slant != FC_SLANT_ROMAN;
    return true;
}

FaceFile Resolve(const FaceRequest& r) {
    FaceFile f;
    if (Lower(r.name) == "marlett") {
        f.family = "Marlett";
        f.builtinMarlett = true;
        return f;
    }
    std::string first = SubstituteFamily(r.name, r.pitchAndFamily);
    if (QueryFamily(first, r, f)) return f;
    std::string generic = GenericFamily(r.pitchAndFamily);
    if (QueryFamily(generic, r, f)) return f;
    if (QueryFamily(DejaVuFor(generic), r, f)) return f;
    // Last resort: whatever fontconfig offers for a sans-serif face.
    FcConfig* config = Config();
    if (!config) return f;
    Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif")));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch)
        f.path = reinterpret_cast<const char*>(file);
    f.family = "sans-serif";
    return f;
}

}  // namespace

std::string SubstituteFamily(std::string_view name, BYTE pitchAndFamily) {
    std::string key = Lower(name);
    for (const Substitute& s : kSubstitutes)
        if (key == s.name) return s.family;
    (void)pitchAndFamily;
    return std::string(name);
}

const FaceFile& MatchFace(const FaceRequest& request) {
    static std::map<std::tuple<std::string, bool, bool, BYTE>, FaceFile> cache;
    auto key = std::make_tuple(Lower(request.name), request.bold, request.italic, request.pitchAndFamily);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, Resolve(request)).first;
    return it->second;
}

}  // namespace brimlox::gdi::text

// fontconfig's configuration parser leaks a few hundred bytes once per process (in the
// library, while it reads its XML files). The leak checker of sanitizer builds reads this
// hook, so tests and fuzzers report only leaks of our own.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
