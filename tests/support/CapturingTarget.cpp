#include "support/CapturingTarget.h"

#include <algorithm>

void CapturingTarget::do_write(const nwLogging::basic_timed_msgstate& record,
                               const std::string& text) {
    CapturedRecord captured;
    captured.level = record.level;
    captured.group = record.group;
    captured.groupName = record.group_name;
    captured.location = record.location;
    captured.loggerName = record.logger_name;
    captured.text = text;
    captured.line = nwLogging::format_line(record, text);
    captured.threadId = record.thread_id;
    captured.timestamp = record.timestamp;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        records_.push_back(std::move(captured));
    }
    arrived_.notify_all();
}

std::vector<CapturedRecord> CapturingTarget::records() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return records_;
}

std::vector<std::string> CapturingTarget::lines() const {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<std::string> result;
    result.reserve(records_.size());
    for (const CapturedRecord& record : records_)
        result.push_back(record.line);
    return result;
}

std::size_t CapturingTarget::count() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return records_.size();
}

std::optional<CapturedRecord> CapturingTarget::find(const std::string& needle) const {
    std::lock_guard<std::mutex> guard(mutex_);
    const auto found =
        std::find_if(records_.begin(), records_.end(), [&](const CapturedRecord& record) {
            return record.line.find(needle) != std::string::npos;
        });
    if (found == records_.end())
        return std::nullopt;
    return *found;
}

std::optional<std::string> CapturingTarget::findLine(const std::string& needle) const {
    const std::optional<CapturedRecord> record = find(needle);
    if (!record)
        return std::nullopt;
    return record->line;
}

bool CapturingTarget::waitForLine(const std::string& needle,
                                  std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] {
        return std::any_of(records_.begin(), records_.end(), [&](const CapturedRecord& record) {
            return record.line.find(needle) != std::string::npos;
        });
    });
}

bool CapturingTarget::waitForCount(std::size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return records_.size() >= n; });
}

void CapturingTarget::clear() {
    std::lock_guard<std::mutex> guard(mutex_);
    records_.clear();
}
