#pragma once
// What ZeroedBlock asks of the operating system for its large blocks.

#include <cstddef>
#include <cstdint>

namespace platform::detail {

/// Blocks from this size on come from the system; below it the allocator's zeroed
/// memory is as good.
constexpr size_t kLargeBlock = size_t{2} << 20;

size_t SystemPageSize();
/// `size` (at least kLargeBlock) bytes that read as zero, aligned for the system's
/// large pages where it offers them; null when the system refuses.
uint8_t* MapZeroedPages(size_t size);
/// Returns a block of MapZeroedPages with the size it was made with.
void UnmapZeroedPages(uint8_t* data, size_t size);

} // namespace platform::detail
