#include "RegistryDocument.h"

#include "RegistryText.h"

#include <cctype>
#include <cstdio>

namespace platform {
namespace registry {
namespace {

const char* const kFileComment =
    "; Registry store of the Orvento platform layer; the format is in docs/platform.md.";

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipSpace(const std::string& line, size_t pos) {
    while (pos < line.size() && IsSpace(line[pos]))
        ++pos;
    return pos;
}

bool StartsWithNoCase(const std::string& line, size_t pos, const std::string& prefix) {
    return line.size() - pos >= prefix.size() &&
           EqualNoCase(line.substr(pos, prefix.size()), prefix);
}

bool ParseHive(const std::string& name, Hive* hive) {
    if (EqualNoCase(name, "HKLM") || EqualNoCase(name, "HKEY_LOCAL_MACHINE")) {
        *hive = Hive::LocalMachine;
        return true;
    }
    if (EqualNoCase(name, "HKCU") || EqualNoCase(name, "HKEY_CURRENT_USER")) {
        *hive = Hive::CurrentUser;
        return true;
    }
    return false;
}

std::string FormatHeader(Hive hive, const std::vector<std::string>& path) {
    std::string header = hive == Hive::LocalMachine ? "[HKLM" : "[HKCU";
    if (!path.empty())
        header += "\\" + JoinKeyPath(path);
    return header + "]";
}

std::string FormatValue(const RegistryValue& value) {
    std::string line = Quote(value.name) + "=";
    if (value.isDword) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value.dword));
        return line + "dword:" + digits;
    }
    return line + "sz:" + Quote(value.text);
}

bool ParseDword(const std::string& line, size_t pos, uint32_t* dword) {
    uint32_t result = 0;
    size_t digits = 0;
    while (pos < line.size() && std::isxdigit(static_cast<unsigned char>(line[pos]))) {
        if (++digits > 8)
            return false;
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[pos])));
        result = result * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
        ++pos;
    }
    if (digits == 0 || SkipSpace(line, pos) != line.size())
        return false;
    *dword = result;
    return true;
}

bool ParseValueLine(const std::string& line, RegistryValue* value) {
    size_t pos = SkipSpace(line, 0);
    if (!Unquote(line, &pos, &value->name))
        return false;
    pos = SkipSpace(line, pos);
    if (pos >= line.size() || line[pos] != '=')
        return false;
    pos = SkipSpace(line, pos + 1);
    if (StartsWithNoCase(line, pos, "dword:")) {
        value->isDword = true;
        return ParseDword(line, pos + 6, &value->dword);
    }
    if (StartsWithNoCase(line, pos, "sz:")) {
        value->isDword = false;
        pos += 3;
        return Unquote(line, &pos, &value->text) && SkipSpace(line, pos) == line.size();
    }
    return false;
}

// A damaged header still opens a section, so that the values under it are not
// taken for values of the key before it.
void ParseHeader(const std::string& line, bool* known, Hive* hive, std::vector<std::string>* path) {
    *known = false;
    size_t open = SkipSpace(line, 0);
    size_t close = line.rfind(']');
    if (close == std::string::npos || close < open || SkipSpace(line, close + 1) != line.size())
        return;
    std::string inner = line.substr(open + 1, close - open - 1);
    size_t slash = inner.find('\\');
    std::string hiveName = inner.substr(0, slash);
    std::string rest = slash == std::string::npos ? std::string() : inner.substr(slash + 1);
    *known = ParseHive(hiveName, hive) && SplitKeyPath(rest, path);
}

bool IsPrefixNoCase(const std::vector<std::string>& prefix, const std::vector<std::string>& path) {
    if (prefix.size() > path.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (!EqualNoCase(prefix[i], path[i]))
            return false;
    }
    return true;
}

} // namespace

RegistryDocument RegistryDocument::Parse(const std::string& text) {
    RegistryDocument document;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string raw = text.substr(start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();

        size_t first = SkipSpace(raw, 0);
        if (first < raw.size() && raw[first] == '[') {
            Section section;
            section.header = raw;
            ParseHeader(raw, &section.known, &section.hive, &section.path);
            document.sections_.push_back(std::move(section));
            continue;
        }
        Line line;
        line.raw = raw;
        // Values outside any section belong to no key and stay unread.
        if (!document.sections_.empty() && first < raw.size() && raw[first] == '"')
            line.isValue = ParseValueLine(raw, &line.value);
        if (document.sections_.empty())
            document.preamble_.push_back(std::move(line));
        else
            document.sections_.back().lines.push_back(std::move(line));
    }
    return document;
}

