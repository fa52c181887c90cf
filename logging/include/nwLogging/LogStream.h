#pragma once
// A log stream builds one record: set level and location, insert text and
// values, then close (or flush) to complete it.

#include <nwLogging/Logger.h>
#include <nwLogging/Record.h>

#include <ostream>
#include <sstream>
#include <string>

namespace nwLogging {

/// Growable character buffer owning one message state. Completing it (sync)
/// repeats the enabled test, stamps and dispatches the record, then resets.
class basic_logbuf : public std::stringbuf {
public:
    explicit basic_logbuf(logger_ptr logger);
    basic_msgstate& msgstate() { return state_; }

protected:
    int sync() override;

private:
    logger_ptr logger_;
    basic_msgstate state_;
};

/// Output text stream over a fresh log buffer; one per message, never shared
/// between threads. Destruction completes the record.
class basic_logstream : public std::ostream {
public:
    explicit basic_logstream(const logger_ptr& logger);
    ~basic_logstream() override;

    basic_logstream& set_level(uint32_t level);
    basic_logstream& set_location(const char* location);
    basic_logstream& set_group(uint64_t group);
    /// Completes the record now; the stream can build the next one.
    void close();

private:
    basic_logbuf buf_;
};

} // namespace nwLogging
