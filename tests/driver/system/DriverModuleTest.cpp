// The driver's information object and the module hooks the framework calls.
#include "support/SimEnvironment.h"

#include "system/DriverInfo.h"
#include "system/DriverLogging.h"
#include "system/DriverSystem.h"
#include <ddk/CDrvInfo.h>
#include <ddk/CDrvSystem.h>
#include <ddk/CGlobalObj.h>

#include <nwLogging/Logger.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(DriverInfo, AnswersNamesAndZero) {
    CDriverInfo info;
    EXPECT_EQ(info.GetVendorName(), "Nordwell");
    EXPECT_EQ(info.GetDriverName(), "ORSisoMe");
    EXPECT_EQ(info.GetIntegerInfo(), 0);
    EXPECT_EQ(info.Identity(), CBaseObj::IdentityOf<CDrvInfo>());
}

TEST(DriverInfo, Guid_Is36CharactersAndAZero) {
    CDriverInfo info;
    char buffer[40];
    std::memset(buffer, 0x7F, sizeof buffer);
    EXPECT_EQ(info.GetModuleGuid(buffer), 0);
    EXPECT_EQ(std::string(buffer), "7A41C0D2-3E95-4f1b-B6A8-52D07C9E1F34");
    EXPECT_EQ(buffer[36], '\0');
    EXPECT_EQ(buffer[37], 0x7F) << "nothing written past the terminating zero";
}

TEST(DriverInfo, Guid_NullBufferIsRefused) {
    CDriverInfo info;
    EXPECT_NE(info.GetModuleGuid(nullptr), 0);
}

TEST(DriverModule, Registry_CreatesTheDriversInfoAndSystem) {
    SimEnvironment sim;
    CGlobalObj::AddLiveReference(); // keeps the registry for the test
    {
        CGlobalObj& registry = CGlobalObj::Get();
        ASSERT_NE(registry.DriverInfo(), nullptr);
        EXPECT_NE(std::dynamic_pointer_cast<CDriverInfo>(registry.DriverInfo()), nullptr);
        std::shared_ptr<CDrvSystem> system = registry.Create<CDrvSystem>();
        ASSERT_NE(system, nullptr);
        auto driverSystem = std::dynamic_pointer_cast<CDriverSystem>(system);
        ASSERT_NE(driverSystem, nullptr);
        EXPECT_EQ(driverSystem->shared_from_this(), system) << "created as a shared object";
        EXPECT_FALSE(driverSystem->Configuration().Empty());
    }
    CGlobalObj::DropLiveReference();
    EXPECT_FALSE(CGlobalObj::Exists());
}

TEST(DriverModule, LoggingSetUp_NamesTheRootGDRVM) {
    nwLogging::prune_loggers(); // a root with children keeps its name
    ConfigureDriverLogging();
    EXPECT_EQ(nwLogging::root_logger()->name(), "GDRVM");
    ConfigureDriverLogging(); // the same name again changes nothing
    EXPECT_EQ(nwLogging::root_logger()->name(), "GDRVM");
}

TEST(DriverModule, LoggingSetUp_NeverThrows) {
    // A root with children refuses a new name; the hook swallows that.
    nwLogging::prune_loggers();
    nwLogging::root_logger()->set_root_name("Other");
    const nwLogging::logger_ptr child = nwLogging::get_logger("child");
    EXPECT_NO_THROW(ConfigureDriverLogging());
    EXPECT_EQ(nwLogging::root_logger()->name(), "Other");
}
