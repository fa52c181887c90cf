#pragma once
// What orvgrab reports about the image object before it grabs.

#include <cstdint>
#include <string>

struct ImageFacts {
    /// Board and DMA (the camera of ICameraSelect2), with how many there are; -1
    /// when the image offers no selection interface.
    int32_t board = -1;
    int32_t boards = -1;
    int32_t dma = -1;
    int32_t dmas = -1;
    int32_t planes = 0;
    int32_t width = 0;
    int32_t height = 0;
    /// Bits per sample of each plane (the image's data type).
    int32_t bitsPerSample = 0;
    int32_t buffers = 0;
    uint32_t lockMode = 0;

    /// "gray8", "rgb24", "gray16", ... or "3 planes of 10 bits".
    std::string FormatName() const {
        if (planes == 1)
            return "gray" + std::to_string(bitsPerSample);
        if (planes == 3)
            return "rgb" + std::to_string(3 * bitsPerSample);
        return std::to_string(planes) + " planes of " + std::to_string(bitsPerSample) + " bits";
    }
};
