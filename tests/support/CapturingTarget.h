#pragma once
// A log target for tests: keeps every record it receives, with the line a
// line-oriented target would print, and lets a test find or wait for a line.

#include <nwLogging/Target.h>

#include <boost/date_time/posix_time/ptime.hpp>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct CapturedRecord {
    uint32_t level = 0;
    uint64_t group = nwLogging::no_group;
    std::string groupName;
    std::string location;
    std::string loggerName;
    std::string text;
    std::string line; // as format_line prints it
    uint64_t threadId = 0;
    boost::posix_time::ptime timestamp;
};

/// Thread-safe: records may arrive from any thread while a test reads them.
class CapturingTarget : public nwLogging::basic_target {
public:
    using clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds defaultWait{30};

    std::vector<CapturedRecord> records() const;
    std::vector<std::string> lines() const;
    std::size_t count() const;
    /// The first record whose line contains `needle`.
    std::optional<CapturedRecord> find(const std::string& needle) const;
    std::optional<std::string> findLine(const std::string& needle) const;
    bool contains(const std::string& needle) const { return findLine(needle).has_value(); }
    /// Waits until a line containing `needle` arrives; false after `timeout`.
    bool waitForLine(const std::string& needle,
                     std::chrono::milliseconds timeout = defaultWait) const;
    /// Waits until at least `n` records have arrived; false after `timeout`.
    bool waitForCount(std::size_t n, std::chrono::milliseconds timeout = defaultWait) const;
    void clear();

protected:
    void do_write(const nwLogging::basic_timed_msgstate& record, const std::string& text) override;

private:
    mutable std::mutex mutex_; // guards records_
    mutable std::condition_variable arrived_;
    std::vector<CapturedRecord> records_;
};

// Either header gives both classes.
#include "support/ScopedCapture.h"
