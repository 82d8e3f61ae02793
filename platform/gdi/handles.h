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
    static HandleTable& Instance();

    // Stores the object and returns its new handle, or nullptr when the table is full.
    HGDIOBJ Add(std::unique_ptr<GdiObject> object);
    // The object behind a handle, or nullptr if the handle is stale, forged or of another kind.
    GdiObject* Lookup(HGDIOBJ handle) const;
    GdiObject* Lookup(HGDIOBJ handle, ObjectKind kind) const;
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
