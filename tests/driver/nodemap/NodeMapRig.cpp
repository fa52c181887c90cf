#include "driver/nodemap/NodeMapRig.h"

#include "system/DriverLogging.h"

#include <simctl/SimControl.h>

#include <stdexcept>

namespace nodemaptest {

NodeMapRig::NodeMapRig(const Machine& machine) {
    // What the module's first call does; it also brings the driver's module hooks,
    // which the framework calls, into the test program.
    ConfigureDriverLogging();
    SimEnvironment::Options environment;
    environment.machineText = MachineText(machine);
    environment.configurationText = ConfigurationText(machine);
    sim_ = std::make_unique<SimEnvironment>(environment);
    sim_->WriteDriverFile("acq.mcf", AppletText(machine));
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

NodeMapRig::~NodeMapRig() {
    SimCtl_ClearFaults();
    channel_.reset();
    board_.reset();
    producer_.reset();
    system_.reset();
    sim_.reset();
}

std::weak_ptr<CDriverChannel> NodeMapRig::ReleaseChannel() {
    std::weak_ptr<CDriverChannel> weak = channel_;
    channel_.reset();
    return weak;
}

} // namespace nodemaptest
