#include "system/DriverConfiguration.h"

#include <platform/Environment.h>

#include <optional>
#include <set>
#include <vector>

namespace {

constexpr size_t kVariableBuffer = 260;

/// The variable's whole value; nothing when it is unset or empty. Values that do
/// not fit the usual 260 characters are read again with the size they need rather
/// than cut or dropped.
std::optional<std::string> ReadVariable(const std::string& name) {
    std::vector<char> buffer(kVariableBuffer);
    for (;;) {
        const platform::EnvReadResult read = platform::ReadEnv(name, buffer.data(), buffer.size());
        if (read.status == platform::EnvStatus::TooLarge) {
            buffer.resize(read.length); // the value may have grown meanwhile: ask again
            continue;
        }
        if (read.status != platform::EnvStatus::Ok || read.length == 0)
            return std::nullopt;
        return std::string(buffer.data(), read.length);
    }
}

/// Expands `text`; nothing when any reference fails. `active` holds the variables
/// being expanded further up, so a value that refers back to itself (A=%A%, or
/// A=%B% with B=%A%) fails like an unset variable instead of never ending.
std::optional<std::string> Expand(const std::string& text, std::set<std::string>& active) {
    std::string result;
    size_t position = 0;
    while (position < text.size()) {
        const size_t percent = text.find('%', position);
        const size_t dollar = text.find("$(", position);
        if (percent == std::string::npos && dollar == std::string::npos) {
            result.append(text, position, std::string::npos);
            break;
        }
        const bool percentForm = dollar == std::string::npos || percent < dollar;
        const size_t open = percentForm ? percent : dollar;
        const size_t nameStart = open + (percentForm ? 1 : 2);
        const size_t close = text.find(percentForm ? '%' : ')', nameStart);
        if (close == std::string::npos)
            return std::nullopt;
        result.append(text, position, open - position);

        const std::string name = text.substr(nameStart, close - nameStart);
        if (active.count(name) != 0)
            return std::nullopt;
        const std::optional<std::string> value = ReadVariable(name);
        if (!value)
            return std::nullopt;
        active.insert(name);
        const std::optional<std::string> expanded = Expand(*value, active);
        active.erase(name);
        if (!expanded)
            return std::nullopt;
        result += *expanded;
        position = close + 1;
    }
    return result;
}

} // namespace

std::string ExpandEnvironment(const std::string& text) {
    std::set<std::string> active;
    return Expand(text, active).value_or(std::string());
}
