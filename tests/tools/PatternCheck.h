#pragma once
// Compares an image orvgrab wrote with the simulator's pattern generator.

#include "PngImage.h"

#include <cstdint>
#include <string>

namespace toolstest {

/// The DMA as the applet sets it up and the driver presents it.
struct DmaLayout {
    uint32_t width = 640;
    uint32_t height = 480;
    /// SDK pixel format code: 3 gray8, 1 gray16, 2 color24.
    int format = 3;
    uint32_t rotation = 0;
    bool invertdim = false;
};

/// Samples of `png` that differ from the moving pattern of picture `picture`;
/// the first few are described in `detail`.
int PatternMismatches(const PngImage& png, const DmaLayout& layout, int64_t picture,
                      std::string* detail);

} // namespace toolstest
