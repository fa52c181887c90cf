#pragma once
// Sets the C run-time's time zone (TZ) for a scope and puts the previous one
// back. Zones are written "XST-05:30" (name, then hours west of UTC), a form
// both the POSIX C library and the Windows C run-time read.

#include <optional>
#include <string>

namespace orvtest {

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> saved_;
};

} // namespace orvtest
