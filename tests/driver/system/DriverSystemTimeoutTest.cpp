// The channel's default time-out: "Default Timeout" of the product key, in
// milliseconds, answered in whole seconds.
#include "SystemTestSupport.h"
#include "support/CapturingTarget.h"
#include "support/ScopedCapture.h"
#include "support/SimEnvironment.h"

#include "system/DriverSystem.h"

#include <platform/Registry.h>

#include <gtest/gtest.h>

#include <memory>

using systemtest::LevelAndLocation;
using systemtest::MachineWithRuntime;
using systemtest::RecordsWith;

namespace {

SimEnvironment::Options Timeout(std::optional<uint32_t> milliseconds) {
    SimEnvironment::Options options;
    options.machineText = MachineWithRuntime("5.2.0");
    options.configurationText = "";
    options.defaultTimeout = milliseconds;
    return options;
}

} // namespace

TEST(DriverSystemTimeout, Milliseconds_AreDividedDownToWholeSeconds) {
    SimEnvironment sim(Timeout(2500));
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 2u);
    sim.SetDefaultTimeout(60000);
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 60u) << "read afresh on every call";
    sim.SetDefaultTimeout(0xFFFFFFFFu);
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 4294967u);
}

TEST(DriverSystemTimeout, BelowOneSecond_GivesOne) {
    SimEnvironment sim(Timeout(500));
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    capture->clear();
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 1u);
    sim.SetDefaultTimeout(0);
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 1u);
    EXPECT_EQ(capture->count(), 0u) << "a readable value logs nothing";
}

TEST(DriverSystemTimeout, MissingValue_Gives4294967WithTheValueError) {
    SimEnvironment sim(Timeout(std::nullopt));
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    capture->clear();
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 4294967u);
    const std::vector<CapturedRecord> records = capture->records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].text, "Could not open ORV register value: \\Default Timeout err 1");
    EXPECT_EQ(LevelAndLocation(records[0]), "err DriverSystem(191)");
}

TEST(DriverSystemTimeout, ValueOfTheWrongType_CountsAsUnread) {
    SimEnvironment sim(Timeout(std::nullopt));
    {
        namespace reg = platform::registry;
        reg::ScopedKey key;
        ASSERT_EQ(reg::OpenKey(reg::Hive::LocalMachine, "Software\\Orvento\\Pictora",
                               reg::KEY_ALL_ACCESS, key.out()),
                  reg::ERROR_SUCCESS);
        ASSERT_EQ(reg::SetString(key.get(), "Default Timeout", "2500"), reg::ERROR_SUCCESS);
    }
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 4294967u);
    EXPECT_TRUE(capture->contains("Could not open ORV register value: "));
}

TEST(DriverSystemTimeout, MissingKey_Gives4294967WithTheKeyError) {
    SimEnvironment::Options options = Timeout(std::nullopt);
    options.productKey = false;
    SimEnvironment sim(options);
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    capture->clear();
    EXPECT_EQ(system->DefaultTimeoutSeconds(), 4294967u);
    const std::vector<CapturedRecord> records = capture->records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].text, "Could not open ORV register key:  err 1");
    EXPECT_EQ(LevelAndLocation(records[0]), "err DriverSystem(178)");
}
