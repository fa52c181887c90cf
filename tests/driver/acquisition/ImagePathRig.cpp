#include "driver/acquisition/ImagePathRig.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

namespace imagepath {

std::string AppletText(const DmaSetup& dma) {
    std::ostringstream text;
    text << "[applet]\nname = ImagePath\ndmas = 1\n\n[dma0]\n"
         << "width = " << dma.width << "\nheight = " << dma.height << "\nformat = " << dma.format
         << "\ntrigger = " << dma.trigger << "\nframerate = " << dma.frameRate
         << "\npattern = " << dma.pattern << "\n"
         << dma.extra << "\n";
    return text.str();
}

std::string ConfigurationText(const RigOptions& options) {
    std::ostringstream text;
    text << "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n\n[BOARD0_DMA0]\n"
         << "framebuffers=" << options.buffers << "\nRotateImage=" << options.rotation
         << "\ninvertdim=" << (options.invertdim ? "true" : "false") << "\n"
         << options.dmaLines << "\n";
    return text.str();
}

std::string MachineText() {
    return "[machine]\nruntime = 5.7.0\n\n[board0]\ntype = 1873\ndmas = 1\n";
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1)); // poll, not a pause
    }
    return true;
}

RigOptions Triggered(uint32_t buffers) {
    RigOptions options;
    options.dma.trigger = "software";
    options.buffers = buffers;
    return options;
}

} // namespace imagepath
