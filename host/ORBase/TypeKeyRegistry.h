#pragma once
// Process-wide map from type names to type keys.

#include <ORBase/ORBaseApi.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace orbase {

/// Hands out keys from 2 upwards (1 is the "own object" query key, 0 means none).
/// Thread-safe: one mutex guards the map.
class TypeKeyRegistry {
public:
    static TypeKeyRegistry& Instance();
    /// The key of `name`, registering it on first use; 0 when out of memory.
    ORTypeKey KeyFor(const std::string& name);

private:
    TypeKeyRegistry() = default;
    std::mutex mutex_;
    std::unordered_map<std::string, ORTypeKey> keys_; // guarded by mutex_
    ORTypeKey next_ = 2;                              // guarded by mutex_
};

} // namespace orbase
