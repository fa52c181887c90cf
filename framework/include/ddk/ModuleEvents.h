#pragma once

#include <ddk/DrvTypes.h>

#include <boost/signals2/signal.hpp>

#include <map>
#include <memory>

/// One event id of one object: a signal any number of handlers connect to.
struct ModuleEvents {
    explicit ModuleEvents(uint32_t id) : eventId(id) {}
    uint32_t eventId;
    boost::signals2::signal<void(void*, uint32_t, int32_t)> signal;
};

/// The event registry every driver base carries. Not locked: the signal's own
/// mutex serialises connecting and calling handlers.
class CEventRegistry {
public:
    boost::signals2::connection Register(uint32_t eventId, const EventHandler& handler);
    /// Calls every handler of the id; an id nobody registered does nothing.
    void Raise(uint32_t eventId, void* data, uint32_t size, int32_t value);

private:
    std::map<uint32_t, std::shared_ptr<ModuleEvents>> events_;
};
