#include "support/ChannelRig.h"

#include "system/DriverLogging.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

namespace {

/// Generous bound for the frames a trigger asks for.
constexpr std::chrono::milliseconds kFrameBound{10000};

} // namespace

ChannelRig::ChannelRig(const Setup& setup) {
    // What the module's first call does; it also brings the driver's module hooks,
    // which the framework calls, into the test program.
    ConfigureDriverLogging();
    SimEnvironment::Options environment;
    environment.machineText = setup.machine;
    environment.configurationText = setup.configuration;
    sim_ = std::make_unique<SimEnvironment>(environment);
    sim_->WriteDriverFile("acq.mcf", setup.applet);
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

ChannelRig::~ChannelRig() {
    SimCtl_ClearFaults();
    channel_.reset();
    board_.reset();
    producer_.reset();
    system_.reset();
    sim_.reset();
}

std::weak_ptr<CDriverChannel> ChannelRig::ReleaseChannel() {
    std::weak_ptr<CDriverChannel> weak = channel_;
    channel_.reset();
    return weak;
}

int64_t ChannelRig::Produced() const {
    SimCtlDmaCounters counters{};
    if (SimCtl_GetDmaCounters(0, channel_->DmaIndex(), &counters) != SIMCTL_OK)
        return -1;
    return counters.produced;
}

void ChannelRig::Trigger(int count) const {
    const int64_t target = Produced() + count;
    for (int i = 0; i < count; ++i)
        ASSERT_NE(Fg_SoftwareTrigger(Grabber(), channel_->DmaIndex()), 0) << "trigger refused";
    ASSERT_EQ(SimCtl_WaitFrames(0, channel_->DmaIndex(), target,
                                static_cast<unsigned>(kFrameBound.count())),
              SIMCTL_OK)
        << "the DMA did not make " << count << " frames";
}
