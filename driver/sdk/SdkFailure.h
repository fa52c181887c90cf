#pragma once
// A failed SDK call inside an operation that reports by exception (the buffer
// list): what() is the driver's own text, Reason() the SDK's description of the
// failure, which the code that logs the exception writes as a line of its own.

#include <stdexcept>
#include <string>

class CSdkFailure : public std::runtime_error {
public:
    CSdkFailure(const std::string& text, std::string reason)
        : std::runtime_error(text), reason_(std::move(reason)) {}

    /// Empty when the SDK gave none.
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::string reason_;
};
