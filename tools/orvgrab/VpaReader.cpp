#include "VpaReader.h"

#include "ToolError.h"

#include <ORV/ResultCodes.h>

#include <string>

namespace {

struct Plane {
    const uint8_t* base;
    const ORV::VpaEntry* table;
};

uint32_t ReadLittleEndian(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

/// Maps a sample of `bits` significant bits to the full range of `outBits` (8 or
/// 16): scaled up when narrower, its top bits when wider.
uint32_t Scale(uint32_t value, int bits, int outBits) {
    const uint64_t most = (uint64_t{1} << bits) - 1;
    const uint64_t outMost = (uint64_t{1} << outBits) - 1;
    value &= static_cast<uint32_t>(most);
    if (bits > outBits)
        return value >> (bits - outBits);
    return static_cast<uint32_t>((value * outMost + most / 2) / most);
}

} // namespace

PngImage VpaReader::Read(ORV::IImageVPA& image) {
    int32_t planes = 0, width = 0, height = 0;
    if (ORV::Failed(image.GetDimensions(&planes, &width, &height)))
        throw ToolError("the image description gives no dimensions");
    if (planes != 1 && planes != 3)
        throw ToolError("cannot write an image of " + std::to_string(planes) +
                        " planes as PNG (1 or 3 are supported)");
    if (width <= 0 || height <= 0)
        throw ToolError("the image is empty (" + std::to_string(width) + " x " +
                        std::to_string(height) + ")");
    int32_t bits = 0;
    if (ORV::Failed(image.GetDataType(0, &bits)) || bits < 1 || bits > 32)
        throw ToolError("cannot write samples of " + std::to_string(bits) + " bits as PNG");

    Plane plane[3] = {};
    for (int32_t p = 0; p < planes; ++p) {
        void* base = nullptr;
        const ORV::VpaEntry* table = nullptr;
        if (ORV::Failed(image.GetPlaneAddress(static_cast<uint32_t>(p), &base, &table)) ||
            base == nullptr || table == nullptr)
            throw ToolError("the image description gives no address for plane " +
                            std::to_string(p));
        plane[p] = {static_cast<const uint8_t*>(base), table};
    }

    PngImage png;
    png.width = static_cast<uint32_t>(width);
    png.height = static_cast<uint32_t>(height);
    png.channels = planes;
    png.bitDepth = bits <= 8 ? 8 : 16;
    png.significantBits = bits <= 16 ? bits : 16;
    const int sampleBytes = bits <= 8 ? 1 : bits <= 16 ? 2 : 4;
    png.bytes.resize(png.RowBytes() * png.height);

    uint8_t* out = png.bytes.data();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            for (int32_t p = 0; p < planes; ++p) {
                const ORV::VpaEntry* table = plane[p].table;
                const uint8_t* at = plane[p].base + table[x].x + table[y].y;
                const uint32_t value = Scale(ReadLittleEndian(at, sampleBytes), bits, png.bitDepth);
                if (png.bitDepth == 16)
                    *out++ = static_cast<uint8_t>(value >> 8);
                *out++ = static_cast<uint8_t>(value);
            }
        }
    }
    return png;
}
