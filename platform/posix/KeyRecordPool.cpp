#include "KeyRecordPool.h"

#include <mutex>

namespace platform {
namespace registry {
namespace {

constexpr uint32_t kOpen = 0x4B45594F;   // "OYEK"
constexpr uint32_t kClosed = 0x4B455943; // "CYEK"

struct FreeRecords {
    std::mutex lock;
    std::vector<KeyRecord*> records; // guarded by lock
    ~FreeRecords() {
        for (KeyRecord* record : records)
            delete record;
    }
};

FreeRecords& Free() {
    static FreeRecords free;
    return free;
}

} // namespace

KeyHandle KeyRecordPool::Acquire(Hive hive, std::vector<std::string> path, uint32_t access,
                                 std::string storePath) {
    KeyRecord* record = nullptr;
    {
        FreeRecords& free = Free();
        std::lock_guard<std::mutex> guard(free.lock);
        if (!free.records.empty()) {
            record = free.records.back();
            free.records.pop_back();
        }
    }
    if (record == nullptr)
        record = new KeyRecord();
    record->hive = hive;
    record->path = std::move(path);
    record->access = access;
    record->storePath = std::move(storePath);
    record->state.store(kOpen);
    return record;
}

bool KeyRecordPool::IsOpen(KeyHandle key) {
    return key != nullptr && key->state.load() == kOpen;
}

bool KeyRecordPool::Release(KeyHandle key) {
    if (key == nullptr)
        return false;
    uint32_t expected = kOpen;
    if (!key->state.compare_exchange_strong(expected, kClosed))
        return false;
    key->path.clear();
    key->storePath.clear();
    FreeRecords& free = Free();
    std::lock_guard<std::mutex> guard(free.lock);
    free.records.push_back(key);
    return true;
}

} // namespace registry
} // namespace platform
