// The table of USER objects: windows, hooks, icons and cursors, and (later) menus. Like the GDI
// table, a handle packs a type tag, a generation and a slot index, so a stale handle or one of
// another kind is refused instead of reaching a freed or different object. USER handles carry
// their own mark so that no HWND ever equals a GDI handle value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/wintypes.h"

namespace brimlox::user {

enum class UserKind : std::uint8_t { None = 0, Window, Hook, Icon, Menu };
constexpr int kUserKindCount = 5;

class UserObject {
public:
    explicit UserObject(UserKind kind) : kind_(kind) {}
    virtual ~UserObject() = default;
    UserObject(const UserObject&) = delete;
    UserObject& operator=(const UserObject&) = delete;
    UserKind Kind() const { return kind_; }

private:
    UserKind kind_;
};

class UserHandleTable {
public:
    static UserHandleTable& Instance() {
        // Never destroyed, like the GDI's table: static destructors of other layers may still
        // destroy windows or icons at process exit.
        static UserHandleTable* table = new UserHandleTable();
        return *table;
    }

    // Stores the object and returns its handle value, or 0 when the table is full.
    std::uint32_t Add(std::unique_ptr<UserObject> object);
    // Inline: every message, hit test and coordinate mapping goes through here.
    UserObject* Lookup(std::uint32_t handle, UserKind kind) const {
        std::uint32_t low = handle & 0xFFFF;
        if ((handle & 0xF0000000u) != kUserMark || low == 0 || low > slots_.size()) return nullptr;
        const Slot& slot = slots_[low - 1];
        UserObject* o = slot.object.get();
        if (!o || ((handle >> 16) & 0xFF) != slot.generation) return nullptr;
        // The kind bits of the handle must name the object's kind, and that the one asked for.
        if (((handle >> 24) & 0x0F) != static_cast<std::uint32_t>(o->Kind()) || o->Kind() != kind) return nullptr;
        return o;
    }
    template <typename T, typename H>
    T* Get(H handle) const {
        return static_cast<T*>(Lookup(HandleValue(handle), T::kKind));
    }
    // Frees the object behind the handle; false when the handle is unknown.
    bool Remove(std::uint32_t handle);
    // Takes the object out without destroying it (the caller finishes it off later).
    std::unique_ptr<UserObject> Release(std::uint32_t handle);

    std::size_t LiveCount(UserKind kind) const { return live_[static_cast<int>(kind)]; }

private:
    struct Slot {
        std::unique_ptr<UserObject> object;
        std::uint8_t generation = 1;
    };
    static constexpr std::uint32_t kMaxSlots = 0xFFFF;
    static constexpr std::uint32_t kUserMark = 0x20000000u;
    int SlotOf(std::uint32_t handle) const;

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> freeSlots_;
    std::size_t live_[kUserKindCount] = {};
};

}  // namespace brimlox::user
