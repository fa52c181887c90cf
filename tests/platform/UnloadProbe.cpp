// A shared library that links the whole platform layer, as the module does. The
// loader tests check that it can still be unloaded after it used the layer: nothing
// in the layer may pin the library that links it.

#include <platform/DebugOutput.h>
#include <platform/DynamicLibrary.h>
#include <platform/Environment.h>
#include <platform/Process.h>
#include <platform/Registry.h>
#include <platform/SharedMemory.h>
#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

#include <cstring>

extern "C" __attribute__((visibility("default"))) int orv_unload_probe_use_platform() {
    int used = 0;
    // A failed load records the loader's text for the calling thread.
    used += platform::LoadLibrary("orv_unload_probe_missing.dll") == nullptr;
    used += !platform::LastLoadError().empty();
    used += platform::GetEnv("PATH").has_value();
    used += !platform::ExecutableName().empty();
    platform::registry::KeyHandle key = nullptr;
    used += platform::registry::OpenKey(platform::registry::Hive::LocalMachine, "Software",
                                        platform::registry::KEY_READ, &key) != 0;
    char buffer[4];
    used += !platform::ReadSharedMemory("orv_unload_probe_absent", buffer, sizeof buffer).opened;
    // A socket's user starts the socket library (Winsock; nothing on POSIX).
    const platform::SocketLibrary library =
        platform::SocketLibrary::Start(platform::kSocketVersion22, nullptr, nullptr);
    platform::UdpSocket socket = platform::UdpSocket::Open();
    used += static_cast<bool>(socket);
    return used;
}
