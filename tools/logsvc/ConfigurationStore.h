#pragma once
// The per-module configuration sets the service answers, from a JSON file.

#include <boost/property_tree/ptree.hpp>

#include <optional>
#include <string>

namespace logsvc {

/// The file is an object of sets: a set's key is a module name ("GDRVM"), a
/// module name for one process ("GDRVM@orvgrab") or "*" for every module; its
/// value is an object of plain values, sent to the module as it stands.
/// The file is read again for each lookup, so edits apply to the next module
/// that starts. Without a file every module gets DefaultSet. Thread-safe (no
/// state besides the path).
class ConfigurationStore {
public:
    static constexpr const char* DefaultSet =
        R"({"*": {"destination": "logsvc", "level": "info", "thread_id": "on"}})";

    explicit ConfigurationStore(std::string path = std::string());

    /// Reads and checks the whole file; std::runtime_error with a one-line
    /// reason when it is unreadable, not JSON or holds a set that is not an
    /// object of plain values.
    boost::property_tree::ptree Load() const;

    /// The set for `module` run by `process` (empty when unknown): the
    /// "module@process" set, else the "module" set, else the "*" set; nothing
    /// when none exists. Throws as Load() does.
    std::optional<boost::property_tree::ptree> Lookup(const std::string& module,
                                                      const std::string& process) const;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace logsvc
