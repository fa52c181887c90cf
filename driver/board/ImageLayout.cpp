#include "board/ImageLayout.h"

#include <algorithm>

ImageLayout ImageLayout::Compute(uint32_t width, uint32_t height, uint32_t bytesPerPixel,
                                 uint32_t planes, uint32_t rotation, bool planesInverted) {
    ImageLayout layout;
    layout.width = width;
    layout.height = height;
    layout.rotation = rotation;
    layout.bytesPerPixel = bytesPerPixel;
    layout.planes = planes;
    layout.planeIncrement = planes != 0 ? bytesPerPixel / planes : 0;
    layout.planesInverted = planesInverted;
    // 64-bit arithmetic: large images must not wrap the offsets.
    const int64_t w = width;
    const int64_t h = height;
    const int64_t b = bytesPerPixel;
    layout.imageSize = static_cast<uint64_t>(w * h * b);
    switch (rotation) {
    case 1: // 90 degrees: host (x, y) is source (y, H - 1 - x)
        layout.hostWidth = height;
        layout.hostHeight = width;
        layout.startOffset = (h - 1) * w * b;
        layout.xIncrement = -(w * b);
        layout.yIncrement = b;
        break;
    case 2: // 180 degrees: host (x, y) is source (W - 1 - x, H - 1 - y)
        layout.hostWidth = width;
        layout.hostHeight = height;
        layout.startOffset = (w * h - 1) * b;
        layout.xIncrement = -b;
        layout.yIncrement = -(w * b);
        break;
    case 3: // 270 degrees: host (x, y) is source (W - 1 - y, x)
        layout.hostWidth = height;
        layout.hostHeight = width;
        layout.startOffset = (w - 1) * b;
        layout.xIncrement = w * b;
        layout.yIncrement = -b;
        break;
    default:
        layout.hostWidth = width;
        layout.hostHeight = height;
        layout.startOffset = 0;
        layout.xIncrement = b;
        layout.yIncrement = w * b;
        break;
    }
    return layout;
}

size_t VpaTableEntries(const ImageLayout& layout) {
    return static_cast<size_t>(std::max(layout.hostWidth, layout.hostHeight)) + 2 * VpaGuardEntries;
}

void FillVpaTable(const ImageLayout& layout, ORV::VpaEntry* table) {
    const size_t entries = VpaTableEntries(layout);
    std::fill(table, table + entries, ORV::VpaEntry{0, 0});
    ORV::VpaEntry* real = table + VpaGuardEntries;
    for (uint32_t i = 0; i < layout.hostWidth; ++i)
        real[i].x = layout.startOffset + static_cast<int64_t>(i) * layout.xIncrement;
    for (uint32_t j = 0; j < layout.hostHeight; ++j)
        real[j].y = static_cast<int64_t>(j) * layout.yIncrement;
    // The host may look up to four entries beyond the image on each side.
    for (size_t g = 0; g < VpaGuardEntries; ++g) {
        table[g] = real[0];
        if (layout.hostWidth > 0)
            real[layout.hostWidth + g].x = real[layout.hostWidth - 1].x;
        if (layout.hostHeight > 0)
            real[layout.hostHeight + g].y = real[layout.hostHeight - 1].y;
    }
}

std::vector<ORV::VpaEntry> BuildVpaTable(const ImageLayout& layout) {
    std::vector<ORV::VpaEntry> table(VpaTableEntries(layout));
    FillVpaTable(layout, table.data());
    return table;
}

int64_t PlaneOffset(const ImageLayout& layout, uint32_t plane) {
    const int64_t increment = layout.planeIncrement;
    const int64_t offset = static_cast<int64_t>(plane) * increment;
    // With a zero increment (col30) every plane starts at the pixel; reversing
    // would move them past the pixel's last byte.
    if (layout.planesInverted && layout.planes > 1 && increment > 0)
        return static_cast<int64_t>(layout.bytesPerPixel) - increment - offset;
    return offset;
}
