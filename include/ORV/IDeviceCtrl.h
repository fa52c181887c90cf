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

/// Command classes: the top four bits of a command.
enum DeviceCtrlClass : uint32_t {
    DEVICECTRL_CLASS_GET = 0x00000000u,
    DEVICECTRL_CLASS_SET = 0x10000000u,
};

/// Command codes: the low 28 bits of a command.
enum DeviceCtrlCode : uint32_t {
    DEVICECTRL_DMA_NODEMAP = 0x400,
    DEVICECTRL_CAMERA_NODEMAP = 0x500,
    DEVICECTRL_TIMESTAMP = 0x800,
    DEVICECTRL_IMAGE_NUMBER = 0x900,
    DEVICECTRL_PARAMETER = 0x1100,
    DEVICECTRL_TAG = 0x9000,
    DEVICECTRL_TRANSFER_LENGTH = 0x9100,
    DEVICECTRL_INCOMPLETE_IMAGES = 0x9200,
    DEVICECTRL_BUFFER_COUNT = 0x9300,
    DEVICECTRL_PENDING_IMAGES = 0x9400,
    DEVICECTRL_PARAMETER_ID_LIST = 0x9500,
    DEVICECTRL_BUFFER_TRANSFER_LENGTH = 0x9600,
};

/// Input record of the typed parameter command (DEVICECTRL_PARAMETER), 24 bytes.
struct DeviceCtrlParameter {
    int32_t id;
    int32_t type;
    uint64_t length;
    void* value;
};
static_assert(sizeof(DeviceCtrlParameter) == 24, "parameter record is 24 bytes");

} // namespace ORV
