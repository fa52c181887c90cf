#pragma once
// A simulated Camera Link board with one DMA, opened without the framework: the
// sandbox, the driver system, producer, board and an initialised channel, for
// the buffer list and its providers.
//
//   imagepath::RigOptions options;
//   options.dma.trigger = "software";
//   imagepath::ImagePathRig rig(options);
//   CDriverBufferList list(rig.Channel());

#include "driver/support/SimEnvironment.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "board/DriverProducer.h"
#include "system/DriverSystem.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
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

class ImagePathRig {
public:
    explicit ImagePathRig(const RigOptions& options = RigOptions());
    ~ImagePathRig();
    ImagePathRig(const ImagePathRig&) = delete;
    ImagePathRig& operator=(const ImagePathRig&) = delete;

    CDriverChannel& Channel() const { return *channel_; }
    CDriverBoard& Board() const { return *board_; }
    SimEnvironment& Sim() const { return *sim_; }
    Fg_Grabber* Grabber() const { return board_->Grabber(); }

    /// Sends `count` software triggers and waits until the DMA has made that many
    /// more frames (delivered or lost).
    void Trigger(int count) const;
    /// Frames the DMA has made in its current acquisition.
    int64_t Produced() const;

private:
    std::unique_ptr<SimEnvironment> sim_;
    std::shared_ptr<CDriverSystem> system_;
    std::shared_ptr<CDriverProducer> producer_;
    std::shared_ptr<CDriverBoard> board_;
    std::shared_ptr<CDriverChannel> channel_;
};

/// Polls `condition` until it holds or `bound` has passed.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = kWaitBound);

} // namespace imagepath
