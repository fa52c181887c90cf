// A small INI reader that keeps line numbers, so configuration errors can name the line.
#pragma once

#include "SimExport.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

// Raised for any malformed configuration text; what() reads "<source>:<line>: <message>".
class SIM_EXPORT ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parsed INI text: [sections] of "key = value" lines. ';' or '#' start a comment at the
// beginning of a line or after white space. Keys and section names are case-sensitive;
// a repeated section or a repeated key within a section is an error.
//
// Immutable after Parse(); safe to read from several threads.
class SIM_EXPORT IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
        int line = 0;
    };
    struct SIM_EXPORT Section { // a nested class is not exported with its outer one on Windows
        std::string name;
        int line = 0;
        std::vector<Entry> entries;
        const Entry* Find(const std::string& key) const;
    };

    static IniDocument Parse(const std::string& text, const std::string& source);
    static IniDocument ParseFile(const std::string& path);

    const std::vector<Section>& Sections() const { return sections_; }
    const Section* Find(const std::string& name) const;
    const std::string& Source() const { return source_; }

    // Builds the error text for a line of this document.
    ConfigError Error(int line, const std::string& message) const;

    // Value conversions; each throws ConfigError naming the entry.
    std::int64_t ToInteger(const Entry& entry, std::int64_t min, std::int64_t max) const;
    std::uint64_t ToUnsigned(const Entry& entry, std::uint64_t max) const;
    double ToDouble(const Entry& entry, double min, double max) const;
    bool ToBool(const Entry& entry) const;
    // Comma-separated list with white space trimmed; an empty value gives an empty list.
    static std::vector<std::string> ToList(const std::string& value);

private:
    std::string source_;
    std::vector<Section> sections_;
};

// Parses decimal or 0x-prefixed hexadecimal text with an optional sign; false on garbage.
SIM_EXPORT bool ParseInteger(const std::string& text, std::int64_t& value);
SIM_EXPORT bool ParseUnsigned(const std::string& text, std::uint64_t& value);

} // namespace sim
