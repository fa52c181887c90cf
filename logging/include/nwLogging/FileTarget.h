#pragma once
// Appends each record's line to a file.

#include <nwLogging/Target.h>

#include <cstdio>
#include <memory>
#include <string>

namespace nwLogging {

/// One line per record, flushed at once, so the file is complete whenever a
/// reader looks. Lines are written under the base's mutex.
class basic_file_target : public basic_target {
public:
    /// Opens `path` for appending (an existing file keeps its content);
    /// std::runtime_error "Error opening file: <path>" when that fails.
    explicit basic_file_target(const std::string& path);

    const std::string& path() const { return path_; }

protected:
    void do_write(const basic_timed_msgstate& record, const std::string& text) override;

private:
    struct file_closer {
        void operator()(std::FILE* file) const;
    };

    std::string path_;
    std::unique_ptr<std::FILE, file_closer> file_;
    std::string line_; // reused, so a line costs no allocation; guarded by the base's mutex
};

} // namespace nwLogging
