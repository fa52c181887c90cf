#pragma once
// Types shared by the host imaging library, its applications and driver modules.

#include <cstdint>

extern "C" {
/// An object of the host base library: a shared block holding one object,
/// possibly a base object and an interface container. Opaque outside ORBase.
struct ORObjectBlock;
typedef ORObjectBlock* ORHandle;
}

namespace ORV {

/// One entry of a VPA table: byte offsets of a column (x) and of a row (y).
/// Pixel (x, y) of a plane lies at plane base + table[x].x + table[y].y.
struct VpaEntry {
    int64_t x;
    int64_t y;
};

/// Called by INotify registrations: user pointer, the raiser's data, size and value.
typedef void (*NotifyCallback)(void* user, const void* data, uint32_t size, int32_t value);

/// Called around image replacement (IPropertyChange): user pointer and stage
/// (0 before, 2 after the rectangle changed, 1 after the new image exists).
typedef void (*ImageChangedCallback)(void* user, int32_t stage);

} // namespace ORV
