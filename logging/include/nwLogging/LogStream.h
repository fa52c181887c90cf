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
/// Never throws; a record that cannot be built is dropped and sync returns -1.
/// A null logger gives a buffer whose records go nowhere.
class basic_logbuf : public std::streambuf {
public:
    explicit basic_logbuf(logger_ptr logger);
    basic_msgstate& msgstate() { return state_; }
    /// The text of the record being built.
    std::string str() const;

protected:
    int sync() override;
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    void emit();
    void restart();
    /// Makes room for `more` characters after those written.
    void grow(std::size_t more);

    logger_ptr logger_;
    basic_msgstate state_;
    // The put area is this string's characters, so the finished text is handed
    // to the targets as it stands, without a copy.
    std::string text_;
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

    basic_logstream(const basic_logstream&) = delete;
    basic_logstream& operator=(const basic_logstream&) = delete;

private:
    basic_logbuf buf_;
};

} // namespace nwLogging
