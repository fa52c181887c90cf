#pragma once
// Pixels laid out as PNG wants them: rows top to bottom, samples interleaved,
// 16-bit samples big-endian.

#include <cstddef>
#include <cstdint>
#include <vector>

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    /// 1 gray, 3 RGB.
    int channels = 1;
    /// 8 or 16.
    int bitDepth = 8;
    /// Bits that carried information before scaling to bitDepth (PNG's sBIT).
    int significantBits = 8;
    std::vector<uint8_t> bytes;

    std::size_t RowBytes() const {
        return static_cast<std::size_t>(width) * channels * (bitDepth / 8);
    }
};
