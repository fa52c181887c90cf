// The GenICam description of a DMA's applet parameters.
#pragma once

#include <string>

namespace sim {

// One register per parameter at address = parameter id, as long as the parameter's type
// (4 bytes for 32-bit values, 8 for 64-bit and double), little-endian like the values
// Fg_GetParameter writes. The port is "DevicePort" on runtimes 5.2 and newer and "Device"
// on older ones, the name each runtime's grabber descriptions use.
//
// Stateless; safe from any thread.
class DmaDescription {
public:
    static std::string Build(const std::string& runtime, int boardType, unsigned dma,
                             const std::string& appletName);
    // True for runtime texts 5.2 and newer.
    static bool NewRuntime(const std::string& runtime);
};

} // namespace sim
