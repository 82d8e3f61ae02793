// Shared parts of every typeface: angle, glyph lookup and the style registry.
#include "platform/gdi/text/typeface.h"

#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <string>

#include "platform/gdi/text/face_match.h"

namespace brimlox::gdi::text {

void Typeface::SetAngle(LONG escapement) {
    long long t = static_cast<long long>(escapement) % 3600;
    if (t < 0) t += 3600;
    angleTenths_ = static_cast<int>(t);
    // Exact values at the right angles keep rotated text on whole pixels.
    switch (angleTenths_) {
        case 0: cos_ = 1; sin_ = 0; return;
        case 900: cos_ = 0; sin_ = 1; return;
        case 1800: cos_ = -1; sin_ = 0; return;
        case 2700: cos_ = 0; sin_ = -1; return;
        default: break;
    }
    double radians = angleTenths_ * std::numbers::pi / 1800.0;
    cos_ = std::cos(radians);
    sin_ = std::sin(radians);
}

const GlyphImage& Typeface::Glyph(unsigned char ch) {
    GlyphCache& cache = GlyphCache::Instance();
    std::uint64_t key = GlyphCache::Key(styleId_, ch);
    GlyphPool pool = angleTenths_ == 0 ? GlyphPool::Upright : GlyphPool::Rotated;
    if (const GlyphImage* g = cache.Find(key, pool)) return *g;
    return *cache.Insert(key, Render(ch), pool);
}

void Typeface::SetStyle(const std::string& description) {
    // Map nodes never move, so the tables can be pointed at for the life of the process.
    static std::map<std::string, std::pair<std::uint32_t, AdvanceTable>> styles;
    auto it = styles.find(description);
    if (it == styles.end()) {
        auto id = static_cast<std::uint32_t>(styles.size() + 1);
        it = styles.emplace(description, std::make_pair(id, AdvanceTable{})).first;
    }
    styleId_ = it->second.first;
    advances_ = &it->second.second;
}

std::string FaceName(const LOGFONTA& logFont) {
    std::size_t n = 0;
    while (n < LF_FACESIZE - 1 && logFont.lfFaceName[n] != '\0') ++n;
    return std::string(logFont.lfFaceName, n);
}

}  // namespace brimlox::gdi::text
