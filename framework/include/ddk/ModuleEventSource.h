#pragma once

#include <ddk/DrvTypes.h>

#include <boost/signals2/connection.hpp>

#include <functional>

/// Where the events of one wrapper (system, board or channel) can be subscribed.
class ModuleEventSource {
public:
    using Subscribe = std::function<boost::signals2::connection(uint32_t, const EventHandler&)>;

    ModuleEventSource() = default;
    explicit ModuleEventSource(Subscribe subscribe) : subscribe_(std::move(subscribe)) {}
    boost::signals2::connection Connect(uint32_t eventId, const EventHandler& handler) const {
        return subscribe_ ? subscribe_(eventId, handler) : boost::signals2::connection();
    }

private:
    Subscribe subscribe_;
};
