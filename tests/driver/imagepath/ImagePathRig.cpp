#include "driver/imagepath/ImagePathRig.h"

#include "system/DriverLogging.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
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

ImagePathRig::ImagePathRig(const RigOptions& options) {
    // What the module's first call does; it also brings the driver's module hooks,
    // which the framework calls, into the test program.
    ConfigureDriverLogging();
    SimEnvironment::Options environment;
    environment.machineText = MachineText();
    environment.configurationText = ConfigurationText(options);
    sim_ = std::make_unique<SimEnvironment>(environment);
    sim_->WriteDriverFile("acq.mcf", AppletText(options.dma));
    system_ = std::make_shared<CDriverSystem>();
    producer_ = std::make_shared<CDriverProducer>(system_, L"~idx:0");
    board_ = producer_->OpenBoard(L"~idx:0");
    if (!board_)
        throw std::runtime_error("the simulated board did not open");
    channel_ = board_->OpenChannel(L"~idx:0", nullptr);
    if (!channel_)
        throw std::runtime_error("the simulated DMA did not open");
    channel_->InitChannel();
    SimCtl_ResetCallCounts();
}

ImagePathRig::~ImagePathRig() {
    SimCtl_ClearFaults();
    channel_.reset();
    board_.reset();
    producer_.reset();
    system_.reset();
    sim_.reset();
}

int64_t ImagePathRig::Produced() const {
    SimCtlDmaCounters counters{};
    if (SimCtl_GetDmaCounters(0, channel_->DmaIndex(), &counters) != SIMCTL_OK)
        return -1;
    return counters.produced;
}

void ImagePathRig::Trigger(int count) const {
    const int64_t target = Produced() + count;
    for (int i = 0; i < count; ++i)
        ASSERT_NE(Fg_SoftwareTrigger(Grabber(), channel_->DmaIndex()), 0) << "trigger refused";
    ASSERT_EQ(
        SimCtl_WaitFrames(0, channel_->DmaIndex(), target,
                          static_cast<unsigned>(std::chrono::milliseconds(kWaitBound).count())),
        SIMCTL_OK)
        << "the DMA did not make " << count << " frames";
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

} // namespace imagepath
