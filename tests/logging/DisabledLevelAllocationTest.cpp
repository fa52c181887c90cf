// A disabled log site must not allocate: the module logs on every frame at
// debug level, and those sites run with debug off.

#include <nwLogging/nwLogging.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace nw = nwLogging;

namespace {
// Counted only while a test's scope asks for it: the other tests of the program
// allocate through the same replacement.
thread_local bool counting = false;
thread_local long allocations = 0;

/// Counts this thread's allocations for its lifetime.
class CountedScope {
public:
    CountedScope() { counting = true; }
    ~CountedScope() { counting = false; }
    CountedScope(const CountedScope&) = delete;
    CountedScope& operator=(const CountedScope&) = delete;
};
} // namespace

// The replacement pairs malloc with free itself; GCC cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(DisabledLevel, LogSiteBelowTheMaskAllocatesNothing) {
    const nw::logger_ptr root = nw::root_logger();
    const nw::logger_ptr child = nw::get_logger("Channel");
    root->state()->set_level_mask(nw::level_fatal | nw::level_err);
    const std::string path = "C:\\data\\applet.mcf";

    const CountedScope counted;
    const long before = allocations;
    for (int i = 0; i < 100; ++i) {
        NWLOG(root, nw::level_debug, "\tBoard = " << i << " frame " << path);
        NWLOG_AT(child, nw::level_warn, "DriverChannel", 88, "value " << i << path);
        NWLOG_HERE(child, nw::level_info, "DriverChannel", std::string(64, 'x'));
    }
    EXPECT_EQ(allocations - before, 0);
    root->state()->set_level_mask(0);
}

TEST(DisabledLevel, CounterSeesTheAllocationsOfAnEnabledSite) {
    // Proves the counter works: the same site allocates once enabled.
    const nw::logger_ptr root = nw::root_logger();
    root->state()->set_level_mask(nw::level_debug);
    const CountedScope counted;
    const long before = allocations;
    NWLOG(root, nw::level_debug, "enabled " << std::string(64, 'x'));
    EXPECT_GT(allocations - before, 0);
    root->state()->set_level_mask(0);
}
