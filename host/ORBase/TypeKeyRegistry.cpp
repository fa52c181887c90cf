#include "TypeKeyRegistry.h"

#include <new>

namespace orbase {

TypeKeyRegistry& TypeKeyRegistry::Instance() {
    static TypeKeyRegistry registry;
    return registry;
}

ORTypeKey TypeKeyRegistry::KeyFor(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = keys_.find(name);
    if (found != keys_.end())
        return found->second;
    try {
        keys_.emplace(name, next_);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return next_++;
}

} // namespace orbase
