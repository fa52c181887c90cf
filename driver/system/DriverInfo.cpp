#include "system/DriverInfo.h"

#include <cstring>

namespace {

const char kModuleGuid[] = "7A41C0D2-3E95-4f1b-B6A8-52D07C9E1F34";
static_assert(sizeof kModuleGuid == 37, "36 characters and the terminating zero");

} // namespace

std::string CDriverInfo::GetVendorName() {
    return "Nordwell";
}

std::string CDriverInfo::GetDriverName() {
    return "ORSisoMe";
}

int32_t CDriverInfo::GetIntegerInfo() {
    return 0;
}

int32_t CDriverInfo::GetModuleGuid(char* buffer) {
    // Nowhere to write is the caller's fault; report it rather than crash.
    if (buffer == nullptr)
        return -1;
    std::memcpy(buffer, kModuleGuid, sizeof kModuleGuid);
    return 0;
}
