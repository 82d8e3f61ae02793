#include "platform/gdi/handles.h"

namespace brimlox::gdi {

namespace {
// Handle layout: bits 0-15 slot index + 1, bits 16-23 generation, bits 24-27 kind, bit 28
// set so that no GDI handle collides with small integers such as system-colour brush indices.
constexpr std::uint32_t kGdiMark = 0x10000000u;

std::uint32_t Encode(std::uint32_t index, std::uint8_t generation, ObjectKind kind) {
    return kGdiMark | (static_cast<std::uint32_t>(kind) << 24) |
           (static_cast<std::uint32_t>(generation) << 16) | (index + 1);
}
}  // namespace

HandleTable& HandleTable::Instance() {
    // Never destroyed: objects of other layers (icons, window surfaces, host fonts) may free
    // their GDI objects from their own static destructors at process exit, in any order.
    static HandleTable* table = new HandleTable();
    return *table;
}

ObjectKind KindOfHandle(HGDIOBJ handle) {
    auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    if ((v & 0xF0000000u) != kGdiMark) return ObjectKind::None;
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
    return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(Encode(index, slot.generation, kind)));
}

GdiObject* HandleTable::Lookup(HGDIOBJ handle) const {
    auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    if ((v & 0xF0000000u) != kGdiMark) return nullptr;
    std::uint32_t low = v & 0xFFFF;
    if (low == 0 || low > slots_.size()) return nullptr;
    const Slot& slot = slots_[low - 1];
    if (!slot.object) return nullptr;
    if (((v >> 16) & 0xFF) != slot.generation) return nullptr;
    if (((v >> 24) & 0x0F) != static_cast<std::uint32_t>(slot.object->Kind())) return nullptr;
    return slot.object.get();
}

GdiObject* HandleTable::Lookup(HGDIOBJ handle, ObjectKind kind) const {
    GdiObject* o = Lookup(handle);
    if (!o) return nullptr;
    // An extended pen answers wherever a pen is asked for.
    if (o->Kind() == kind || (kind == ObjectKind::Pen && o->Kind() == ObjectKind::ExtPen)) return o;
    return nullptr;
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
