#pragma once
// An exclusive advisory lock (flock) on a lock file, shared by processes and by
// threads alike: each holder opens the file itself, so even two threads of one
// process exclude each other.

#include "UniqueFd.h"

#include <string>
#include <system_error>
#include <utility>

namespace platform {
namespace posix {

/// Holds the lock until destroyed. Move-only.
class FileLock {
public:
    FileLock() = default;
    /// Blocks until the lock on `path` (created when missing) is held. An unlocked
    /// FileLock and `error` on failure.
    static FileLock Acquire(const std::string& path, std::error_code* error);

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&&) noexcept = default;
    FileLock& operator=(FileLock&&) noexcept = default;
    ~FileLock() = default; // closing the descriptor drops the lock

    explicit operator bool() const { return static_cast<bool>(fd_); }
    int get() const { return fd_.get(); }
    int release() { return fd_.release(); }
    void reset(int fd = -1) { fd_.reset(fd); }

private:
    explicit FileLock(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};

} // namespace posix
} // namespace platform
