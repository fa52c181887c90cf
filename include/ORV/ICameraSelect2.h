#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class ICameraSelect2 : public virtual IDisposableType {
public:
    virtual int32_t GetCameraCount(int32_t* count) = 0;
    virtual int32_t GetCurrentCamera(int32_t* index) = 0;
    virtual int32_t SetCamera(int32_t index, ORHandle* newImage) = 0;
};

} // namespace ORV
