// Writes DWORD values "<prefix><i>" = i, for i below <count>, into a key of the
// registry store named by ORV_REGISTRY_FILE, one write per value, as another
// process of the product would. Exit status 0 when every write succeeded.
//
//   orv_registry_writer <HKLM|HKCU> <key path> <prefix> <count> [string value]
// With a string value it writes that one string under <prefix> instead.

#include <platform/Registry.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace platform::registry;

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s HKLM|HKCU key prefix count [string]\n", argv[0]);
        return 2;
    }
    const Hive hive = std::string(argv[1]) == "HKCU" ? Hive::CurrentUser : Hive::LocalMachine;
    ScopedKey key;
    if (CreateKey(hive, argv[2], KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
        return 3;
    if (argc == 6)
        return SetString(key.get(), argv[3], argv[5]) == ERROR_SUCCESS ? 0 : 4;
    const long count = std::strtol(argv[4], nullptr, 10);
    for (long i = 0; i < count; ++i) {
        std::string name = std::string(argv[3]) + std::to_string(i);
        if (SetDword(key.get(), name, static_cast<uint32_t>(i)) != ERROR_SUCCESS)
            return 4;
    }
    return 0;
}
