#pragma once
// Environment variables of the process. On POSIX names are case-sensitive (Windows
// folds case); reading and writing through these functions is serialised.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

enum class EnvStatus {
    Ok,       // the value and its terminating zero were copied
    NotFound, // the variable is not set
    TooLarge, // the buffer is too small; `length` is the size needed
    Error     // invalid name or buffer; `errorCode` says why
};

struct EnvReadResult {
    EnvStatus status = EnvStatus::Error;
    /// Ok: characters copied, without the terminating zero.
    /// TooLarge: bytes needed, with the terminating zero.
    size_t length = 0;
    /// Error: the system error code.
    uint32_t errorCode = 0;
};

/// Reads `name` into `buffer` of `size` bytes, terminated by a zero. A null buffer
/// with size 0 asks for the size needed (TooLarge).
EnvReadResult ReadEnv(const std::string& name, char* buffer, size_t size);

/// The value of `name`, or nothing when it is not set.
std::optional<std::string> GetEnv(const std::string& name);
/// False when the name is empty or contains '='.
bool SetEnv(const std::string& name, const std::string& value);
bool UnsetEnv(const std::string& name);

} // namespace platform
