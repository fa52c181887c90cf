#include "support/ScopedEnvironmentVariable.h"

#include <platform/Environment.h>

#include <stdexcept>

namespace {

void Apply(const std::string& name, const std::optional<std::string>& value) {
    const bool done = value ? platform::SetEnv(name, *value) : platform::UnsetEnv(name);
    if (!done)
        throw std::runtime_error("cannot change environment variable " + name);
}

} // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::string name,
                                                     const std::optional<std::string>& value)
    : name_(std::move(name)), saved_(platform::GetEnv(name_)) {
    Apply(name_, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    try {
        Apply(name_, saved_);
    } catch (const std::exception&) {
        // Nothing sensible to do in a destructor; the next test sets its own.
    }
}

void ScopedEnvironmentVariable::Set(const std::optional<std::string>& value) {
    Apply(name_, value);
}
