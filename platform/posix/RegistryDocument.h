#pragma once
// The registry store's text, parsed. Keys are sections "[HKLM\Software\X]", values
// are lines "\"Name\"=sz:\"text\"" or "\"Name\"=dword:0000000a". Lines that are not
// understood (comments, blank lines, damaged entries, sections of unknown hives) are
// absent for readers but kept verbatim, so a hand-edited file survives our writes.

#include <platform/Registry.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
namespace registry {

struct RegistryValue {
    std::string name;
    bool isDword = false;
    std::string text;
    uint32_t dword = 0;
};

/// A plain value type; the store file guards its sharing.
class RegistryDocument {
public:
    static RegistryDocument Parse(const std::string& text);
    std::string Serialize() const;

    /// `path` elements as split by SplitKeyPath. A key exists when it has a section
    /// or a section lies below it; the hive's root always exists.
    bool KeyExists(Hive hive, const std::vector<std::string>& path) const;
    /// `path` spelt as the store already spells its existing part.
    std::vector<std::string> StoredCase(Hive hive, const std::vector<std::string>& path) const;
    /// Adds a section for the key unless one exists; true when added.
    bool AddKey(Hive hive, const std::vector<std::string>& path);

    /// The value; the last line wins when a damaged file repeats a name.
    const RegistryValue* FindValue(Hive hive, const std::vector<std::string>& path,
                                   const std::string& name) const;
    /// Replaces the value (keeping the stored name's case) or adds it.
    void SetValue(Hive hive, const std::vector<std::string>& path, const RegistryValue& value);
    /// Removes every line of the value; false when there was none.
    bool RemoveValue(Hive hive, const std::vector<std::string>& path, const std::string& name);

private:
    struct Line {
        std::string raw;
        bool isValue = false;
        RegistryValue value;
    };
    struct Section {
        bool known = false; // false: unknown hive or damaged header; never matched
        Hive hive = Hive::LocalMachine;
        std::vector<std::string> path;
        std::string header;
        std::vector<Line> lines;
    };

    bool Matches(const Section& section, Hive hive, const std::vector<std::string>& path) const;
    Section& SectionFor(Hive hive, const std::vector<std::string>& path);
    void EndWithBlankLine();

    std::vector<Line> preamble_;
    std::vector<Section> sections_;
};

} // namespace registry
} // namespace platform
