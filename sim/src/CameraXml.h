// The built-in GenICam description of a simulated camera.
#pragma once

#include "MachineSetup.h"

#include <string>

namespace sim {

// Describes every register of CameraRegisterMap on port "Device", BigEndian as real GigE
// Vision and CoaXPress descriptions declare them: the register path (library plus the
// driver's port) hands the node map the camera's wire order on every runtime.
//
// Stateless; safe from any thread.
class CameraXml {
public:
    static std::string Build(CameraKind kind, const std::string& vendorName,
                             const std::string& modelName);
};

} // namespace sim
