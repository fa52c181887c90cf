#pragma once
// Where the service writes decoded records: standard output or a file.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace logsvc {

/// Thread-safe. Each line is flushed at once, so a reader of the file sees
/// every record as soon as it arrived.
class OutputSink {
public:
    /// Standard output for an empty path, else `path` opened for appending;
    /// std::runtime_error when it cannot be opened.
    explicit OutputSink(const std::string& path);
    void WriteLine(const std::string& line);

private:
    struct Closer {
        void operator()(std::FILE* file) const;
    };
    std::mutex mutex_;                        // one line at a time
    std::unique_ptr<std::FILE, Closer> file_; // null: standard output
};

} // namespace logsvc
