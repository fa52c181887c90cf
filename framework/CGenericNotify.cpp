// Notifications, served by the framework itself.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

#include <algorithm>
#include <cstring>

void CGeneric::OnEvent(uint32_t eventId, void* data, uint32_t size, int32_t value) {
    std::vector<RegistrationEntry> registrations;
    {
        CLockGuard guard(notificationLock_);
        const auto found = notifications_.find(eventId);
        if (found == notifications_.end())
            return;
        registrations = found->second.registrations;
    }
    for (const RegistrationEntry& entry : registrations)
        entry.callback(entry.user, data, size, value);
}

int32_t CGeneric::Register(uint32_t eventId, ORV::NotifyCallback callback, void* user,
                           uint32_t* key) {
    return Guarded(log_, [&]() -> int32_t {
        CLockGuard state(stateLock_);
        Binding binding = Bind();
        if (!binding.channel)
            return ORV::E_FAIL;
        std::unique_lock<boost::recursive_mutex> configuration(binding.channel->ConfigurationLock(),
                                                               std::try_to_lock);
        if (!configuration.owns_lock())
            return ORV::E_BUSY;
        CLockGuard guard(notificationLock_);
        if (eventInformation_.count(eventId) == 0)
            return ORV::E_EVENTNOTOFFERED;
        // An offered event with no callback (or nowhere to put the key) would
        // crash when raised: refused.
        if (callback == nullptr || key == nullptr)
            return ORV::E_INVALIDARG;
        Notification& notification = notifications_[eventId];
        if (!notification.connection.connected()) {
            notification.eventId = eventId;
            const ModuleEventSource* owner = eventOwners_[eventId];
            notification.connection =
                owner->Connect(eventId, [this, eventId](void* data, uint32_t size, int32_t value) {
                    OnEvent(eventId, data, size, value);
                });
        }
        const uint32_t newKey = nextRegistrationKey_++;
        notification.registrations.push_back(RegistrationEntry{callback, user, newKey});
        *key = newKey;
        return ORV::OK;
    });
}

int32_t CGeneric::Unregister(uint32_t key) {
    return Guarded(log_, [&]() -> int32_t {
        CLockGuard guard(notificationLock_);
        for (auto& entry : notifications_) {
            auto& registrations = entry.second.registrations;
            const auto found =
                std::find_if(registrations.begin(), registrations.end(),
                             [key](const RegistrationEntry& r) { return r.key == key; });
            if (found != registrations.end()) {
                registrations.erase(found);
                return ORV::OK;
            }
        }
        return ORV::E_INVALIDARG;
    });
}

int32_t CGeneric::GetEventCount(uint32_t* count) {
    if (count == nullptr)
        return ORV::E_INVALIDARG;
    CLockGuard guard(notificationLock_);
    *count = static_cast<uint32_t>(eventInformation_.size());
    return ORV::OK;
}

int32_t CGeneric::GetEventEntry(uint32_t position, char* destination, uint32_t* length,
                                uint32_t* eventId) {
    return Guarded(log_, [&]() -> int32_t {
        CLockGuard guard(notificationLock_);
        if (position >= eventInformation_.size() || length == nullptr)
            return ORV::E_INVALIDARG;
        auto entry = eventInformation_.begin();
        std::advance(entry, position);
        if (eventId != nullptr)
            *eventId = entry->first;
        const std::string& text = entry->second;
        const uint32_t needed = static_cast<uint32_t>(text.size()) + 1;
        if (destination == nullptr || *length == 0) {
            *length = needed;
            return ORV::OK;
        }
        if (*length < needed) {
            *length = needed;
            return ORV::E_INVALIDARG;
        }
        std::memcpy(destination, text.c_str(), needed);
        *length = needed;
        return ORV::OK;
    });
}

int32_t CGeneric::QueryNotification(uint32_t eventId, int32_t type, int64_t* value) {
    return Guarded(log_, [&]() -> int32_t {
        if (value == nullptr)
            return ORV::E_INVALIDARG;
        CLockGuard guard(notificationLock_);
        switch (type) {
        case 0: {
            int64_t total = 0;
            for (const auto& entry : notifications_)
                total += static_cast<int64_t>(entry.second.registrations.size());
            *value = total;
            return ORV::OK;
        }
        case 1: {
            const auto found = notifications_.find(eventId);
            if (found == notifications_.end())
                return ORV::E_EVENTNOTOFFERED;
            *value = static_cast<int64_t>(found->second.registrations.size());
            return ORV::OK;
        }
        case 2:
            *value = eventInformation_.count(eventId) != 0 ? 1 : 0;
            return ORV::OK;
        default:
            return ORV::E_INVALIDARG;
        }
    });
}

int32_t CGeneric::IsRegistered(ORV::NotifyCallback callback, uint8_t* registered) {
    if (registered == nullptr)
        return ORV::E_INVALIDARG;
    CLockGuard guard(notificationLock_);
    *registered = 0;
    for (const auto& entry : notifications_) {
        for (const RegistrationEntry& registration : entry.second.registrations) {
            if (registration.callback == callback)
                *registered = 1;
        }
    }
    return ORV::OK;
}
