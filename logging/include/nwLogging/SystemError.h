#pragma once
// A failed system call, with the system's error code and its text.

#include <stdexcept>
#include <string>

namespace nwLogging {

/// The text is the system's message for the code, or "Error " and the code when
/// the system has none.
class system_error : public std::runtime_error {
public:
    explicit system_error(int code);
    int code() const noexcept { return code_; }

    /// The text a system_error of `code` carries.
    static std::string message_for(int code);

private:
    int code_;
};

} // namespace nwLogging
