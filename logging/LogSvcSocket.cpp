#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcSocket.h>

namespace nwLogging {

logsvc_socket::logsvc_socket() {
    uint16_t granted = 0;
    int32_t result = platform::kSocketOk;
    library_ = platform::SocketLibrary::Start(platform::kSocketVersion22, &granted, &result);
    if (result != platform::kSocketOk || !library_)
        throw LogSvcError("Winsock startup failed");
    if (granted != platform::kSocketVersion22)
        throw LogSvcError("Requested Winsock version not supported by this system");
    socket_ = platform::UdpSocket::Open();
    if (!socket_)
        throw LogSvcError("Failed to create the log client socket");
    // Larger buffers only make bursts less likely to be dropped; the system's
    // defaults still work when it refuses.
    socket_.SetReceiveBufferSize(buffer_size);
    socket_.SetSendBufferSize(buffer_size);
    // Waits happen only in the readiness test, never in a read or a send.
    if (socket_.SetNonBlocking(true))
        throw LogSvcError("Failed to create the log client socket");
}

logsvc_socket::~logsvc_socket() {
    close();
}

void logsvc_socket::close() {
    socket_.reset();
    library_.reset();
}

} // namespace nwLogging
