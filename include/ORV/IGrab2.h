#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

/// GrabInfo commands.
enum GrabInfoCommand : int32_t {
    GRAB_INFO_NUMBER_IMAGES_AQCUIRED = 0,
    GRAB_INFO_NUMBER_IMAGES_LOST = 1,
    GRAB_INFO_NUMBER_IMAGES_LOST_LOCKED = 2,
    GRAB_INFO_NUMBER_IMAGES_LOCKED = 3,
    GRAB_INFO_NUMBER_IMAGES_PENDIG = 4,
    GRAB_INFO_GRAB_ACTIVE = 5,
    GRAB_INFO_TIMESTAMP = 6,
};

class IGrab2 : public virtual IDisposableType {
public:
    virtual int32_t GrabStart() = 0;
    /// Waits for the next image; writes its 0-based buffer index.
    virtual int32_t GrabWait(int32_t* bufferIndex) = 0;
    virtual int32_t GrabStop(uint8_t flag) = 0;
    virtual int32_t GrabInfo(int32_t command, double* value) = 0;
};

} // namespace ORV
