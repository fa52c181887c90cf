#pragma once
// Sets or unsets one environment variable for the length of a scope.

#include <optional>
#include <string>

/// Remembers the variable's value (or its absence) and puts it back on
/// destruction. Not for use while other threads read the environment.
class ScopedEnvironmentVariable {
public:
    /// Sets `name` to `value`, or unsets it when `value` is empty (nullopt).
    ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

    /// Changes the value again; the original still comes back at the end.
    void Set(const std::optional<std::string>& value);

private:
    std::string name_;
    std::optional<std::string> saved_;
};
