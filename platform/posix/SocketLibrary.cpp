#include <platform/SocketLibrary.h>

#include <atomic>

namespace platform {
namespace {

std::atomic<int> g_startups{0};

int Major(uint16_t version) {
    return version & 0xFF;
}
int Minor(uint16_t version) {
    return (version >> 8) & 0xFF;
}

} // namespace

int32_t SocketStartup(uint16_t requested, uint16_t* granted) {
    if (granted == nullptr)
        return kSocketInvalidArgument;
    if (Major(requested) == 0)
        return kSocketVersionNotSupported;
    bool above22 = Major(requested) > 2 || (Major(requested) == 2 && Minor(requested) > 2);
    *granted = above22 ? kSocketVersion22 : requested;
    g_startups.fetch_add(1);
    return kSocketOk;
}

int32_t SocketCleanup() {
    int count = g_startups.load();
    while (count > 0) {
        if (g_startups.compare_exchange_weak(count, count - 1))
            return kSocketOk;
    }
    return kSocketNotInitialised;
}

SocketLibrary SocketLibrary::Start(uint16_t requested, uint16_t* granted, int32_t* result) {
    uint16_t version = 0;
    int32_t code = SocketStartup(requested, &version);
    if (granted != nullptr)
        *granted = version;
    if (result != nullptr)
        *result = code;
    return SocketLibrary(code == kSocketOk);
}

} // namespace platform
