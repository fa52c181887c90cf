#include "WindowsApi.h"

#include <platform/SocketLibrary.h>

namespace platform {

int32_t SocketStartup(uint16_t requested, uint16_t* granted) {
    if (granted == nullptr)
        return kSocketInvalidArgument;
    WSADATA data{};
    const int result = ::WSAStartup(requested, &data);
    *granted = data.wVersion;
    return result;
}

int32_t SocketCleanup() {
    return ::WSACleanup() == 0 ? kSocketOk : ::WSAGetLastError();
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
