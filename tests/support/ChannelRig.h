#pragma once
// One simulated board opened without the framework: the sandbox, the driver
// system, producer "~idx:0", board "~idx:0" and its initialised channel "~idx:0".
// The acquisition and node-map tests build it from their own machine texts
// (imagepath::ImagePathRig, nodemaptest::NodeMapRig).
//
//   ChannelRig::Setup setup;
//   setup.machine = "[machine]\nruntime = 5.7.0\n\n[board0]\ntype = 1873\ndmas = 1\n";
//   setup.configuration = "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n";
//   setup.applet = "[applet]\ndmas = 1\n\n[dma0]\nwidth = 64\nheight = 48\n";
//   ChannelRig rig(setup);
//   CDriverBufferList list(rig.Channel());

#include "support/SimEnvironment.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "board/DriverProducer.h"
#include "system/DriverSystem.h"

#include <cstdint>
#include <memory>
#include <string>

class ChannelRig {
public:
    struct Setup {
        /// The machine description ($SISODIR5/fgsim_machine.ini).
        std::string machine;
        /// ORSisoMe.ini; it names the applet as %ORVDATA%Drivers\acq.mcf.
        std::string configuration;
        /// Drivers/acq.mcf, the applet file of board 0.
        std::string applet;
    };

    explicit ChannelRig(const Setup& setup);
    ~ChannelRig();
    ChannelRig(const ChannelRig&) = delete;
    ChannelRig& operator=(const ChannelRig&) = delete;

    CDriverChannel& Channel() const { return *channel_; }
    const std::shared_ptr<CDriverChannel>& ChannelReference() const { return channel_; }
    CDriverBoard& Board() const { return *board_; }
    SimEnvironment& Sim() const { return *sim_; }
    Fg_Grabber* Grabber() const { return board_->Grabber(); }
    /// Drops the rig's reference to the channel (a node map may still hold it).
    std::weak_ptr<CDriverChannel> ReleaseChannel();

    /// Sends `count` software triggers and waits until the DMA has made that many
    /// more frames (delivered or lost).
    void Trigger(int count) const;
    /// Frames the DMA has made in its current acquisition; -1 when unknown.
    int64_t Produced() const;

private:
    std::unique_ptr<SimEnvironment> sim_;
    std::shared_ptr<CDriverSystem> system_;
    std::shared_ptr<CDriverProducer> producer_;
    std::shared_ptr<CDriverBoard> board_;
    std::shared_ptr<CDriverChannel> channel_;
};
