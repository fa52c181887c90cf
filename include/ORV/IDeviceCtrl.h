#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

/// Numbered commands: the top four bits are the class (0 get, 1 set), the low 28
/// bits the code. Without an output pointer the required size is answered.
class IDeviceCtrl : public virtual IDisposableType {
public:
    virtual int32_t TextCommand(uint32_t command, const char* input, uint64_t inputLength,
                                char* output, uint64_t* outputSize) = 0;
    virtual int32_t RawCommand(uint32_t command, const void* input, uint64_t inputSize,
                               void* output, uint64_t* outputSize) = 0;
};

/// Input record of the typed parameter command (code 0x1100), 24 bytes.
struct DeviceCtrlParameter {
    int32_t id;
    int32_t type;
    uint64_t length;
    void* value;
};
static_assert(sizeof(DeviceCtrlParameter) == 24, "parameter record is 24 bytes");

} // namespace ORV
