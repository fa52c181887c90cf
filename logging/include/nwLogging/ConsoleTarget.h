#pragma once
// Writes each record's line to the console in a colour chosen by its level.

#include <nwLogging/Target.h>

#include <cstdint>
#include <string>

namespace nwLogging {

/// On POSIX the console is the terminal on standard output. Without one the
/// target writes nowhere. Lines are written under the base's mutex.
class basic_console_target : public basic_target {
public:
    /// Uses the process's console, or allocates one (sized `columns` by 9000
    /// lines with a window of at most `rows` rows, minimised when asked), or
    /// attaches to the parent's. A non-empty title is set on the console; a
    /// failure raises nwLogging::system_error with the system's code.
    explicit basic_console_target(const std::string& title = std::string(), int columns = 80,
                                  int rows = 25, bool minimise = true, bool colours = true);

    /// False when neither a console of its own nor the parent's was found.
    bool has_console() const { return console_; }
    bool colours() const { return colours_; }

    /// The console text attribute of a level: fatal black on red, err light
    /// red, warn yellow, trace grey, debug black on grey, the rest white.
    static uint16_t attribute_for(uint32_t level);

protected:
    void do_write(const basic_timed_msgstate& record, const std::string& text) override;

private:
    bool console_ = false;
    bool colours_;
    std::string line_; // guarded by the base's mutex
};

} // namespace nwLogging
