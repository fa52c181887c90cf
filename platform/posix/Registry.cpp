#include <platform/Registry.h>

#include <platform/Environment.h>
#include <platform/Path.h>

#include "KeyRecordPool.h"
#include "RegistryFile.h"
#include "RegistryText.h"

#include <cstring>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace registry {
namespace {

bool ValidHive(Hive hive) {
    return hive == Hive::LocalMachine || hive == Hive::CurrentUser;
}

std::string HomeDirectory() {
    std::optional<std::string> home = GetEnv("HOME");
    if (home && !home->empty())
        return *home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr)
        return found->pw_dir;
    return std::string();
}

int32_t CheckAccess(KeyHandle key, uint32_t needed) {
    if (!KeyRecordPool::IsOpen(key))
        return ERROR_INVALID_HANDLE;
    if ((key->access & needed) == 0)
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

// Reads the value fresh from the store, so another process's writes are seen.
int32_t ReadValue(KeyHandle key, const std::string& name, RegistryValue* value) {
    RegistryDocument document;
    RegistryFile(key->storePath).Load(&document);
    const RegistryValue* found = document.FindValue(key->hive, key->path, name);
    if (found == nullptr)
        return ERROR_FILE_NOT_FOUND;
    *value = *found;
    return ERROR_SUCCESS;
}

int32_t WriteValue(KeyHandle key, const RegistryValue& value) {
    int32_t access = CheckAccess(key, KEY_SET_VALUE);
    if (access != ERROR_SUCCESS)
        return access;
    return RegistryFile(key->storePath).Update([&](RegistryDocument& document, bool* changed) {
        document.SetValue(key->hive, key->path, value);
        *changed = true;
        return ERROR_SUCCESS;
    });
}

} // namespace

std::string StorePath() {
    std::optional<std::string> file = GetEnv("ORV_REGISTRY_FILE");
    if (file && !file->empty())
        return ToNativePath(*file);
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    std::optional<std::string> config = GetEnv("XDG_CONFIG_HOME");
    if (config && !config->empty() && (*config)[0] == '/')
        return *config + "/orvento/registry.ini";
    std::string home = HomeDirectory();
    if (home.empty())
        return std::string();
    return home + "/.config/orvento/registry.ini";
}

int32_t OpenKey(Hive hive, const std::string& path, uint32_t access, KeyHandle* key) {
    if (key == nullptr)
        return ERROR_INVALID_PARAMETER;
    *key = nullptr;
    if (!ValidHive(hive))
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> elements;
    if (!SplitKeyPath(path, &elements))
        return ERROR_FILE_NOT_FOUND; // no stored key can have such a name
    std::string store = StorePath();
    RegistryDocument document;
    RegistryFile(store).Load(&document);
    if (!document.KeyExists(hive, elements))
        return ERROR_FILE_NOT_FOUND;
    *key =
        KeyRecordPool::Acquire(hive, document.StoredCase(hive, elements), access, std::move(store));
    return ERROR_SUCCESS;
}

int32_t CreateKey(Hive hive, const std::string& path, uint32_t access, KeyHandle* key) {
    if (key == nullptr)
        return ERROR_INVALID_PARAMETER;
    *key = nullptr;
    if (!ValidHive(hive))
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> elements;
    if (!SplitKeyPath(path, &elements))
        return ERROR_INVALID_PARAMETER;
    std::string store = StorePath();
    RegistryDocument document;
    RegistryFile file(store);
    std::vector<std::string> stored;
    file.Load(&document);
    if (document.KeyExists(hive, elements)) {
        stored = document.StoredCase(hive, elements);
    } else {
        int32_t result = file.Update([&](RegistryDocument& current, bool* changed) {
            // Another writer may have created it since the look above.
            *changed = !current.KeyExists(hive, elements) && current.AddKey(hive, elements);
            stored = current.StoredCase(hive, elements);
            return ERROR_SUCCESS;
        });
        if (result != ERROR_SUCCESS)
            return result;
    }
    *key = KeyRecordPool::Acquire(hive, std::move(stored), access, std::move(store));
    return ERROR_SUCCESS;
}

int32_t QueryString(KeyHandle key, const std::string& name, char* buffer, uint32_t* size) {
    int32_t access = CheckAccess(key, KEY_QUERY_VALUE);
    if (access != ERROR_SUCCESS)
        return access;
    if (size == nullptr)
        return ERROR_INVALID_PARAMETER;
    RegistryValue value;
    int32_t result = ReadValue(key, name, &value);
    if (result != ERROR_SUCCESS)
        return result;
    if (value.isDword)
        return ERROR_UNSUPPORTED_TYPE;
    if (value.text.size() >= UINT32_MAX)
        return ERROR_MORE_DATA;
    const uint32_t needed = static_cast<uint32_t>(value.text.size() + 1);
    if (buffer == nullptr) { // a size query
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, value.text.data(), value.text.size());
    buffer[value.text.size()] = '\0';
    *size = needed;
    return ERROR_SUCCESS;
}

int32_t QueryDword(KeyHandle key, const std::string& name, uint32_t* value) {
    int32_t access = CheckAccess(key, KEY_QUERY_VALUE);
    if (access != ERROR_SUCCESS)
        return access;
    if (value == nullptr)
        return ERROR_INVALID_PARAMETER;
    RegistryValue stored;
    int32_t result = ReadValue(key, name, &stored);
    if (result != ERROR_SUCCESS)
        return result;
    if (!stored.isDword)
        return ERROR_UNSUPPORTED_TYPE;
    *value = stored.dword;
    return ERROR_SUCCESS;
}

int32_t SetString(KeyHandle key, const std::string& name, const std::string& value) {
    RegistryValue stored;
    stored.name = name;
    stored.text = value;
    return WriteValue(key, stored);
}

int32_t SetDword(KeyHandle key, const std::string& name, uint32_t value) {
    RegistryValue stored;
    stored.name = name;
    stored.isDword = true;
    stored.dword = value;
    return WriteValue(key, stored);
}

int32_t DeleteValue(KeyHandle key, const std::string& name) {
    int32_t access = CheckAccess(key, KEY_SET_VALUE);
    if (access != ERROR_SUCCESS)
        return access;
    return RegistryFile(key->storePath).Update([&](RegistryDocument& document, bool* changed) {
        *changed = document.RemoveValue(key->hive, key->path, name);
        return *changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

int32_t CloseKey(KeyHandle key) {
    return KeyRecordPool::Release(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // namespace registry
} // namespace platform
