#pragma once
// End-to-end fixture: a sandbox with one simulated board (Camera Link, or GigE or
// CoaXPress with a camera), ORSisoMe.xvd loaded through the host-application API
// and its image object, as a host application sees them.

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

/// The board of the simulated machine: a Camera Link board (type 1873), a GigE
/// board (3650) with camera "gcam" on port 0, or a CoaXPress board (1875) with
/// camera "xcam" on port 0.
enum class BoardKind { CameraLink, GigE, CoaXPress };

const char* BoardKindName(BoardKind kind);

struct MachineSetup {
    BoardKind board = BoardKind::CameraLink;
    /// DMAs of the board, each with the same applet settings.
    uint32_t dmas = 1;
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
    /// Further sections of the machine text ([board1], [faults], ...).
    std::string machineSections;
    /// Further lines of ORSisoMe.ini, after the [BOARD0_DMA0] section.
    std::string configurationLines;
};

/// The machine text of `setup`.
std::string MachineText(const MachineSetup& setup);

class AcquisitionModule : public ::testing::Test {
protected:
    void TearDown() override;

    /// Builds the sandbox, loads the module and opens its image.
    void Open(const MachineSetup& setup = MachineSetup());
    /// Open for a machine that may give no image: false when GetImageV2 gave none.
    bool TryOpen(const MachineSetup& setup);
    ORHandle Image() const { return image_.get(); }
    /// A further image of the module, as a host makes one with GetImageV2; null
    /// when the module gives none. The caller owns it.
    orvhost::HostObject OpenAnotherImage();
    /// Replaces the held image by `image`, a reference the caller hands over.
    void HoldImage(ORHandle image) { *image_.out() = image; }
    /// The module's own answer: 1 when no driver object is left.
    int32_t CanUnload() const { return module_->CanUnload(); }
    /// Releases the image (and so its buffer list).
    void ReleaseImage() { image_.reset(); }
    /// Releases the image, checks that the module would unload and removes the
    /// sandbox, so that a test may Open another machine.
    void Close();

    template <class I> I* Find(ORHandle image) const {
        I* table = orvhost::FindInterface<I>(image);
        EXPECT_NE(table, nullptr);
        return table;
    }
    ORV::IGrab2* Grab2() const { return Find<ORV::IGrab2>(Image()); }
    ORV::IGrabber* Grabber() const { return Find<ORV::IGrabber>(Image()); }
    ORV::IRingBuffer* Ring() const { return Find<ORV::IRingBuffer>(Image()); }
    const SimEnvironment& Sandbox() const { return *sim_; }

    const MachineSetup& Settings() const { return setup_; }

private:
    MachineSetup setup_;
    std::unique_ptr<SimEnvironment> sim_;
    orvhost::DriverModule* module_ = nullptr; // shared by every test of the program
    orvhost::HostObject image_;
};

/// Frames the DMA made in its current acquisition (delivered or lost).
int64_t Produced();
/// Polls `condition` until it holds or `bound` passed.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = kWaitBound);

} // namespace e2e
