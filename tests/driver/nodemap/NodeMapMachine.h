#pragma once
// Simulated machines for the node-map, device-control and selection tests, and
// small helpers for host objects and files; no driver code, so end-to-end
// programs, which reach the driver only through the module, use them too.

#include "support/SimEnvironment.h"
#include "support/TempDir.h"

#include <ORCImg/HostObject.h>
#include <ORV/ORVTypes.h>

#include <cstdint>
#include <string>

namespace nodemaptest {

enum class Technology { CameraLink, GigE, CoaXPress };

/// The simulated machine: one board with `dmas` DMAs of `width` x `height` gray8.
/// GigE boards have camera "gcam" on port 0, CoaXPress boards camera "xcam".
struct Machine {
    std::string runtime = "5.7.0";
    Technology technology = Technology::CameraLink;
    unsigned dmas = 1;
    uint32_t width = 640;
    uint32_t height = 480;
    /// "freerun" or "software".
    std::string trigger = "freerun";
    /// Path of a DMA description file the grabber hands out instead of its own.
    std::string dmaDescriptionFile;
    /// Further lines of the [BOARD0_DMA0] section.
    std::string dmaLines;
    /// Further lines of the camera's section (GigE and CoaXPress boards).
    std::string cameraLines;
    /// Further sections of the machine text ([faults], for example).
    std::string extraSections;
};

std::string MachineText(const Machine& machine);
std::string AppletText(const Machine& machine);
std::string ConfigurationText(const Machine& machine);

/// A writable file in a fresh directory of the process's temporary area, removed
/// with the object.
class TempFile {
public:
    explicit TempFile(const std::string& name, const std::string& text = std::string());
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    orvtest::TempDir directory_{"orv-nodemap"};
    std::string path_;
};

/// One reference to a host object, released at the end of the scope.
using orvCImg::HostObject;

/// An integer feature read through a node map; -1 on failure (with the result
/// in `result` when given).
int64_t IntegerFeature(ORHandle nodeMap, const char* name, int32_t* result = nullptr);
/// A string or enumeration feature (the current entry's name); empty on failure.
std::string StringFeature(ORHandle nodeMap, const char* name);
std::string EnumFeature(ORHandle nodeMap, const char* name);
/// A float feature; NaN on failure.
double FloatFeature(ORHandle nodeMap, const char* name);
/// The name of a node map's attached port.
std::string PortName(ORHandle nodeMap);

} // namespace nodemaptest
