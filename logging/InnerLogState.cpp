#include <nwLogging/Logger.h>

#include <boost/thread/locks.hpp>

#include <stdexcept>

namespace nwLogging {

// The masks are atomics so that the enabled test needs no lock; writers still
// take the exclusive lock so that configuration steps are serialised with each
// other and with the group table.

uint32_t inner_logstate::level_mask() const {
    return levelMask_.load(std::memory_order_relaxed);
}

uint64_t inner_logstate::group_mask() const {
    return groupMask_.load(std::memory_order_relaxed);
}

void inner_logstate::set_level_mask(uint32_t mask) {
    boost::unique_lock<boost::shared_mutex> guard(lock_);
    levelMask_.store(mask, std::memory_order_relaxed);
}

void inner_logstate::set_group_mask(uint64_t mask) {
    boost::unique_lock<boost::shared_mutex> guard(lock_);
    groupMask_.store(mask, std::memory_order_relaxed);
}

void inner_logstate::register_group(uint64_t id, const std::string& name) {
    if (id == no_group)
        throw std::invalid_argument("Invalid group id");
    boost::unique_lock<boost::shared_mutex> guard(lock_);
    groups_[id] = name;
}

std::string inner_logstate::group_name(uint64_t id) const {
    if (id == no_group)
        throw std::invalid_argument("Invalid group id");
    boost::shared_lock<boost::shared_mutex> guard(lock_);
    const auto found = groups_.find(id);
    if (found == groups_.end())
        throw std::invalid_argument("Group id not registered");
    return found->second;
}

uint64_t inner_logstate::group_id(const std::string& name) const {
    boost::shared_lock<boost::shared_mutex> guard(lock_);
    for (const auto& [id, groupName] : groups_) {
        if (groupName == name)
            return id;
    }
    throw std::invalid_argument("Invalid group ID: not registered");
}

} // namespace nwLogging
