#include "e2e/AcquisitionModule.h"

#include <ORBase/ORBaseApi.h>

#include <simctl/SimControl.h>

#include <sstream>
#include <thread>

namespace e2e {

namespace {

std::string Applet(const MachineSetup& setup) {
    std::ostringstream text;
    text << "[applet]\nname = EndToEnd\ndmas = " << setup.dmas << "\n";
    for (uint32_t dma = 0; dma < setup.dmas; ++dma)
        text << "\n[dma" << dma << "]\nwidth = " << setup.width << "\nheight = " << setup.height
             << "\nformat = " << setup.format << "\ntrigger = " << setup.trigger
             << "\nframerate = " << setup.frameRate << "\npattern = " << setup.pattern << "\n";
    return text.str();
}

std::string Configuration(const MachineSetup& setup) {
    std::ostringstream text;
    text << "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n\n[BOARD0_DMA0]\nframebuffers="
         << setup.buffers << "\nRotateImage=" << setup.rotation
         << "\ninvertdim=" << (setup.invertdim ? "true" : "false") << "\n"
         << setup.configurationLines;
    return text.str();
}

std::string BoardLines(const MachineSetup& setup) {
    const std::string dmas = "dmas = " + std::to_string(setup.dmas) + "\n";
    switch (setup.board) {
    case BoardKind::GigE:
        return "[board0]\ntype = 3650\n" + dmas + "port0 = gcam\n\n[camera:gcam]\n";
    case BoardKind::CoaXPress:
        return "[board0]\ntype = 1875\n" + dmas + "cameras = xcam\n\n[camera:xcam]\n";
    case BoardKind::CameraLink:
        break;
    }
    return "[board0]\ntype = 1873\n" + dmas;
}

/// Loaded once and kept, as a host keeps its driver modules for the life of the
/// process; each test still checks that the module would let itself be unloaded.
orvhost::DriverModule* SharedModule(std::string& error) {
    static orvhost::DriverModule* const module =
        orvhost::DriverModule::Load(ORSISOME_PATH, &error).release();
    return module;
}

} // namespace

const char* BoardKindName(BoardKind kind) {
    switch (kind) {
    case BoardKind::GigE:
        return "GigE";
    case BoardKind::CoaXPress:
        return "CoaXPress";
    case BoardKind::CameraLink:
        break;
    }
    return "CameraLink";
}

std::string MachineText(const MachineSetup& setup) {
    return "[machine]\nruntime = 5.7.0\n\n" + BoardLines(setup) + "\n" + setup.machineSections;
}

void AcquisitionModule::Open(const MachineSetup& setup) {
    ASSERT_TRUE(TryOpen(setup)) << "GetImageV2 gave no image";
}

bool AcquisitionModule::TryOpen(const MachineSetup& setup) {
    setup_ = setup;
    SimEnvironment::Options options;
    options.machineText = MachineText(setup);
    options.configurationText = Configuration(setup);
    sim_ = std::make_unique<SimEnvironment>(options);
    sim_->WriteDriverFile("acq.mcf", Applet(setup));

    std::string error;
    module_ = SharedModule(error);
    EXPECT_NE(module_, nullptr) << error;
    if (module_ == nullptr)
        return false;
    *image_.out() = module_->GetImageV2();
    SimCtl_ResetCallCounts();
    return static_cast<bool>(image_);
}

orvhost::HostObject AcquisitionModule::OpenAnotherImage() {
    orvhost::HostObject image;
    if (module_ != nullptr)
        *image.out() = module_->GetImageV2();
    return image;
}

void AcquisitionModule::Close() {
    SimCtl_ClearFaults();
    SimCtl_RecordCallOrder(0);
    image_.reset();
    if (module_ != nullptr) {
        EXPECT_EQ(module_->CanUnload(), 1) << "a driver object outlived the image";
    }
    sim_.reset();
}

void AcquisitionModule::TearDown() {
    Close();
}

int64_t Produced() {
    return DmaCounters().produced;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1)); // poll, not a pause
    }
    return true;
}

} // namespace e2e
