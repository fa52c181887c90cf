// Counts and links used from several threads at once.

#include "BlockTestSupport.h"
#include "TrackedTable.h"

#include <ORV/ResultCodes.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using hosttest::BlockTest;
using hosttest::TrackedTable;

namespace {

using BlockConcurrency = BlockTest;

constexpr int threadCount = 8;
constexpr int rounds = 2000;

/// Starts `count` threads running `body(index)` once all are ready, then joins.
template <class F> void RunTogether(int count, F body) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int index = 0; index < count; ++index) {
        threads.emplace_back([&, index] {
            ready.fetch_add(1);
            while (ready.load() < count)
                std::this_thread::yield();
            body(index);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
}

TEST_F(BlockConcurrency, ShareAndRelease_FromManyThreads_DestroysOnceAtTheEnd) {
    ORHandle handle = MakeTracked("shared");
    RunTogether(threadCount, [handle](int) {
        for (int round = 0; round < rounds; ++round) {
            ORBase_AddRef(handle);
            ORBase_AddWeak(handle);
            ORBase_ReleaseWeak(handle);
            ORBase_Release(handle);
        }
    });
    EXPECT_EQ(ORBase_StrongCount(handle), 1u);
    EXPECT_TRUE(events_.empty());
    ORBase_Release(handle);
    EXPECT_EQ(events_.size(), 1u);
}

TEST_F(BlockConcurrency, HandedOutReferences_LastOfManyThreadsDestroys) {
    ORHandle handle = MakeTracked("shared");
    for (int index = 1; index < threadCount; ++index)
        ORBase_AddRef(handle);
    RunTogether(threadCount, [handle](int) { ORBase_Release(handle); });
    EXPECT_EQ(events_.size(), 1u);
}

TEST_F(BlockConcurrency, PromoteRacingLastRelease_NeverResurrects) {
    for (int round = 0; round < 200; ++round) {
        std::atomic<int> destroyed{0};
        ORHandle handle =
            orvBase::make_shared_object<hosttest::TrackedObject>(
                TypeKey(), nullptr, nullptr, "racing", [&destroyed] { destroyed.fetch_add(1); })
                .release();
        ORBase_AddWeak(handle);
        std::atomic<int> promoted{0};
        RunTogether(4, [&](int index) {
            if (index == 0) {
                ORBase_Release(handle);
                return;
            }
            for (int attempt = 0; attempt < 50; ++attempt) {
                if (ORBase_PromoteWeak(handle) == ORV::OK) {
                    promoted.fetch_add(1);
                    // A promoted reference always finds the object.
                    void* object = nullptr;
                    EXPECT_EQ(ORBase_QueryObject(handle, ORBASE_OWN_OBJECT, &object), ORV::OK);
                    ORBase_Release(handle);
                }
            }
        });
        EXPECT_EQ(destroyed.load(), 1);
        EXPECT_EQ(ORBase_PromoteWeak(handle), ORV::E_EXPIRED);
        ORBase_ReleaseWeak(handle);
    }
}

TEST_F(BlockConcurrency, AddInterfaceAndGetBase_FromManyThreads) {
    ORHandle base = MakeTracked("base");
    std::vector<ORHandle> derived;
    for (int index = 0; index < threadCount; ++index)
        derived.push_back(MakeTracked("derived" + std::to_string(index)));
    std::atomic<int> added{0};
    std::atomic<int> tablesAdded{0};
    RunTogether(threadCount, [&](int index) {
        if (ORBase_SetBase(derived[index], base) == ORV::OK)
            added.fetch_add(1);
        for (int round = 0; round < 200; ++round) {
            ORHandle found = nullptr;
            if (ORBase_GetBase(derived[index], &found) == ORV::OK)
                ORBase_Release(found);
            ORBase_InterfaceCount(base);
        }
        // Half the threads race to add the same table class: one wins, the
        // others keep (and free) their refused tables.
        if (index % 2 == 0) {
            auto table = std::make_unique<TrackedTable<10>>(nullptr);
            if (ORBase_AddInterface(base, table.get()) == ORV::OK) {
                table.release();
                tablesAdded.fetch_add(1);
            }
        }
    });
    EXPECT_EQ(added.load(), threadCount);
    EXPECT_EQ(tablesAdded.load(), 1);
    EXPECT_EQ(ORBase_InterfaceCount(base), 1u);
    for (ORHandle handle : derived)
        ORBase_Release(handle);
    ORBase_Release(base);
}

TEST(TypeKeyConcurrency, SameNameFromManyThreads_GivesOneKey) {
    std::vector<ORTypeKey> keys(threadCount, 0);
    RunTogether(threadCount, [&keys](int index) {
        keys[index] = ORBase_RegisterTypeKey("hosttest-ConcurrentKey");
    });
    for (ORTypeKey key : keys)
        EXPECT_EQ(key, keys[0]);
    EXPECT_GE(keys[0], 2u);
}

} // namespace