std::string RegistryDocument::Serialize() const {
    std::string text;
    for (const Line& line : preamble_)
        text += line.raw + "\n";
    for (const Section& section : sections_) {
        text += section.header + "\n";
        for (const Line& line : section.lines)
            text += line.raw + "\n";
    }
    return text;
}

bool RegistryDocument::Matches(const Section& section, Hive hive,
                               const std::vector<std::string>& path) const {
    return section.known && section.hive == hive && section.path.size() == path.size() &&
           IsPrefixNoCase(path, section.path);
}

bool RegistryDocument::KeyExists(Hive hive, const std::vector<std::string>& path) const {
    if (path.empty())
        return true;
    for (const Section& section : sections_) {
        if (section.known && section.hive == hive && IsPrefixNoCase(path, section.path))
            return true;
    }
    return false;
}

std::vector<std::string> RegistryDocument::StoredCase(Hive hive,
                                                      const std::vector<std::string>& path) const {
    std::vector<std::string> stored = path;
    std::vector<bool> fixed(path.size(), false);
    for (const Section& section : sections_) {
        if (!section.known || section.hive != hive)
            continue;
        for (size_t i = 0; i < path.size() && i < section.path.size(); ++i) {
            if (!EqualNoCase(path[i], section.path[i]))
                break;
            if (!fixed[i]) {
                stored[i] = section.path[i];
                fixed[i] = true;
            }
        }
    }
    return stored;
}

void RegistryDocument::EndWithBlankLine() {
    std::vector<Line>& last = sections_.empty() ? preamble_ : sections_.back().lines;
    if (preamble_.empty() && sections_.empty()) {
        Line comment;
        comment.raw = kFileComment;
        preamble_.push_back(comment);
    }
    if (!last.empty() && SkipSpace(last.back().raw, 0) == last.back().raw.size())
        return;
    last.push_back(Line());
}

RegistryDocument::Section& RegistryDocument::SectionFor(Hive hive,
                                                        const std::vector<std::string>& path) {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        if (Matches(*it, hive, path))
            return *it;
    }
    EndWithBlankLine();
    Section section;
    section.known = true;
    section.hive = hive;
    section.path = StoredCase(hive, path);
    section.header = FormatHeader(hive, section.path);
    sections_.push_back(std::move(section));
    return sections_.back();
}

bool RegistryDocument::AddKey(Hive hive, const std::vector<std::string>& path) {
    for (const Section& section : sections_) {
        if (Matches(section, hive, path))
            return false;
    }
    SectionFor(hive, path);
    return true;
}

const RegistryValue* RegistryDocument::FindValue(Hive hive, const std::vector<std::string>& path,
                                                 const std::string& name) const {
    const RegistryValue* found = nullptr;
    for (const Section& section : sections_) {
        if (!Matches(section, hive, path))
            continue;
        for (const Line& line : section.lines) {
            if (line.isValue && EqualNoCase(line.value.name, name))
                found = &line.value;
        }
    }
    return found;
}

void RegistryDocument::SetValue(Hive hive, const std::vector<std::string>& path,
                                const RegistryValue& value) {
    Line* existing = nullptr;
    for (Section& section : sections_) {
        if (!Matches(section, hive, path))
            continue;
        for (Line& line : section.lines) {
            if (line.isValue && EqualNoCase(line.value.name, value.name))
                existing = &line;
        }
    }
    Line replacement;
    replacement.isValue = true;
    replacement.value = value;
    if (existing != nullptr) {
        replacement.value.name = existing->value.name;
        replacement.raw = FormatValue(replacement.value);
        *existing = replacement;
        return;
    }
    replacement.raw = FormatValue(replacement.value);
    Section& section = SectionFor(hive, path);
    // Keep a key's values together, ahead of the blank lines that part sections.
    auto position = section.lines.end();
    while (position != section.lines.begin() && !(position - 1)->isValue &&
           SkipSpace((position - 1)->raw, 0) == (position - 1)->raw.size())
        --position;
    section.lines.insert(position, replacement);
}

bool RegistryDocument::RemoveValue(Hive hive, const std::vector<std::string>& path,
                                   const std::string& name) {
    bool removed = false;
    for (Section& section : sections_) {
        if (!Matches(section, hive, path))
            continue;
        for (auto it = section.lines.begin(); it != section.lines.end();) {
            if (it->isValue && EqualNoCase(it->value.name, name)) {
                it = section.lines.erase(it);
                removed = true;
            } else {
                ++it;
            }
        }
    }
    return removed;
}

} // namespace registry
} // namespace platform
