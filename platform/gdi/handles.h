// The table of GDI objects. Every pen, brush, bitmap, font and device context lives here
// and is known to callers only by its handle. A handle packs a type tag, a generation and a
// slot index, so a stale or forged handle, or a handle of the wrong kind, is refused instead
// of reaching a freed or different object.
//
// Deleting an object that is still selected into a DC is refused, as Windows does; stock
// objects are never deleted. The live counts let tests prove that drawing code leaks nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/wintypes.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::gdi {

enum class ObjectKind : std::uint8_t { None = 0, Dc, Bitmap, Pen, ExtPen, Brush, Font, Region, Palette };
constexpr int kObjectKindCount = 9;

class GdiObject {
public:
    explicit GdiObject(ObjectKind kind) : kind_(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    ObjectKind Kind() const { return kind_; }
    bool IsStock() const { return stock_; }
    void MarkStock() { stock_ = true; }
    // How many DCs currently have this object selected.
    int SelectCount() const { return selectCount_; }
    void AddSelection() { ++selectCount_; }
    void RemoveSelection() { if (selectCount_ > 0) --selectCount_; }
    // DeleteObject on a selected object only marks it; it is freed when last deselected.
    bool DeletePending() const { return deletePending_; }
    void MarkDeletePending() { deletePending_ = true; }

private:
    ObjectKind kind_;
    bool stock_ = false;
    int selectCount_ = 0;
    bool deletePending_ = false;
};

class HandleTable {
public:
    // Handle layout: bits 0-15 slot index + 1, bits 16-23 generation, bits 24-27 kind, bit 28
    // set so that no GDI handle collides with small integers such as system-colour brush indices.
    static constexpr std::uint32_t kGdiMark = 0x10000000u;

    static HandleTable& Instance() {
        // Never destroyed: objects of other layers (icons, window surfaces, host fonts) may free
        // their GDI objects from their own static destructors at process exit, in any order.
        static HandleTable* table = new HandleTable();
        return *table;
    }

    // Stores the object and returns its new handle, or nullptr when the table is full.
    HGDIOBJ Add(std::unique_ptr<GdiObject> object);
    // The object behind a handle, or nullptr if the handle is stale, forged or of another kind.
    // Every GDI call looks up its DC and objects, so the look-up is inline.
    GdiObject* Lookup(HGDIOBJ handle) const {
        const auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
        if ((v & 0xF0000000u) != kGdiMark) return nullptr;
        const std::uint32_t low = v & 0xFFFF;
        if (low == 0 || low > slots_.size()) return nullptr;
        const Slot& slot = slots_[low - 1];
        if (!slot.object || ((v >> 16) & 0xFF) != slot.generation) return nullptr;
        if (((v >> 24) & 0x0F) != static_cast<std::uint32_t>(slot.object->Kind())) return nullptr;
        return slot.object.get();
    }
    GdiObject* Lookup(HGDIOBJ handle, ObjectKind kind) const {
        GdiObject* o = Lookup(handle);
        // An extended pen answers wherever a pen is asked for.
        if (!o || (o->Kind() != kind && !(kind == ObjectKind::Pen && o->Kind() == ObjectKind::ExtPen))) return nullptr;
        return o;
    }
    template <typename T>
    T* Get(HGDIOBJ handle) const {
        return static_cast<T*>(Lookup(handle, T::kKind));
    }
    // Frees the object; false for stock objects and unknown handles.
    bool Remove(HGDIOBJ handle);

    // Objects alive now, stock objects excluded.
    std::size_t LiveCount(ObjectKind kind) const;
    std::size_t LiveCount() const;

private:
    struct Slot {
        std::unique_ptr<GdiObject> object;
        std::uint8_t generation = 1;
    };
    static constexpr std::uint32_t kMaxSlots = 0xFFFF;

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> freeSlots_;
    std::size_t live_[kObjectKindCount] = {};
};

// The type tag encoded in a handle value (0 when the value is not a GDI handle).
ObjectKind KindOfHandle(HGDIOBJ handle);

}  // namespace brimlox::gdi

#include "platform/compat/pop_x11_macros.h"
