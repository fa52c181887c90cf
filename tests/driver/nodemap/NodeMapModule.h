#pragma once
// End-to-end fixture for node maps, device control and the small interfaces:
// ORSisoMe.xvd loaded once per program through the host-application API, a
// sandbox per test with the machine of NodeMapRig, and the module's image.

#include "driver/nodemap/NodeMapMachine.h"

#include <ORHost/HostApp.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace nodemaptest {

class NodeMapModule : public ::testing::Test {
protected:
    void TearDown() override;

    /// Builds the sandbox, loads the module (once per program) and opens its image.
    void Open(const Machine& machine = Machine());
    ORHandle Image() const { return image_.get(); }
    void ReleaseImage() { image_.reset(); }
    /// Replaces the held image by `image` (a reference the caller hands over).
    void ReplaceImage(ORHandle image) { *image_.out() = image; }
    int32_t CanUnload() const { return module_->CanUnload(); }

    template <class I> I* Find() const {
        I* table = orvhost::FindInterface<I>(Image());
        EXPECT_NE(table, nullptr);
        return table;
    }

private:
    std::unique_ptr<SimEnvironment> sim_;
    orvhost::DriverModule* module_ = nullptr; // shared by every test of the program
    HostObject image_;
};

} // namespace nodemaptest
