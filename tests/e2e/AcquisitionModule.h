#pragma once
// End-to-end fixture: a sandbox with a simulated Camera Link board, ORSisoMe.xvd
// loaded through the host-application API and its image object, as a host
// application sees them.

#include "support/SimEnvironment.h"

#include <ORHost/HostApp.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace e2e {

/// Generous bound for every condition a test waits on.
constexpr std::chrono::seconds kWaitBound{10};

struct MachineSetup {
    uint32_t width = 64;
    uint32_t height = 48;
    std::string format = "gray8";
    /// "freerun" or "software".
    std::string trigger = "freerun";
    /// Frames per second; 0 as fast as the buffers allow.
    double frameRate = 0.0;
    std::string pattern = "moving";
    uint32_t buffers = 3;
    uint32_t rotation = 0;
    bool invertdim = false;
};

class AcquisitionModule : public ::testing::Test {
protected:
    void TearDown() override;

    /// Builds the sandbox, loads the module and opens its image.
    void Open(const MachineSetup& setup = MachineSetup());
    ORHandle Image() const { return image_.get(); }
    /// Releases the image (and so its buffer list).
    void ReleaseImage() { image_.reset(); }

    template <class I> I* Find(ORHandle image) const {
        I* table = orvhost::FindInterface<I>(image);
        EXPECT_NE(table, nullptr);
        return table;
    }
    ORV::IGrab2* Grab2() const { return Find<ORV::IGrab2>(Image()); }
    ORV::IGrabber* Grabber() const { return Find<ORV::IGrabber>(Image()); }
    ORV::IRingBuffer* Ring() const { return Find<ORV::IRingBuffer>(Image()); }

    const MachineSetup& Settings() const { return setup_; }

private:
    MachineSetup setup_;
    std::unique_ptr<SimEnvironment> sim_;
    orvhost::DriverModule* module_ = nullptr; // shared by every test of the program
    orvhost::HostObject image_;
};

/// Frames the DMA made in its current acquisition (delivered or lost).
int64_t Produced();
/// The simulator's counters of DMA 0 of board 0.
SimCtlDmaCounters DmaCounters();
/// Polls `condition` until it holds or `bound` passed.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = kWaitBound);

} // namespace e2e
