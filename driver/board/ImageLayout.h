#pragma once

#include <ORV/ORVTypes.h>

#include <cstddef>
#include <cstdint>
#include <vector>

/// Where the pixels of one image lie in its buffer, as the host sees them. Rotation
/// is expressed only here: no pixel is ever moved, the host walks the buffer with
/// the increments below. Plain value, computed from the channel's settings.
///
/// Pixel (x, y) of plane p of a buffer lies at
///   buffer start + PlaneOffset(p) + startOffset + x * xIncrement + y * yIncrement.
struct ImageLayout {
    uint32_t width = 0;  ///< DMA width as the SDK reports it (before rotation)
    uint32_t height = 0; ///< DMA height (before rotation)
    uint32_t rotation = 0;
    uint32_t hostWidth = 0;
    uint32_t hostHeight = 0;
    int64_t startOffset = 0;
    int64_t xIncrement = 0;
    int64_t yIncrement = 0;
    /// Bytes of one buffer: bytes per pixel x width x height.
    uint64_t imageSize = 0;
    uint32_t bytesPerPixel = 0;
    uint32_t planes = 0;
    /// Bytes per pixel / planes: the distance of two planes of one pixel.
    uint32_t planeIncrement = 0;
    bool planesInverted = false;

    /// Rotation codes 1, 2 and 3 turn by 90, 180 and 270 degrees; any other value
    /// gives the unrotated layout.
    static ImageLayout Compute(uint32_t width, uint32_t height, uint32_t bytesPerPixel,
                               uint32_t planes, uint32_t rotation, bool planesInverted);
};

/// Guard entries before and after the real entries of a VPA table.
constexpr size_t VpaGuardEntries = 4;

/// Entries a VPA table of `layout` needs: max(host width, host height) + 8.
size_t VpaTableEntries(const ImageLayout& layout);

/// Fills `table` (at least VpaTableEntries(layout) entries, starting with the
/// guard entries): entry 4 + i holds column i's x offset and row i's y offset;
/// the guards repeat the first and the last real offsets so that the host may read
/// four entries beyond the image in each direction. Entries outside these rules
/// are zeroed.
void FillVpaTable(const ImageLayout& layout, ORV::VpaEntry* table);

/// A filled table of VpaTableEntries(layout) entries.
std::vector<ORV::VpaEntry> BuildVpaTable(const ImageLayout& layout);

/// The pointer handed to the host: the first real entry of a full table.
inline const ORV::VpaEntry* FirstVpaEntry(const ORV::VpaEntry* table) {
    return table + VpaGuardEntries;
}

/// Byte offset of plane `plane` inside a pixel: plane x plane increment, or in
/// reverse order when the planes are inverted (the grabber delivers BGR, the host
/// expects RGB). The plane number is not checked.
int64_t PlaneOffset(const ImageLayout& layout, uint32_t plane);

/// Base address of plane `plane` of the buffer starting at `bufferStart`.
inline uint8_t* PlaneBase(const ImageLayout& layout, uint8_t* bufferStart, uint32_t plane) {
    return bufferStart + PlaneOffset(layout, plane);
}
