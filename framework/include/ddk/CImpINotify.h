#pragma once

#include <ORV/INotify.h>
#include <ddk/CGeneric.h>

/// The host's ORV::INotify table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpINotify : public ORV::INotify {
public:
    explicit CImpINotify(CGeneric* generic) : generic_(generic) {}

    int32_t Register(uint32_t eventId, ORV::NotifyCallback callback, void* user,
                     uint32_t* key) override {
        return generic_->Register(eventId, callback, user, key);
    }
    int32_t Unregister(uint32_t key) override { return generic_->Unregister(key); }
    int32_t GetEventCount(uint32_t* count) override { return generic_->GetEventCount(count); }
    int32_t GetEventEntry(uint32_t position, char* destination, uint32_t* length,
                          uint32_t* eventId) override {
        return generic_->GetEventEntry(position, destination, length, eventId);
    }
    int32_t Query(uint32_t eventId, int32_t type, int64_t* value) override {
        return generic_->QueryNotification(eventId, type, value);
    }
    int32_t IsRegistered(ORV::NotifyCallback callback, uint8_t* registered) override {
        return generic_->IsRegistered(callback, registered);
    }

private:
    CGeneric* generic_;
};
