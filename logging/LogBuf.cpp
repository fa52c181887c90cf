#include <nwLogging/LogStream.h>
#include <nwLogging/Target.h>

#include "LocalClock.h"
#include "ThreadId.h"

#include <cstdio>

namespace nwLogging {

namespace {

// A record whose group was never registered still shows which group it was
// meant for, rather than failing or passing as a record without a group.
std::string group_label(const inner_logstate& state, uint64_t group) {
    try {
        return state.group_name(group);
    } catch (const std::invalid_argument&) {
        char text[24];
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(group));
        return text;
    }
}

} // namespace

basic_logbuf::basic_logbuf(logger_ptr logger) : logger_(std::move(logger)) {
    if (logger_)
        state_.state = logger_->state();
}

int basic_logbuf::sync() {
    int result = 0;
    try {
        emit();
    } catch (...) {
        result = -1; // the record is lost, the caller is not disturbed
    }
    try {
        restart();
    } catch (...) {
        result = -1;
    }
    return result;
}

void basic_logbuf::emit() {
    const inner_logstate* state = state_.state.get();
    if (state == nullptr || pptr() == pbase() || !state->enabled(state_.level, state_.group))
        return;
    // Moved rather than copied: the state is reset right after, and moving the
    // shared state reference spares two atomic updates that every logging
    // thread would otherwise make on the same counter. It comes back below.
    basic_timed_msgstate record;
    record.level = state_.level;
    record.group = state_.group;
    record.location.swap(state_.location);
    record.attributes.swap(state_.attributes);
    record.state = std::move(state_.state);
    try {
        record.timestamp = local_clock::now();
        record.logger_name = logger_->full_name();
        if (record.group != no_group)
            record.group_name = group_label(*state, record.group);
        record.thread_id = current_thread_id();
        dispatch(record, str());
    } catch (...) {
        state_.state = std::move(record.state);
        throw;
    }
    state_.state = std::move(record.state);
}

void basic_logbuf::restart() {
    str(std::string());
    state_.reset();
}

} // namespace nwLogging
