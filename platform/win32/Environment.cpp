#include "WindowsApi.h"

#include <platform/Environment.h>

#include <vector>

namespace platform {
namespace {

bool ValidName(const std::string& name) {
    return !name.empty() && name.find('=') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

// The process environment block is the one Windows itself reads; names are
// case-insensitive there, and the C run-time's copy does not follow later changes.
EnvReadResult ReadEnv(const std::string& name, char* buffer, size_t size) {
    EnvReadResult result;
    if (!ValidName(name) || (buffer == nullptr && size != 0) || size > MAXDWORD) {
        result.status = EnvStatus::Error;
        result.errorCode = ERROR_INVALID_PARAMETER;
        return result;
    }
    char empty = '\0';
    ::SetLastError(ERROR_SUCCESS);
    const DWORD n = ::GetEnvironmentVariableA(name.c_str(), buffer != nullptr ? buffer : &empty,
                                              static_cast<DWORD>(size));
    if (n == 0) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ENVVAR_NOT_FOUND) {
            result.status = EnvStatus::NotFound;
            return result;
        }
        if (error != ERROR_SUCCESS) {
            result.status = EnvStatus::Error;
            result.errorCode = error;
            return result;
        }
        // An empty value: set, zero characters.
        if (size == 0) {
            result.status = EnvStatus::TooLarge;
            result.length = 1;
            return result;
        }
        buffer[0] = '\0';
        result.status = EnvStatus::Ok;
        return result;
    }
    if (n >= size) { // the size needed, terminating zero included
        result.status = EnvStatus::TooLarge;
        result.length = n;
        return result;
    }
    result.status = EnvStatus::Ok;
    result.length = n;
    return result;
}

std::optional<std::string> GetEnv(const std::string& name) {
    if (!ValidName(name))
        return std::nullopt;
    std::vector<char> buffer(256);
    for (;;) {
        EnvReadResult read = ReadEnv(name, buffer.data(), buffer.size());
        if (read.status == EnvStatus::Ok)
            return std::string(buffer.data(), read.length);
        if (read.status != EnvStatus::TooLarge)
            return std::nullopt;
        buffer.resize(read.length); // it may grow again before the next read
    }
}

bool SetEnv(const std::string& name, const std::string& value) {
    if (!ValidName(name) || value.find('\0') != std::string::npos)
        return false;
    return ::SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

bool UnsetEnv(const std::string& name) {
    if (!ValidName(name))
        return false;
    // Removing a variable that is not set succeeds, as unsetenv does.
    return ::SetEnvironmentVariableA(name.c_str(), nullptr) != 0 ||
           ::GetLastError() == ERROR_ENVVAR_NOT_FOUND;
}

} // namespace platform
