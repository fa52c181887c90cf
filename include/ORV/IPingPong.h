#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class IPingPong : public virtual IDisposableType {
public:
    virtual int32_t Start() = 0;
    virtual int32_t Wait(int32_t* bufferIndex) = 0;
    virtual int32_t Stop() = 0;
    virtual int32_t Status(int32_t* status) = 0;
};

} // namespace ORV
