#include <ddk/ModuleEvents.h>

boost::signals2::connection CEventRegistry::Register(uint32_t eventId,
                                                     const EventHandler& handler) {
    std::shared_ptr<ModuleEvents>& events = events_[eventId];
    if (!events)
        events = std::make_shared<ModuleEvents>(eventId);
    return events->signal.connect(handler);
}

void CEventRegistry::Raise(uint32_t eventId, void* data, uint32_t size, int32_t value) {
    const auto found = events_.find(eventId);
    if (found != events_.end())
        found->second->signal(data, size, value);
}
