#pragma once
// The file behind the registry store. Readers parse the whole file each time, so
// they see other processes' writes; a writer takes the store's lock file (flock),
// re-reads, changes and replaces the file with rename(), so readers never see half
// a file and concurrent writers never lose each other's changes.

#include "RegistryDocument.h"

#include <cstdint>
#include <functional>
#include <string>

namespace platform {
namespace registry {

enum class StoreLoad {
    Ok,
    Missing,   // no file yet: an empty store
    Unreadable // cannot be read, not a regular file, or too large: empty for readers
};

/// Thread-safe: holds only its path.
class RegistryFile {
public:
    /// Larger files are refused rather than read into memory.
    static constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

    explicit RegistryFile(std::string path) : path_(std::move(path)) {}

    StoreLoad Load(RegistryDocument* document) const;

    /// Runs `change` on the current content under the store's lock and writes the
    /// result when `change` succeeds and says it changed something. ERROR_CANTWRITE
    /// when the store cannot be locked, read or written; an unreadable file is never
    /// replaced, so its content is not lost.
    using Change = std::function<int32_t(RegistryDocument& document, bool* changed)>;
    int32_t Update(const Change& change) const;

private:
    std::string path_;
};

} // namespace registry
} // namespace platform
