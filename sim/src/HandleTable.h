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
// Thread-safe: m_mutex guards m_objects.
template <typename Handle, typename Object> class HandleTable {
public:
    void add(const Handle* handle, std::shared_ptr<Object> object) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_objects[handle] = std::move(object);
    }

    std::shared_ptr<Object> find(const Handle* handle) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_objects.find(handle);
        return found == m_objects.end() ? nullptr : found->second;
    }

    // Removes the handle and hands out its object (nullptr when unknown).
    std::shared_ptr<Object> take(const Handle* handle) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_objects.find(handle);
        if (found == m_objects.end()) {
            return nullptr;
        }
        auto object = std::move(found->second);
        m_objects.erase(found);
        return object;
    }

    // Removes every handle whose object matches and hands the objects out.
    template <typename Predicate> std::vector<std::shared_ptr<Object>> takeIf(Predicate match) {
        std::vector<std::shared_ptr<Object>> taken;
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_objects.begin(); it != m_objects.end();) {
            if (match(*it->second)) {
                taken.push_back(std::move(it->second));
                it = m_objects.erase(it);
            } else {
                ++it;
            }
        }
        return taken;
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<const Handle*, std::shared_ptr<Object>> m_objects;
};

} // namespace sim
