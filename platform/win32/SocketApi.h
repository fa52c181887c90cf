#pragma once
// The BSD socket calls as Winsock 2 spells them, for the socket code that is the
// same on every system (common/UdpSocket.cpp).

#include "WindowsApi.h"

#include <platform/UdpSocket.h>

#include "Win32Error.h"

namespace platform {
namespace sockets {

using AddressLength = int;

inline SOCKET Handle(UdpSocket::Native socket) {
    return static_cast<SOCKET>(socket);
}

inline std::error_code LastError() {
    return win32::MakeError(static_cast<uint32_t>(::WSAGetLastError()));
}

} // namespace sockets
} // namespace platform
