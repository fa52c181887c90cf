#pragma once
// A simulated Camera Link board with one DMA, opened without the framework (the
// channel rig), for the buffer list and its providers.
//
//   imagepath::RigOptions options;
//   options.dma.trigger = "software";
//   imagepath::ImagePathRig rig(options);
//   CDriverBufferList list(rig.Channel());

#include "support/ChannelRig.h"

#include <simctl/SimControl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace imagepath {

/// Generous bound for every condition a test waits on.
constexpr std::chrono::seconds kWaitBound{10};

struct DmaSetup {
    uint32_t width = 64;
    uint32_t height = 48;
    std::string format = "gray8";
    /// "freerun" or "software".
    std::string trigger = "freerun";
    /// Frames per second; 0 runs as fast as the buffers allow.
    double frameRate = 0.0;
    std::string pattern = "moving";
    /// Further lines of the applet's DMA section.
    std::string extra;
};

struct RigOptions {
    DmaSetup dma;
    uint32_t buffers = 3;
    uint32_t rotation = 0;
    bool invertdim = false;
    /// Further lines of the [BOARD0_DMA0] section.
    std::string dmaLines;
};

/// The applet file for one DMA.
std::string AppletText(const DmaSetup& dma);
/// ORSisoMe.ini naming the applet and the DMA settings.
std::string ConfigurationText(const RigOptions& options);
/// One Camera Link board (me_5VCL) with one DMA.
std::string MachineText();

/// The rig on the machine of `options`: one Camera Link board with one DMA.
class ImagePathRig : public ChannelRig {
public:
    explicit ImagePathRig(const RigOptions& options = RigOptions())
        : ChannelRig({MachineText(), ConfigurationText(options), AppletText(options.dma)}) {}
};

/// Options of a rig whose DMA waits for software triggers.
RigOptions Triggered(uint32_t buffers = 3);

/// Polls `condition` until it holds or `bound` has passed.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = kWaitBound);

/// The text of the std::runtime_error `action` throws; "" when it throws none.
template <class F> std::string ThrownText(F&& action) {
    try {
        action();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

} // namespace imagepath
