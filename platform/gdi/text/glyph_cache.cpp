// Least-recently-used glyph store with a byte budget.
#include "platform/gdi/text/glyph_cache.h"

namespace brimlox::gdi::text {

GlyphCache& GlyphCache::Instance() {
    static GlyphCache cache;
    return cache;
}

const GlyphImage* GlyphCache::Find(std::uint64_t key) {
    auto it = map_.find(key);
    if (it == map_.end()) {
        ++misses_;
        return nullptr;
    }
    ++hits_;
    if (it->second != lru_.begin()) lru_.splice(lru_.begin(), lru_, it->second);
    return &it->second->image;
}

const GlyphImage* GlyphCache::Insert(std::uint64_t key, GlyphImage image) {
    auto found = map_.find(key);
    if (found != map_.end()) {
        bytes_ -= found->second->image.Bytes();
        lru_.erase(found->second);
        map_.erase(found);
    }
    bytes_ += image.Bytes();
    lru_.push_front(Entry{key, std::move(image)});
    map_[key] = lru_.begin();
    EvictBeyond(limit_, &lru_.front());
    return &lru_.front().image;
}

void GlyphCache::EvictBeyond(std::size_t limit, const Entry* keep) {
    while (bytes_ > limit && !lru_.empty() && &lru_.back() != keep) {
        bytes_ -= lru_.back().image.Bytes();
        map_.erase(lru_.back().key);
        lru_.pop_back();
    }
}

void GlyphCache::SetLimit(std::size_t bytes) {
    limit_ = bytes;
    EvictBeyond(limit_, nullptr);
}

void GlyphCache::Clear() {
    lru_.clear();
    map_.clear();
    bytes_ = 0;
    hits_ = misses_ = 0;
}

}  // namespace brimlox::gdi::text
