#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

/// Rectangle actions: 0 get, 1 set, 2 validate, 3 set (offset and size), 4 set.
class IImageRect : public virtual IDisposableType {
public:
    virtual int32_t ImageSize(uint32_t action, int32_t* width, int32_t* height,
                              ORHandle* newImage) = 0;
    virtual int32_t ImageOffset(uint32_t action, int32_t* x, int32_t* y) = 0;
};

} // namespace ORV
