#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class ITrigger : public virtual IDisposableType {
public:
    virtual int32_t SetTriggerMode(int32_t mode) = 0;
};

} // namespace ORV
