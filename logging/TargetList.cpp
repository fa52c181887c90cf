#include "TargetList.h"

#include <stdexcept>

namespace nwLogging {

namespace {

// Set while this thread hands a record to the targets: a target that logs
// would otherwise wait for its own mutex.
thread_local bool dispatching = false;

struct dispatch_guard {
    dispatch_guard() { dispatching = true; }
    ~dispatch_guard() { dispatching = false; }
    dispatch_guard(const dispatch_guard&) = delete;
    dispatch_guard& operator=(const dispatch_guard&) = delete;
};

// Constant-initialized, so it exists before any other static of the module,
// and registered for destruction when the image loads, so it outlives the
// module's function-local statics. Its destructor empties it: a record
// dispatched even later finds no target instead of freed ones.
target_list the_list;

} // namespace

target_list& target_list::instance() {
    return the_list;
}

target_list::~target_list() {
    release();
}

target_list::snapshot target_list::make_snapshot(std::vector<target_entry> entries) {
    // Whoever drops the last reference releases the pairs in list order, filter
    // before target; std::vector leaves its destruction order unspecified.
    return snapshot(new std::vector<target_entry>(std::move(entries)),
                    [](std::vector<target_entry>* list) {
                        for (target_entry& entry : *list) {
                            entry.first.reset();
                            entry.second.reset();
                        }
                        delete list;
                    });
}

target_list::snapshot target_list::current() const {
    std::lock_guard<spin_mutex> guard(mutex_);
    return entries_;
}

void target_list::install(filter_ptr filter, target_ptr target) {
    if (!target)
        throw std::invalid_argument("Target is <null>");
    std::lock_guard<spin_mutex> guard(mutex_);
    std::vector<target_entry> entries = entries_ ? *entries_ : std::vector<target_entry>();
    entries.emplace_back(std::move(filter), std::move(target));
    entries_ = make_snapshot(std::move(entries));
    count_.store(entries_->size(), std::memory_order_release);
}

void target_list::release() {
    snapshot old;
    {
        std::lock_guard<spin_mutex> guard(mutex_);
        old.swap(entries_);
        count_.store(0, std::memory_order_release);
    }
    // Released outside the mutex: a target's destructor may log.
}

std::size_t target_list::count() const {
    return count_.load(std::memory_order_acquire);
}

std::vector<target_entry> target_list::entries() const {
    const snapshot list = current();
    return list ? *list : std::vector<target_entry>();
}

void target_list::dispatch(const basic_timed_msgstate& record, const std::string& text) const {
    if (dispatching || count_.load(std::memory_order_acquire) == 0)
        return;
    const dispatch_guard guard;
    const snapshot list = current();
    if (!list)
        return;
    for (const target_entry& entry : *list) {
        try {
            if (entry.first && !entry.first->accepts(record))
                continue;
        } catch (...) {
            continue; // a failing filter drops the record for its target only
        }
        entry.second->write(record, text);
    }
}

} // namespace nwLogging
