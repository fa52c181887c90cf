#pragma once
// Open registry keys. A record is self-contained (hive, path, access, store), so a
// key opened by one copy of this library (the host utilities) can be read and
// closed by another (the module). Closed records are kept for reuse rather than
// freed, so a closed handle is recognised as closed instead of touching freed memory.

#include <platform/Registry.h>

#include <atomic>
#include <string>
#include <vector>

namespace platform {
namespace registry {

struct KeyRecord {
    std::atomic<uint32_t> state{0};
    Hive hive = Hive::LocalMachine;
    std::vector<std::string> path; // as the store spells it
    uint32_t access = 0;
    std::string storePath; // the store the key was opened in
};

/// Thread-safe.
class KeyRecordPool {
public:
    static KeyHandle Acquire(Hive hive, std::vector<std::string> path, uint32_t access,
                             std::string storePath);
    static bool IsOpen(KeyHandle key);
    /// False when `key` is null or not open.
    static bool Release(KeyHandle key);
};

} // namespace registry
} // namespace platform
