#include <nwLogging/LogStream.h>
#include <nwLogging/Target.h>

#include "LocalClock.h"
#include "ThreadId.h"

#include <cstdio>
#include <cstring>

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

std::string basic_logbuf::str() const {
    return std::string(pbase(), pptr());
}

void basic_logbuf::grow(std::size_t more) {
    const std::size_t used = static_cast<std::size_t>(pptr() - pbase());
    // Most lines fit the first size; longer ones double it.
    std::size_t size = text_.size() < 256 ? 256 : text_.size() * 2;
    if (size < used + more)
        size = used + more;
    text_.resize(size);
    char* begin = &text_[0];
    setp(begin, begin + text_.size());
    pbump(static_cast<int>(used));
}

basic_logbuf::int_type basic_logbuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    try {
        grow(1);
    } catch (...) {
        return traits_type::eof(); // the stream goes bad; the record keeps what it has
    }
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize basic_logbuf::xsputn(const char* s, std::streamsize n) {
    if (n <= 0)
        return 0;
    const auto count = static_cast<std::size_t>(n);
    if (static_cast<std::size_t>(epptr() - pptr()) < count) {
        try {
            grow(count);
        } catch (...) {
            return 0;
        }
    }
    std::memcpy(pptr(), s, count);
    pbump(static_cast<int>(count));
    return n;
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
    // The string ends where the text does while the targets read it.
    text_.resize(static_cast<std::size_t>(pptr() - pbase()));
    setp(nullptr, nullptr);
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
        dispatch(record, text_);
    } catch (...) {
        state_.state = std::move(record.state);
        throw;
    }
    state_.state = std::move(record.state);
}

void basic_logbuf::restart() {
    // The next record reuses the storage.
    text_.resize(text_.capacity());
    char* begin = text_.empty() ? nullptr : &text_[0];
    setp(begin, begin + text_.size());
    state_.reset();
}

} // namespace nwLogging
