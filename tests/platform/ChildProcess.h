#pragma once
// A child process started with posix_spawn, inheriting the environment.

#include <string>
#include <sys/types.h>
#include <vector>

namespace platformtest {

/// Waits for the child on destruction unless already waited for. Move-only.
class ChildProcess {
public:
    static ChildProcess Spawn(const std::vector<std::string>& argv);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess(ChildProcess&& other) noexcept : pid_(other.release()) {}
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();

    pid_t get() const { return pid_; }
    pid_t release() {
        pid_t pid = pid_;
        pid_ = -1;
        return pid;
    }
    /// The exit status, or -1 when it did not start or did not exit normally.
    int Wait();

private:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    pid_t pid_ = -1;
};

} // namespace platformtest
