#include <ddk/NodeMapLiveness.h>

#include <ddk/CLockGuard.h>
#include <ddk/CMutex.h>

#include <map>
#include <mutex>

namespace {

CMutex<std::mutex>& TableLock() {
    static CMutex<std::mutex> lock;
    return lock;
}

std::map<uint32_t, uint32_t>& Table() DDK_REQUIRES(TableLock()) {
    static std::map<uint32_t, uint32_t> table;
    return table;
}

} // namespace

uint32_t CNodeMapLiveness::Set(uint32_t channelKey, uint32_t bits) {
    CLockGuard guard(TableLock());
    return Table()[channelKey] |= bits;
}

uint32_t CNodeMapLiveness::Clear(uint32_t channelKey, uint32_t bits) {
    CLockGuard guard(TableLock());
    return Table()[channelKey] &= ~bits;
}

uint32_t CNodeMapLiveness::Get(uint32_t channelKey) {
    CLockGuard guard(TableLock());
    const auto found = Table().find(channelKey);
    return found == Table().end() ? 0 : found->second;
}

bool CNodeMapLiveness::AnyAlive() {
    CLockGuard guard(TableLock());
    for (const auto& entry : Table())
        if (entry.second != 0)
            return true;
    return false;
}
