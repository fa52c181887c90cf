// The text form of device control as a host's caller types it, on a Camera Link
// DMA of the simulated machine in a sandbox: every get code with a text form and
// the typed set, with the size protocol done right and with sizes the input picks.
#include "driver/nodemap/NodeMapRig.h"

#include "support/ScopedCapture.h"

#include "acquisition/DriverBufferList.h"
#include "devicecontrol/DriverIDeviceCtrl.h"

#include <nwLogging/Levels.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Rig {
    // The capture keeps the driver from asking a log service for its
    // configuration, and holds only error lines, cleared for every input.
    ScopedCapture capture{nwLogging::level_err};
    nodemaptest::NodeMapRig machine;
    CDriverBufferList list{machine.Channel()};
    CDriverIDeviceCtrl control{machine.Channel()};
};

Rig& TheRig() {
    static Rig* rig = new Rig; // kept to the end of the process, as a host would
    return *rig;
}

constexpr uint32_t kCommands[] = {0x800,  0x900,      0x1100,     0x9000,     0x9100,
                                  0x9200, 0x9300,     0x9400,     0x9500,     0x9600,
                                  0x400,  0x10001100, 0x10000900, 0x30001100, 0x50009300};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Rig& rig = TheRig();
    rig.capture->clear();
    FuzzedDataProvider input(data, size);
    const uint32_t command = input.PickValueInArray(kCommands);
    const bool exactSize = input.ConsumeBool();
    const uint64_t pickedSize = input.ConsumeIntegralInRange<uint64_t>(0, 64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    uint64_t needed = 0;
    if (rig.control.TextCommand(&rig.list, command, text.c_str(), text.size(), nullptr, &needed) !=
        0)
        return 0;
    // A size query answers what the text really needs, never a caller's wish.
    if (needed > 4096)
        std::abort();
    uint64_t outputSize = exactSize ? needed : pickedSize;
    // Exactly the size given, so that a write beyond it is caught.
    std::vector<char> output(static_cast<size_t>(outputSize));
    rig.control.TextCommand(&rig.list, command, text.c_str(), text.size(), output.data(),
                            &outputSize);
    return 0;
}
