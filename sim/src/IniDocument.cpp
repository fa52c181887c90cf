#include "IniDocument.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace sim {

namespace {

std::string Trim(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// A comment starts at ';' or '#' that opens the line or follows white space, so values
// such as "a;b" keep their semicolon.
std::string StripComment(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((line[i] == ';' || line[i] == '#') &&
            (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            return line.substr(0, i);
        }
    }
    return line;
}

} // namespace

bool ParseUnsigned(const std::string& text, std::uint64_t& value) {
    std::string digits = Trim(text);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    if (digits.empty() ||
        digits.find_first_not_of(base == 16 ? "0123456789abcdefABCDEF" : "0123456789") !=
            std::string::npos) {
        return false;
    }
    errno = 0;
    const unsigned long long parsed = std::strtoull(digits.c_str(), nullptr, base);
    if (errno == ERANGE) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInteger(const std::string& text, std::int64_t& value) {
    std::string digits = Trim(text);
    bool negative = false;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits = digits.substr(1);
    }
    std::uint64_t magnitude = 0;
    if (!ParseUnsigned(digits, magnitude)) {
        return false;
    }
    if (negative) {
        if (magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1) {
            return false;
        }
        value = magnitude == static_cast<std::uint64_t>(INT64_MAX) + 1
                    ? INT64_MIN
                    : -static_cast<std::int64_t>(magnitude);
        return true;
    }
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    value = static_cast<std::int64_t>(magnitude);
    return true;
}

const IniDocument::Entry* IniDocument::Section::Find(const std::string& key) const {
    for (const Entry& entry : entries) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

IniDocument IniDocument::Parse(const std::string& text, const std::string& source) {
    IniDocument document;
    document.source_ = source;
    std::istringstream stream(text);
    std::string raw;
    int lineNumber = 0;
    Section* current = nullptr;
    while (std::getline(stream, raw)) {
        ++lineNumber;
        const std::string line = Trim(StripComment(raw));
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                throw document.Error(lineNumber, "section header without closing ']'");
            }
            const std::string name = Trim(line.substr(1, line.size() - 2));
            if (name.empty()) {
                throw document.Error(lineNumber, "empty section name");
            }
            if (document.Find(name) != nullptr) {
                throw document.Error(lineNumber, "section [" + name + "] appears twice");
            }
            document.sections_.push_back(Section{name, lineNumber, {}});
            current = &document.sections_.back();
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            throw document.Error(lineNumber, "expected 'key = value'");
        }
        const std::string key = Trim(line.substr(0, equals));
        if (key.empty()) {
            throw document.Error(lineNumber, "missing key before '='");
        }
        if (current == nullptr) {
            throw document.Error(lineNumber, "key '" + key + "' outside of any section");
        }
        if (current->Find(key) != nullptr) {
            throw document.Error(lineNumber,
                                 "key '" + key + "' appears twice in [" + current->name + "]");
        }
        current->entries.push_back(Entry{key, Trim(line.substr(equals + 1)), lineNumber});
    }
    return document;
}

IniDocument IniDocument::ParseFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw ConfigError(path + ": no such file");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ConfigError(path + ": cannot be read");
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        throw ConfigError(path + ": cannot be read");
    }
    return Parse(content.str(), path);
}

const IniDocument::Section* IniDocument::Find(const std::string& name) const {
    for (const Section& section : sections_) {
        if (section.name == name) {
            return &section;
        }
    }
    return nullptr;
}

ConfigError IniDocument::Error(int line, const std::string& message) const {
    return ConfigError(source_ + ":" + std::to_string(line) + ": " + message);
}

std::int64_t IniDocument::ToInteger(const Entry& entry, std::int64_t min, std::int64_t max) const {
    std::int64_t value = 0;
    if (!ParseInteger(entry.value, value)) {
        throw Error(entry.line, "'" + entry.key + "' needs an integer, not '" + entry.value + "'");
    }
    if (value < min || value > max) {
        throw Error(entry.line, "'" + entry.key + "' = " + entry.value + " is outside " +
                                    std::to_string(min) + ".." + std::to_string(max));
    }
    return value;
}

std::uint64_t IniDocument::ToUnsigned(const Entry& entry, std::uint64_t max) const {
    std::uint64_t value = 0;
    if (!ParseUnsigned(entry.value, value)) {
        throw Error(entry.line,
                    "'" + entry.key + "' needs an unsigned integer, not '" + entry.value + "'");
    }
    if (value > max) {
        throw Error(entry.line,
                    "'" + entry.key + "' = " + entry.value + " is above " + std::to_string(max));
    }
    return value;
}

double IniDocument::ToDouble(const Entry& entry, double min, double max) const {
    const std::string text = Trim(entry.value);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0' || errno == ERANGE ||
        !std::isfinite(value)) {
        throw Error(entry.line, "'" + entry.key + "' needs a number, not '" + entry.value + "'");
    }
    if (value < min || value > max) {
        throw Error(entry.line, "'" + entry.key + "' = " + entry.value + " is out of range");
    }
    return value;
}

bool IniDocument::ToBool(const Entry& entry) const {
    const std::string& v = entry.value;
    if (v == "1" || v == "true" || v == "yes" || v == "on") {
        return true;
    }
    if (v == "0" || v == "false" || v == "no" || v == "off") {
        return false;
    }
    throw Error(entry.line, "'" + entry.key + "' needs true or false, not '" + v + "'");
}

std::vector<std::string> IniDocument::ToList(const std::string& value) {
    std::vector<std::string> items;
    if (Trim(value).empty()) {
        return items;
    }
    std::string::size_type start = 0;
    while (true) {
        const auto comma = value.find(',', start);
        items.push_back(Trim(value.substr(start, comma - start)));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return items;
}

} // namespace sim
