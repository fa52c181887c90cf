#include <ddk/CDrvSystem.h>

#include <ddk/CDrvInfo.h>
#include <ddk/CGlobalObj.h>
#include <ddk/DDKException.h>
#include <ddk/Helper.h>

#include <platform/Environment.h>
#include <platform/Registry.h>

namespace {

namespace reg = platform::registry;

const char* const kHostKey = "Software\\Orvento\\Pictora\\";

/// Opens `path` for querying, creating it when it cannot be opened.
reg::ScopedKey OpenOrCreate(const std::string& path, uint32_t createAccess) {
    reg::ScopedKey key;
    if (reg::OpenKey(reg::Hive::LocalMachine, path, reg::KEY_QUERY_VALUE, key.out()) ==
        reg::ERROR_SUCCESS)
        return key;
    if (reg::CreateKey(reg::Hive::LocalMachine, path, createAccess, key.out()) !=
        reg::ERROR_SUCCESS)
        DDK_THROW_GENERIC("DrvSystem", "Unable to Create Registry Key");
    return key;
}

std::string DefaultIniPath(const std::string& driverName) {
    char buffer[1024];
    const bool haveData =
        platform::ReadEnv("ORVDATA", buffer, sizeof buffer).status == platform::EnvStatus::Ok;
    return std::string(haveData ? "$(ORVDATA)" : "$(ORV)") + "\\Drivers\\" + driverName + ".ini";
}

} // namespace

void CDrvSystem::GetIniFilePath(std::string& path) {
    const std::shared_ptr<CDrvInfo> info = CGlobalObj::Get().DriverInfo();
    if (!info)
        DDK_THROW_GENERIC("DrvSystem", "Unable to Create Registry Key");
    const std::string keyPath = kHostKey + info->GetVendorName();
    const std::string valueName = "OR " + info->GetDriverName() + " Driver INI-File";

    reg::ScopedKey key = OpenOrCreate(keyPath, reg::KEY_SET_VALUE);
    char buffer[1023];
    uint32_t size = sizeof buffer;
    std::string stored;
    if (reg::QueryString(key.get(), valueName, buffer, &size) == reg::ERROR_SUCCESS) {
        stored = buffer;
    } else {
        key.reset();
        if (reg::OpenKey(reg::Hive::LocalMachine, keyPath, reg::KEY_SET_VALUE, key.out()) !=
            reg::ERROR_SUCCESS)
            DDK_THROW_GENERIC("DrvSystem", "Unable to Create Registry Key %s", valueName.c_str());
        stored = DefaultIniPath(info->GetDriverName());
        if (reg::SetString(key.get(), valueName, stored) != reg::ERROR_SUCCESS)
            DDK_THROW_GENERIC("DrvSystem", "Unable to Create Registry Key %s", valueName.c_str());
    }
    key.reset();
    path = ExpandEnvironmentReference(stored);
}

uint32_t CDrvSystem::GetDefaultTimeout() {
    reg::ScopedKey key = OpenOrCreate(kHostKey, reg::KEY_SET_VALUE);
    uint32_t value = 0;
    if (reg::QueryDword(key.get(), "Default Timeout", &value) != reg::ERROR_SUCCESS)
        return 10000;
    return value;
}

boost::signals2::connection CDrvSystem::RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler) {
    return events_.Register(eventId, handler);
}

void CDrvSystem::RaiseEvent(uint32_t eventId, void* data, uint32_t size, int32_t value) {
    events_.Raise(eventId, data, size, value);
}
