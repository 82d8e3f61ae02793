#include "platform/gdi/handles.h"

namespace brimlox::gdi {

namespace {
std::uint32_t EncodeHandle(std::uint32_t index, std::uint8_t generation, ObjectKind kind) {
    return HandleTable::kGdiMark | (static_cast<std::uint32_t>(kind) << 24) |
           (static_cast<std::uint32_t>(generation) << 16) | (index + 1);
}
}  // namespace

ObjectKind KindOfHandle(HGDIOBJ handle) {
    auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    if ((v & 0xF0000000u) != HandleTable::kGdiMark) return ObjectKind::None;
    auto kind = (v >> 24) & 0x0F;
    return kind < kObjectKindCount ? static_cast<ObjectKind>(kind) : ObjectKind::None;
}

HGDIOBJ HandleTable::Add(std::unique_ptr<GdiObject> object) {
    if (!object) return nullptr;
    std::uint32_t index;
    if (!freeSlots_.empty()) {
        index = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        if (slots_.size() >= kMaxSlots) return nullptr;
        index = static_cast<std::uint32_t>(slots_.size());
        slots_.emplace_back();
    }
    Slot& slot = slots_[index];
    ObjectKind kind = object->Kind();
    slot.object = std::move(object);
    ++live_[static_cast<int>(kind)];
    return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(EncodeHandle(index, slot.generation, kind)));
}

bool HandleTable::Remove(HGDIOBJ handle) {
    GdiObject* o = Lookup(handle);
    if (!o || o->IsStock()) return false;
    auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    std::uint32_t index = (v & 0xFFFF) - 1;
    Slot& slot = slots_[index];
    --live_[static_cast<int>(o->Kind())];
    slot.object.reset();
    // Generation 0 is skipped so that a handle value is never reissued as "fresh zero".
    slot.generation = static_cast<std::uint8_t>(slot.generation == 0xFF ? 1 : slot.generation + 1);
    freeSlots_.push_back(index);
    return true;
}

std::size_t HandleTable::LiveCount(ObjectKind kind) const {
    std::size_t stock = 0;
    for (const Slot& s : slots_)
        if (s.object && s.object->IsStock() && s.object->Kind() == kind) ++stock;
    return live_[static_cast<int>(kind)] - stock;
}

std::size_t HandleTable::LiveCount() const {
    std::size_t n = 0;
    for (int k = 1; k < kObjectKindCount; ++k) n += LiveCount(static_cast<ObjectKind>(k));
    return n;
}

}  // namespace brimlox::gdi
