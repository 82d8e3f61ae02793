#include "platform/user/user_handles.h"

namespace brimlox::user {

constinit UserHandleStorage g_userHandles;

namespace {
// The layout is described with the table's constants.
std::uint32_t Encode(std::uint32_t index, std::uint8_t generation, UserKind kind) {
    return 0x20000000u | (static_cast<std::uint32_t>(kind) << UserHandleTable::kKindShift) |
           (static_cast<std::uint32_t>(generation) << UserHandleTable::kGenerationShift) | (index + 1);
}
}  // namespace

std::uint32_t UserHandleTable::Add(std::unique_ptr<UserObject> object) {
    if (!object) return 0;
    std::uint32_t index;
    if (!freeSlots_.empty()) {
        index = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        if (slots_.size() >= kMaxSlots) return 0;
        index = static_cast<std::uint32_t>(slots_.size());
        slots_.emplace_back();
    }
    Slot& slot = slots_[index];
    UserKind kind = object->Kind();
    slot.object = std::move(object);
    slot.handle = Encode(index, slot.generation, kind);
    ++live_[static_cast<int>(kind)];
    return slot.handle;
}

int UserHandleTable::SlotOf(std::uint32_t v) const {
    const std::uint32_t index = (v & kIndexMask) - 1;
    if (index >= slots_.size() || slots_[index].handle != v || !slots_[index].object) return -1;
    return static_cast<int>(index);
}

std::unique_ptr<UserObject> UserHandleTable::Release(std::uint32_t handle) {
    int i = SlotOf(handle);
    if (i < 0) return nullptr;
    Slot& slot = slots_[i];
    --live_[static_cast<int>(slot.object->Kind())];
    auto object = std::move(slot.object);
    slot.handle = 0;
    slot.generation = static_cast<std::uint8_t>(slot.generation == 0xFF ? 1 : slot.generation + 1);
    freeSlots_.push_back(static_cast<std::uint32_t>(i));
    return object;
}

bool UserHandleTable::Remove(std::uint32_t handle) { return Release(handle) != nullptr; }

}  // namespace brimlox::user
