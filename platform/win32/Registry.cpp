#include "WindowsApi.h"

// Our header names the same constants <windows.h> defines as macros, with the same
// values; the macros would turn its declarations into numbers.
#undef KEY_QUERY_VALUE
#undef KEY_SET_VALUE
#undef KEY_READ
#undef KEY_WRITE
#undef KEY_ALL_ACCESS
#undef ERROR_SUCCESS
#undef ERROR_FILE_NOT_FOUND
#undef ERROR_ACCESS_DENIED
#undef ERROR_INVALID_HANDLE
#undef ERROR_INVALID_PARAMETER
#undef ERROR_MORE_DATA
#undef ERROR_UNSUPPORTED_TYPE
#undef ERROR_CANTWRITE

#include <platform/Registry.h>

namespace platform {
namespace registry {
namespace {

// The real registry: a key handle is the HKEY itself.
HKEY Native(KeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

bool RootOf(Hive hive, HKEY* root) {
    switch (hive) {
    case Hive::LocalMachine:
        *root = HKEY_LOCAL_MACHINE;
        return true;
    case Hive::CurrentUser:
        *root = HKEY_CURRENT_USER;
        return true;
    }
    return false;
}

// "Software\Orvento\Pictora\" names the same key without its last separator.
std::string KeyPath(const std::string& path) {
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    return trimmed;
}

} // namespace

std::string StorePath() {
    return std::string(); // the system's own registry, not a file of ours
}

int32_t OpenKey(Hive hive, const std::string& path, uint32_t access, KeyHandle* key) {
    if (key == nullptr)
        return ERROR_INVALID_PARAMETER;
    *key = nullptr;
    HKEY root = nullptr;
    if (!RootOf(hive, &root))
        return ERROR_INVALID_HANDLE;
    HKEY opened = nullptr;
    const LONG result = ::RegOpenKeyExA(root, KeyPath(path).c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<KeyHandle>(opened);
    return result;
}

int32_t CreateKey(Hive hive, const std::string& path, uint32_t access, KeyHandle* key) {
    if (key == nullptr)
        return ERROR_INVALID_PARAMETER;
    *key = nullptr;
    HKEY root = nullptr;
    if (!RootOf(hive, &root))
        return ERROR_INVALID_HANDLE;
    HKEY created = nullptr;
    const LONG result =
        ::RegCreateKeyExA(root, KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                          nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<KeyHandle>(created);
    return result;
}

int32_t QueryString(KeyHandle key, const std::string& name, char* buffer, uint32_t* size) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    if (size == nullptr)
        return ERROR_INVALID_PARAMETER;
    DWORD bytes = buffer != nullptr ? *size : 0;
    const LONG result =
        ::RegGetValueA(Native(key), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &bytes);
    if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)
        *size = bytes;
    return result;
}

int32_t QueryDword(KeyHandle key, const std::string& name, uint32_t* value) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    if (value == nullptr)
        return ERROR_INVALID_PARAMETER;
    DWORD stored = 0;
    DWORD bytes = sizeof stored;
    const LONG result = ::RegGetValueA(Native(key), nullptr, name.c_str(), RRF_RT_REG_DWORD,
                                       nullptr, &stored, &bytes);
    if (result == ERROR_SUCCESS)
        *value = stored;
    return result;
}

int32_t SetString(KeyHandle key, const std::string& name, const std::string& value) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    if (value.size() >= MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    return ::RegSetValueExA(Native(key), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
}

int32_t SetDword(KeyHandle key, const std::string& name, uint32_t value) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    const DWORD stored = value;
    return ::RegSetValueExA(Native(key), name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&stored), sizeof stored);
}

int32_t DeleteValue(KeyHandle key, const std::string& name) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    return ::RegDeleteValueA(Native(key), name.c_str());
}

int32_t CloseKey(KeyHandle key) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    return ::RegCloseKey(Native(key));
}

} // namespace registry
} // namespace platform
