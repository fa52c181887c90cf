#include <ddk/NodeMapLiveness.h>

#include <map>
#include <mutex>

namespace {

std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

std::map<uint32_t, uint32_t>& Table() {
    static std::map<uint32_t, uint32_t> table; // guarded by TableLock()
    return table;
}

} // namespace

uint32_t CNodeMapLiveness::Set(uint32_t channelKey, uint32_t bits) {
    std::lock_guard<std::mutex> guard(TableLock());
    return Table()[channelKey] |= bits;
}

uint32_t CNodeMapLiveness::Clear(uint32_t channelKey, uint32_t bits) {
    std::lock_guard<std::mutex> guard(TableLock());
    return Table()[channelKey] &= ~bits;
}

uint32_t CNodeMapLiveness::Get(uint32_t channelKey) {
    std::lock_guard<std::mutex> guard(TableLock());
    const auto found = Table().find(channelKey);
    return found == Table().end() ? 0 : found->second;
}

bool CNodeMapLiveness::AnyAlive() {
    std::lock_guard<std::mutex> guard(TableLock());
    for (const auto& entry : Table())
        if (entry.second != 0)
            return true;
    return false;
}
