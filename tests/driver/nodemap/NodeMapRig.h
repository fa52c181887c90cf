#pragma once
// A rig that opens the driver system, producer, board and one initialised channel
// on a simulated machine, without the framework.
//
//   nodemaptest::Machine machine;
//   machine.runtime = "5.0.0";
//   machine.technology = nodemaptest::Technology::GigE;
//   nodemaptest::NodeMapRig rig(machine);
//   ORHandle camera = rig.Channel().GetCameraNodeMap();

#include "driver/nodemap/NodeMapMachine.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "board/DriverProducer.h"
#include "system/DriverSystem.h"

#include <memory>

namespace nodemaptest {

class NodeMapRig {
public:
    explicit NodeMapRig(const Machine& machine = Machine());
    ~NodeMapRig();
    NodeMapRig(const NodeMapRig&) = delete;
    NodeMapRig& operator=(const NodeMapRig&) = delete;

    CDriverChannel& Channel() const { return *channel_; }
    const std::shared_ptr<CDriverChannel>& ChannelReference() const { return channel_; }
    CDriverBoard& Board() const { return *board_; }
    SimEnvironment& Sim() const { return *sim_; }
    /// Drops the rig's reference to the channel (a node map may still hold it).
    std::weak_ptr<CDriverChannel> ReleaseChannel();

private:
    std::unique_ptr<SimEnvironment> sim_;
    std::shared_ptr<CDriverSystem> system_;
    std::shared_ptr<CDriverProducer> producer_;
    std::shared_ptr<CDriverBoard> board_;
    std::shared_ptr<CDriverChannel> channel_;
};

} // namespace nodemaptest
