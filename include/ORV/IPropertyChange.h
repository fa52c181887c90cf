#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class IPropertyChange : public virtual IDisposableType {
public:
    virtual int32_t SetImageChangedCallback(ImageChangedCallback callback, void* user) = 0;
    virtual int32_t ClearImageChangedCallback() = 0;
};

} // namespace ORV
