#pragma once
// The module's counterpart of the driver's generic object: the base that
// carries the interface tables.

#include <ORV/IDisposableType.h>

#include <cstdint>

namespace testmodule {

class ModuleGeneric : public ORV::IDisposableType {
public:
    ModuleGeneric();
    ~ModuleGeneric() override;
    ModuleGeneric(const ModuleGeneric&) = delete;
    ModuleGeneric& operator=(const ModuleGeneric&) = delete;

    /// Images acquired since the grab started (driven by the Grab2 table).
    int32_t acquired = 0;
    bool grabbing = false;
};

} // namespace testmodule
