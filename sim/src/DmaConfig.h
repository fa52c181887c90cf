// The applet settings of one DMA: what its next frames look like and when they come.
#pragma once

#include <cstdint>

namespace sim {

// Plain data. A DmaEngine's copy is guarded by its grabber's mutex.
struct DmaConfig {
    std::uint32_t width = 640;
    std::uint32_t height = 480;
    std::uint32_t xoffset = 0;
    std::uint32_t yoffset = 0;
    std::uint32_t maxWidth = 1u << 20;
    std::uint32_t maxHeight = 1u << 20;
    std::uint32_t format = 3; // gray8
    std::uint32_t pixelDepth = 8;
    std::uint32_t timeout = 1000000;
    double frameRate = 0.0;        // 0: free-running, as fast as the buffers allow
    std::uint32_t triggerMode = 0; // SimTriggerMode
    std::uint32_t pattern = 0;     // SimPattern
    std::int32_t patternOffset = 0;
    std::uint64_t shortTransfer = 0; // 0: whole image
};

// What one frame is made of: the part of DmaConfig a frame snapshot needs.
struct FrameSetup {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t xoffset = 0;
    std::uint32_t yoffset = 0;
    std::uint32_t format = 0;
    std::uint32_t pattern = 0;
    std::int32_t patternOffset = 0;
    std::uint64_t shortTransfer = 0;

    static FrameSetup Of(const DmaConfig& config) {
        return FrameSetup{config.width,         config.height,       config.xoffset,
                          config.yoffset,       config.format,       config.pattern,
                          config.patternOffset, config.shortTransfer};
    }
};

} // namespace sim
