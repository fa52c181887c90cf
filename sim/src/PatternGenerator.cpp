#include "PatternGenerator.h"

#include "PixelFormat.h"

#include <algorithm>
#include <limits>

namespace sim {

namespace {

std::uint64_t RawValue(std::uint32_t pattern, std::uint64_t sx, std::uint64_t sy, unsigned k,
                       std::int64_t picture, std::int32_t offset) {
    const auto p = static_cast<std::uint64_t>(picture);
    const auto o = static_cast<std::uint64_t>(static_cast<std::int64_t>(offset));
    switch (pattern) {
    case 0: // moving
        return sx + 2 * sy + 3 * k + p + o;
    case 1: // ramp
        return sx + 3 * k + o;
    case 2: // constant
        return o;
    case 3: // checker
        return 255 * (((sx / 8) + (sy / 8) + p) % 2) + o;
    case 4: // counter
        return (p >> (8 * (k % 8))) + o;
    default:
        return 0;
    }
}

std::uint64_t SaturatingMul(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return a * b;
}

// One row of `length` bytes (possibly ending inside a pixel).
template <typename ByteOf>
void FillRow(std::uint8_t* dst, std::uint64_t length, unsigned bytesPerPixel,
             const std::uint8_t* masks, ByteOf byteOf) {
    std::uint64_t i = 0;
    for (std::uint64_t x = 0; i < length; ++x) {
        for (unsigned k = 0; k < bytesPerPixel && i < length; ++k, ++i) {
            dst[i] = static_cast<std::uint8_t>(byteOf(x, k) & masks[k]);
        }
    }
}

} // namespace

std::uint8_t PatternGenerator::ByteAt(std::uint32_t pattern, std::uint32_t format, std::uint64_t sx,
                                      std::uint64_t sy, unsigned k, std::int64_t picture,
                                      std::int32_t offset) {
    return static_cast<std::uint8_t>(RawValue(pattern, sx, sy, k, picture, offset) &
                                     PixelFormat::ByteMask(format, k));
}

std::uint64_t PatternGenerator::ImageBytes(const FrameSetup& setup) {
    return SaturatingMul(SaturatingMul(setup.width, setup.height),
                         PixelFormat::BytesPerPixel(setup.format));
}

std::uint64_t PatternGenerator::Fill(std::uint8_t* dst, std::uint64_t capacity,
                                     const FrameSetup& setup, std::int64_t picture) {
    std::uint64_t total = std::min(ImageBytes(setup), capacity);
    if (setup.shortTransfer > 0) {
        total = std::min(total, setup.shortTransfer);
    }
    const unsigned bpp = PixelFormat::BytesPerPixel(setup.format);
    std::uint8_t masks[8];
    for (unsigned k = 0; k < bpp && k < 8; ++k) {
        masks[k] = PixelFormat::ByteMask(setup.format, k);
    }
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(setup.width) * bpp;
    const auto p = static_cast<std::uint64_t>(picture);
    const auto o = static_cast<std::uint64_t>(static_cast<std::int64_t>(setup.patternOffset));
    std::uint64_t written = 0;
    for (std::uint64_t y = 0; written < total; ++y) {
        const std::uint64_t length = std::min(rowBytes, total - written);
        std::uint8_t* row = dst + written;
        const std::uint64_t sy = y + setup.yoffset;
        const std::uint64_t x0 = setup.xoffset;
        switch (setup.pattern) {
        case 0: {
            const std::uint64_t base = x0 + 2 * sy + p + o;
            FillRow(row, length, bpp, masks,
                    [base](std::uint64_t x, unsigned k) { return base + x + 3 * k; });
            break;
        }
        case 1:
            FillRow(row, length, bpp, masks,
                    [x0, o](std::uint64_t x, unsigned k) { return x0 + x + 3 * k + o; });
            break;
        default:
            FillRow(row, length, bpp, masks, [&](std::uint64_t x, unsigned k) {
                return RawValue(setup.pattern, x0 + x, sy, k, picture, setup.patternOffset);
            });
            break;
        }
        written += length;
    }
    return written;
}

} // namespace sim
