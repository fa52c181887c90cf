#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class INotify : public virtual IDisposableType {
public:
    virtual int32_t Register(uint32_t eventId, NotifyCallback callback, void* user,
                             uint32_t* key) = 0;
    virtual int32_t Unregister(uint32_t key) = 0;
    virtual int32_t GetEventCount(uint32_t* count) = 0;
    virtual int32_t GetEventEntry(uint32_t position, char* destination, uint32_t* length,
                                  uint32_t* eventId) = 0;
    /// Type 0: all registrations, 1: registrations of the event, 2: event offered.
    virtual int32_t Query(uint32_t eventId, int32_t type, int64_t* value) = 0;
    virtual int32_t IsRegistered(NotifyCallback callback, uint8_t* registered) = 0;
};

} // namespace ORV
