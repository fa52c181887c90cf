// Maps SDK handles to the objects behind them.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace sim {

// Handles are looked up by address only, never dereferenced, so a stale or made-up handle
// is simply not found. Objects are shared: a call in progress keeps its object alive while
// another thread removes the handle.
//
// Thread-safe: mutex_ guards objects_.
template <typename Handle, typename Object> class HandleTable {
public:
    void Add(const Handle* handle, std::shared_ptr<Object> object) {
        std::lock_guard<std::mutex> lock(mutex_);
        objects_[handle] = std::move(object);
    }

    std::shared_ptr<Object> Find(const Handle* handle) const {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = objects_.find(handle);
        return found == objects_.end() ? nullptr : found->second;
    }

    // Removes the handle and hands out its object (nullptr when unknown).
    std::shared_ptr<Object> Take(const Handle* handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = objects_.find(handle);
        if (found == objects_.end()) {
            return nullptr;
        }
        auto object = std::move(found->second);
        objects_.erase(found);
        return object;
    }

    // Removes every handle whose object matches and hands the objects out.
    template <typename Predicate> std::vector<std::shared_ptr<Object>> TakeIf(Predicate match) {
        std::vector<std::shared_ptr<Object>> taken;
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = objects_.begin(); it != objects_.end();) {
            if (match(*it->second)) {
                taken.push_back(std::move(it->second));
                it = objects_.erase(it);
            } else {
                ++it;
            }
        }
        return taken;
    }

private:
    mutable std::mutex mutex_;
    std::unordered_map<const Handle*, std::shared_ptr<Object>> objects_;
};

} // namespace sim
