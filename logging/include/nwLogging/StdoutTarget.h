#pragma once
// Writes each record's line to the process's standard output or standard error.

#include <nwLogging/Target.h>

#include <string>

namespace nwLogging {

/// Both streams share one lock, so lines written to either never interleave
/// with each other when they end up on the same terminal.
class basic_stdout_target : public basic_target {
public:
    enum class stream { standard_output, standard_error };

    explicit basic_stdout_target(stream which = stream::standard_output);
    stream which() const { return which_; }

protected:
    void do_write(const basic_timed_msgstate& record, const std::string& text) override;

private:
    stream which_;
    std::string line_; // guarded by the base's mutex
};

} // namespace nwLogging
