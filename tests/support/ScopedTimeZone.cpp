#include "support/ScopedTimeZone.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace orvtest {
namespace {

// The C run-time's own copy of the environment: the one its time functions read.
void ApplyZone(const std::optional<std::string>& zone) {
#ifdef _WIN32
    const int failed = ::_putenv_s("TZ", zone ? zone->c_str() : "");
    ::_tzset();
#else
    const int failed = zone ? ::setenv("TZ", zone->c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
#endif
    if (failed != 0)
        throw std::runtime_error("cannot set the time zone");
}

} // namespace

ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
    if (const char* old = std::getenv("TZ"))
        saved_ = old;
    ApplyZone(zone);
}

ScopedTimeZone::~ScopedTimeZone() {
    try {
        ApplyZone(saved_);
    } catch (const std::exception&) {
        // The next test sets its own zone.
    }
}

} // namespace orvtest
