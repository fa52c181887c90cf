#pragma once
// The module-wide list of (filter, target) pairs.

#include <nwLogging/Target.h>

#include "SpinMutex.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace nwLogging {

/// Thread-safe. The list is copy-on-write: dispatch copies the current
/// snapshot under the mutex and walks it without any lock, so installing or
/// releasing never waits for a slow target, and a snapshot keeps its pairs
/// alive until the last record using it is written.
class target_list {
public:
    static target_list& instance();

    constexpr target_list() = default;
    ~target_list();
    target_list(const target_list&) = delete;
    target_list& operator=(const target_list&) = delete;

    void install(filter_ptr filter, target_ptr target);
    void release();
    std::size_t count() const;
    std::vector<target_entry> entries() const;
    void dispatch(const basic_timed_msgstate& record, const std::string& text) const;

private:
    using snapshot = std::shared_ptr<const std::vector<target_entry>>;
    static snapshot make_snapshot(std::vector<target_entry> entries);
    snapshot current() const;

    // Its sections only copy or swap a pointer or a short vector.
    mutable spin_mutex mutex_; // guards entries_
    snapshot entries_;
    std::atomic<std::size_t> count_{0}; // lets dispatch skip the mutex with no target
};

} // namespace nwLogging
