#pragma once
// Where the service writes decoded records: standard output or a file.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace logsvc {

/// Thread-safe. Each line is flushed at once, so a reader of the file sees
/// every record as soon as it arrived.
class OutputSink {
public:
    /// Standard output for an empty path, else `path`, which Open() opens.
    explicit OutputSink(std::string path) : path_(std::move(path)) {}
    /// Opens the file for appending (creating it), once the service is sure to
    /// start, so that a failed start leaves no empty file; std::runtime_error
    /// when it cannot be opened.
    void Open();
    void WriteLine(const std::string& line);

private:
    struct Closer {
        void operator()(std::FILE* file) const;
    };
    std::string path_;
    std::mutex mutex_;                        // one line at a time
    std::unique_ptr<std::FILE, Closer> file_; // null: standard output
};

} // namespace logsvc
