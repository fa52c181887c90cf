// Steady-state acquisition allocates nothing: counts every operator new of the process
// (the engine thread included) while images are waited for, queried and unlocked.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SIM_COUNTS_ALLOCATIONS 0
#else
#define SIM_COUNTS_ALLOCATIONS 1
#endif

namespace {

std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};

} // namespace

#if SIM_COUNTS_ALLOCATIONS
// The replacement pairs malloc with free itself; GCC cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (countingAllocations.load(std::memory_order_relaxed)) {
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#endif

namespace {

using namespace simtest;

TEST(SteadyState, WaitStatusBufferQueriesAndUnlock_AllocateNothingPerImage) {
    if (!SIM_COUNTS_ALLOCATIONS) {
        GTEST_SKIP() << "sanitizers replace the allocator";
    }
    UseMachine();
    TempDir dir;
    Board board(dir.Write("applet.ini", "[dma0]\nwidth = 64\nheight = 64\n"), 0);
    ASSERT_TRUE(board);
    CustomRing ring(board.get(), 64 * 64, 3);
    ASSERT_EQ(Fg_AcquireEx(board.get(), 0, -1, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board.get(), 0, ring.Head());

    // One image the way a driver handles it; false on any failure.
    auto handle = [&](std::int64_t picture) {
        if (Fg_WaitImage(board.get(), FG_WAIT_PICTURE_NUMBER, picture, 0, PatienceSeconds,
                         ring.Head()) != picture) {
            return false;
        }
        const std::int64_t buffer = (picture - 1) % 3 + 1;
        std::uint64_t length = 0;
        std::uint64_t stamp = 0;
        std::uint16_t tag = 0;
        return Fg_GetBufferParameter(board.get(), FG_BUFPARAM_TRANSFER_LENGTH, &length, 0,
                                     ring.Head(), buffer) == 0 &&
               Fg_GetBufferParameter(board.get(), FG_BUFPARAM_TAG, &tag, 0, ring.Head(), buffer) ==
                   0 &&
               Fg_GetBufferParameter(board.get(), FG_BUFPARAM_TIMESTAMP64, &stamp, 0, ring.Head(),
                                     buffer) == 0 &&
               Fg_QueryStatus(board.get(), FG_STATUS_BUFFER_LOCKED, buffer, 0, ring.Head()) == 1 &&
               Fg_QueryStatus(board.get(), FG_STATUS_BLOCKED, 0, 0, ring.Head()) >= 1 &&
               Fg_QueryStatus(board.get(), FG_STATUS_LOST, 0, 0, ring.Head()) == 0 &&
               Fg_SetBufferStatus(board.get(), FG_BUFFER_UNBLOCK, buffer, 0, ring.Head()) == 0 &&
               length == 64 * 64;
    };
    for (std::int64_t picture = 1; picture <= 10; ++picture) {
        ASSERT_TRUE(handle(picture));
    }

    // The counter sees the library's allocations: a new memory head makes some.
    allocationCount.store(0);
    countingAllocations.store(true);
    Fg_Memory* probe = Fg_CreateMemoryHead(board.get(), 64, 1);
    countingAllocations.store(false);
    ASSERT_GT(allocationCount.load(), 0);
    ASSERT_EQ(Fg_FreeMemoryHead(board.get(), probe), 0);

    allocationCount.store(0);
    countingAllocations.store(true);
    bool allHandled = true;
    for (std::int64_t picture = 11; picture <= 210 && allHandled; ++picture) {
        allHandled = handle(picture);
    }
    countingAllocations.store(false);

    EXPECT_TRUE(allHandled);
    EXPECT_EQ(allocationCount.load(), 0);
}

} // namespace
