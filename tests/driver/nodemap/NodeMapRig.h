#pragma once
// The channel rig on a node-map test machine: the driver system, producer, board
// and one initialised channel, without the framework.
//
//   nodemaptest::Machine machine;
//   machine.runtime = "5.0.0";
//   machine.technology = nodemaptest::Technology::GigE;
//   nodemaptest::NodeMapRig rig(machine);
//   ORHandle camera = rig.Channel().GetCameraNodeMap();

#include "driver/nodemap/NodeMapMachine.h"

#include "support/ChannelRig.h"

namespace nodemaptest {

class NodeMapRig : public ChannelRig {
public:
    explicit NodeMapRig(const Machine& machine = Machine())
        : ChannelRig({MachineText(machine), ConfigurationText(machine), AppletText(machine)}) {}
};

} // namespace nodemaptest
