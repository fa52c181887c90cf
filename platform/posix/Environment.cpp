#include <platform/Environment.h>

#include "EnvironmentLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace posix {

std::mutex& EnvironmentLock() {
    static std::mutex lock;
    return lock;
}

} // namespace posix

namespace {

bool ValidName(const std::string& name) {
    return !name.empty() && name.find('=') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

EnvReadResult ReadEnv(const std::string& name, char* buffer, size_t size) {
    EnvReadResult result;
    if (!ValidName(name) || (buffer == nullptr && size != 0)) {
        result.status = EnvStatus::Error;
        result.errorCode = EINVAL;
        return result;
    }
    std::lock_guard<std::mutex> guard(posix::EnvironmentLock());
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) {
        result.status = EnvStatus::NotFound;
        return result;
    }
    size_t length = std::strlen(value);
    if (length + 1 > size) {
        result.status = EnvStatus::TooLarge;
        result.length = length + 1;
        return result;
    }
    std::memcpy(buffer, value, length + 1);
    result.status = EnvStatus::Ok;
    result.length = length;
    return result;
}

std::optional<std::string> GetEnv(const std::string& name) {
    if (!ValidName(name))
        return std::nullopt;
    std::lock_guard<std::mutex> guard(posix::EnvironmentLock());
    const char* value = std::getenv(name.c_str());
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

bool SetEnv(const std::string& name, const std::string& value) {
    if (!ValidName(name) || value.find('\0') != std::string::npos)
        return false;
    std::lock_guard<std::mutex> guard(posix::EnvironmentLock());
    return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool UnsetEnv(const std::string& name) {
    if (!ValidName(name))
        return false;
    std::lock_guard<std::mutex> guard(posix::EnvironmentLock());
    return ::unsetenv(name.c_str()) == 0;
}

} // namespace platform
