#pragma once
// The module's IGrab2 table, forwarding to its generic object.

#include "ModuleGeneric.h"

#include <ORV/IGrab2.h>

namespace testmodule {

class ModuleGrab2 : public ORV::IGrab2 {
public:
    explicit ModuleGrab2(ModuleGeneric* generic);
    ~ModuleGrab2() override;
    int32_t GrabStart() override;
    int32_t GrabWait(int32_t* bufferIndex) override;
    int32_t GrabStop(uint8_t flag) override;
    int32_t GrabInfo(int32_t command, double* value) override;

private:
    ModuleGeneric* generic_;
};

} // namespace testmodule
