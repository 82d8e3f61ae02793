// Least-recently-used glyph store with a byte budget per pool.
#include "platform/gdi/text/glyph_cache.h"

namespace brimlox::gdi::text {

GlyphCache::GlyphCache() {
    Of(GlyphPool::Upright).limit = kDefaultLimit;
    Of(GlyphPool::Rotated).limit = kDefaultRotatedLimit;
}

GlyphCache& GlyphCache::Instance() {
    static GlyphCache cache;
    return cache;
}

const GlyphImage* GlyphCache::Find(std::uint64_t key, GlyphPool which) {
    Pool& pool = Of(which);
    auto it = pool.map.find(key);
    if (it == pool.map.end()) {
        ++misses_;
        return nullptr;
    }
    ++hits_;
    if (it->second != pool.lru.begin()) pool.lru.splice(pool.lru.begin(), pool.lru, it->second);
    return &it->second->image;
}

const GlyphImage* GlyphCache::Insert(std::uint64_t key, GlyphImage image, GlyphPool which) {
    Pool& pool = Of(which);
    auto found = pool.map.find(key);
    if (found != pool.map.end()) {
        pool.bytes -= found->second->image.Bytes();
        pool.lru.erase(found->second);
        pool.map.erase(found);
    }
    pool.bytes += image.Bytes();
    pool.lru.push_front(Entry{key, std::move(image)});
    pool.map[key] = pool.lru.begin();
    EvictBeyond(pool, &pool.lru.front());
    return &pool.lru.front().image;
}

void GlyphCache::EvictBeyond(Pool& pool, const Entry* keep) {
    while (pool.bytes > pool.limit && !pool.lru.empty() && &pool.lru.back() != keep) {
        pool.bytes -= pool.lru.back().image.Bytes();
        pool.map.erase(pool.lru.back().key);
        pool.lru.pop_back();
    }
}

void GlyphCache::SetLimit(std::size_t bytes, GlyphPool which) {
    Pool& pool = Of(which);
    pool.limit = bytes;
    EvictBeyond(pool, nullptr);
}

void GlyphCache::Clear() {
    for (Pool& pool : pools_) {
        pool.lru.clear();
        pool.map.clear();
        pool.bytes = 0;
    }
    hits_ = misses_ = 0;
}

}  // namespace brimlox::gdi::text
