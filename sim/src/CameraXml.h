// The built-in GenICam description of a simulated camera.
#pragma once

#include "MachineSetup.h"

#include <string>

namespace sim {

// Describes every register of CameraRegisterMap on port "Device". GigE cameras declare
// LittleEndian registers: their memory is big-endian on the wire and the register path
// (library plus driver) reverses each access, so the node map sees little-endian bytes.
// String registers are left out of the GigE description for the same reason: a reversed
// text would read backwards. CoaXPress registers reach the node map unchanged and are
// declared BigEndian.
//
// Stateless; safe from any thread.
class CameraXml {
public:
    static std::string Build(CameraKind kind, const std::string& vendorName,
                             const std::string& modelName);
};

} // namespace sim
