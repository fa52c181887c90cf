// The system's producer cache: shared while a producer lives, never kept alive
// by the system, one entry per name.
#include "support/SimEnvironment.h"

#include "board/DriverProducer.h"
#include "system/DriverSystem.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::shared_ptr<CDrvProducer> Open(CDriverSystem& system, const std::wstring& name) {
    std::shared_ptr<CDrvProducer> producer;
    system.CreateProducer(producer, name);
    return producer;
}

} // namespace

TEST(DriverSystemProducers, SameNameWhileAlive_GivesTheSameProducer) {
    SimEnvironment sim;
    auto system = std::make_shared<CDriverSystem>();
    std::shared_ptr<CDrvProducer> first = Open(*system, L"~idx:0");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<CDriverProducer>(first), nullptr);
    EXPECT_EQ(Open(*system, L"~idx:0"), first);
    EXPECT_EQ(system->GetBoardCount(), 1);
}

TEST(DriverSystemProducers, ProducerHoldsItsSystem) {
    SimEnvironment sim;
    auto system = std::make_shared<CDriverSystem>();
    auto producer = std::dynamic_pointer_cast<CDriverProducer>(Open(*system, L"~idx:0"));
    ASSERT_NE(producer, nullptr);
    EXPECT_EQ(producer->SystemReference(), system);
    EXPECT_EQ(producer->Name(), L"~idx:0");
}

TEST(DriverSystemProducers, AfterTheProducerDied_ANewOneReplacesTheEntry) {
    SimEnvironment sim;
    auto system = std::make_shared<CDriverSystem>();
    std::shared_ptr<CDrvProducer> first = Open(*system, L"~idx:0");
    std::weak_ptr<CDrvProducer> watch = first;
    first.reset();
    EXPECT_TRUE(watch.expired()) << "the cache holds producers weakly";

    std::shared_ptr<CDrvProducer> second = Open(*system, L"~idx:0");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(system->GetBoardCount(), 1) << "the dead entry is replaced, not added";
}

TEST(DriverSystemProducers, EveryNameGetsItsOwnEntry) {
    SimEnvironment sim;
    auto system = std::make_shared<CDriverSystem>();
    std::shared_ptr<CDrvProducer> a = Open(*system, L"~idx:0");
    std::shared_ptr<CDrvProducer> b = Open(*system, L"idx:0");
    EXPECT_NE(a, b);
    EXPECT_EQ(system->GetBoardCount(), 2);
}
