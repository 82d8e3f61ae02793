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

#include "platform/compat/push_x11_macros.h"

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
    constexpr UserHandleTable() = default;
    // The one table of the process (see g_userHandles below).
    static UserHandleTable& Instance();

    // Stores the object and returns its handle value, or 0 when the table is full.
    std::uint32_t Add(std::unique_ptr<UserObject> object);
    // Inline: every message, hit test and coordinate mapping goes through here.
    // A slot remembers the whole handle of its live object (0 when free), so one comparison
    // checks the mark, generation and kind bits; the kind asked for is read off the handle.
    UserObject* Lookup(std::uint32_t handle, UserKind kind) const {
        const std::uint32_t index = (handle & kIndexMask) - 1;  // wraps for slot 0, which is never used
        if (index >= slots_.size()) return nullptr;
        const Slot& slot = slots_[index];
        if (slot.handle != handle || ((handle >> kKindShift) & 0x07) != static_cast<std::uint32_t>(kind)) return nullptr;
        return slot.object.get();
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

    // Handle layout: bits 0-16 slot index + 1, bits 17-24 generation, bits 25-27 kind, bits
    // 28-31 the USER mark 0x2 (GDI handles use 0x1). 17 index bits give room for a form file's
    // largest number of controls (each may own a window) plus the host's own windows.
    static constexpr std::uint32_t kIndexMask = 0x1FFFF;
    static constexpr int kGenerationShift = 17;
    static constexpr int kKindShift = 25;
    static constexpr std::uint32_t kMaxSlots = kIndexMask;

private:
    struct Slot {
        std::unique_ptr<UserObject> object;
        std::uint32_t handle = 0;  // the live object's handle, 0 when the slot is free
        std::uint8_t generation = 1;
    };
    int SlotOf(std::uint32_t handle) const;

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> freeSlots_;
    std::size_t live_[kUserKindCount] = {};
};

// Storage for the one table: constant-initialised, so a look-up neither checks a guard
// variable nor follows a pointer to the table first (every message makes several look-ups),
// and never destroyed, like the GDI's table: static destructors of other layers may still
// destroy windows or icons at process exit. Hidden, so code inside the library reaches it
// directly rather than through the global offset table; nothing outside the library uses it.
union UserHandleStorage {
    constexpr UserHandleStorage() : table() {}
    ~UserHandleStorage() {}
    UserHandleTable table;
};
[[gnu::visibility("hidden")]] extern constinit UserHandleStorage g_userHandles;

inline UserHandleTable& UserHandleTable::Instance() { return g_userHandles.table; }

}  // namespace brimlox::user

#include "platform/compat/pop_x11_macros.h"
