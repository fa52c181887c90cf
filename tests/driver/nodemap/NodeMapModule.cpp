#include "driver/nodemap/NodeMapModule.h"

#include <simctl/SimControl.h>

namespace nodemaptest {

namespace {

/// Loaded once and kept, as a host keeps its driver modules; each test checks
/// that the module would let itself be unloaded.
orvhost::DriverModule* SharedModule(std::string& error) {
    static orvhost::DriverModule* const module =
        orvhost::DriverModule::Load(ORSISOME_PATH, &error).release();
    return module;
}

} // namespace

void NodeMapModule::Open(const Machine& machine) {
    SimEnvironment::Options options;
    options.machineText = MachineText(machine);
    options.configurationText = ConfigurationText(machine);
    sim_ = std::make_unique<SimEnvironment>(options);
    sim_->WriteDriverFile("acq.mcf", AppletText(machine));
    std::string error;
    module_ = SharedModule(error);
    ASSERT_NE(module_, nullptr) << error;
    *image_.out() = module_->GetImageV2();
    ASSERT_TRUE(image_) << "GetImageV2 gave no image";
    SimCtl_ResetCallCounts();
}

void NodeMapModule::TearDown() {
    SimCtl_ClearFaults();
    image_.reset();
    if (module_ != nullptr) {
        EXPECT_EQ(module_->CanUnload(), 1) << "a driver object or node map outlived the test";
    }
    sim_.reset();
}

} // namespace nodemaptest
