#pragma once
// Log targets. The base takes the target's mutex once per record and calls the
// protected write hook; a failing target never throws into the code that logged.

#include <nwLogging/Record.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace nwLogging {

class basic_target {
public:
    virtual ~basic_target() = default;
    /// Writes one record; exceptions of the hook are swallowed.
    void write(const basic_timed_msgstate& record, const std::string& text) noexcept;

protected:
    virtual void do_write(const basic_timed_msgstate& record, const std::string& text) = 0;

private:
    std::mutex mutex_; // one record at a time
};

/// Decides which records reach its target (the module's passes every record
/// the enabled test let through).
class basic_target_filter {
public:
    virtual ~basic_target_filter() = default;
    virtual bool accepts(const basic_timed_msgstate& record) const;
};

using target_ptr = std::shared_ptr<basic_target>;
using filter_ptr = std::shared_ptr<basic_target_filter>;

using target_entry = std::pair<filter_ptr, target_ptr>;

/// The module's list of (filter, target) pairs. A null filter passes every
/// record; a null target raises std::invalid_argument.
void install_target(filter_ptr filter, target_ptr target);
/// Releases every pair in list order (filter, then target) and empties the
/// list. A record being dispatched on another thread still reaches the old
/// targets; the pairs are released once it is done.
void release_targets();
std::size_t installed_target_count();
/// A copy of the list, for code that must put it back later (test captures).
std::vector<target_entry> installed_targets();

/// Hands a completed record to every installed target whose filter accepts it.
/// Never throws; a record logged from inside a target on the same thread is
/// dropped instead of dead-locking on the target's mutex.
void dispatch(const basic_timed_msgstate& record, const std::string& text) noexcept;

} // namespace nwLogging
