#pragma once
// The error type of the log configuration and of the log-service client.

#include <exception>
#include <string>

namespace nwLogging {

/// Carries a message text; what() is "Unknown exception" when the text is empty.
class LogSvcError : public std::exception {
public:
    LogSvcError() = default;
    explicit LogSvcError(std::string message) : message_(std::move(message)) {}

    const char* what() const noexcept override;
    /// The text as given, empty when there is none.
    const std::string& message() const noexcept { return message_; }

private:
    std::string message_;
};

} // namespace nwLogging
