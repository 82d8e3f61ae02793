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

// A hit moves the glyph to the front of its pool's recency list.
const GlyphImage* GlyphCache::Touch(Pool& pool, std::list<Entry>::iterator at) {
    ++hits_;
    if (at != pool.lru.begin()) pool.lru.splice(pool.lru.begin(), pool.lru, at);
    return &at->image;
}

const GlyphImage* GlyphCache::Find(std::uint64_t key, GlyphPool which) {
    Pool& pool = Of(which);
    Recent& slot = recent_[(key * 0x9E3779B97F4A7C15ull) >> 58];  // 64 slots
    if (slot.epoch == epoch_ && slot.key == key && slot.pool == static_cast<int>(which)) return Touch(pool, slot.at);
    auto it = pool.map.find(key);
    if (it == pool.map.end()) {
        ++misses_;
        return nullptr;
    }
    slot = Recent{key, epoch_, static_cast<int>(which), it->second};
    return Touch(pool, it->second);
}

const GlyphImage* GlyphCache::Insert(std::uint64_t key, GlyphImage image, GlyphPool which) {
    ++epoch_;  // entries may be replaced or evicted
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
    ++epoch_;
    pool.limit = bytes;
    EvictBeyond(pool, nullptr);
}

void GlyphCache::Clear() {
    ++epoch_;
    for (Pool& pool : pools_) {
        pool.lru.clear();
        pool.map.clear();
        pool.bytes = 0;
    }
    hits_ = misses_ = 0;
}

}  // namespace brimlox::gdi::text
