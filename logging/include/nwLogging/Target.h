#pragma once
// Log targets. The base takes the target's mutex once per record and calls the
// protected write hook; a failing target never throws into the code that logged.

#include <nwLogging/Record.h>

#include <memory>
#include <mutex>
#include <string>
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

/// The module's list of (filter, target) pairs.
void install_target(filter_ptr filter, target_ptr target);
/// Releases every pair in list order and empties the list.
void release_targets();
std::size_t installed_target_count();

/// Hands a completed record to every installed target whose filter accepts it.
void dispatch(const basic_timed_msgstate& record, const std::string& text);

} // namespace nwLogging
