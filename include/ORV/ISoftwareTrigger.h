#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class ISoftwareTrigger : public virtual IDisposableType {
public:
    virtual int32_t Trigger(uint32_t argument) = 0;
};

} // namespace ORV
