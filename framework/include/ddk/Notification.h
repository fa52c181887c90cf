#pragma once

#include <ORV/ORVTypes.h>

#include <boost/signals2/connection.hpp>

#include <cstdint>
#include <vector>

/// One host registration of an event callback.
struct RegistrationEntry {
    ORV::NotifyCallback callback = nullptr;
    void* user = nullptr;
    uint32_t key = 0;
};

/// The host registrations of one event id, connected once to the driver object
/// that raises it.
struct Notification {
    uint32_t eventId = 0;
    std::vector<RegistrationEntry> registrations;
    boost::signals2::scoped_connection connection;
};
