// Framework pieces linked in directly: exceptions, environment references, the
// registry services of the system base, the delivered-buffer record.

#include "testdriver/TestDriver.h"

#include <ddk/CDeliveredBufferRecord.h>
#include <ddk/CGlobalObj.h>
#include <ddk/DDKException.h>
#include <ddk/Helper.h>

#include <platform/Environment.h>
#include <platform/Registry.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <unistd.h>
#include <vector>

namespace reg = platform::registry;

TEST(DDKExceptionTest, FullTextNamesTheFileAndLine) {
    const DDKException e("DDKProducer", 42, "Invalid producer implementation");
    EXPECT_STREQ(e.what(), "Invalid producer implementation (DDKProducer:42)");
    EXPECT_EQ(e.Code(), 1);
    EXPECT_EQ(e.Message(), "Invalid producer implementation");
}

TEST(DDKExceptionTest, GenericFormatsIntoAtMost255Characters) {
    const DDKGenericException e("Helper", 7, "Environment variable '%s' not found", "ORV");
    EXPECT_STREQ(e.what(), "Environment variable 'ORV' not found (Helper:7)");
    const std::string longName(400, 'x');
    const DDKGenericException cut("Helper", 8, "%s", longName.c_str());
    EXPECT_EQ(cut.Message().size(), 255u);
    const DDKAssertException assertion("CGenericBoardSelect2", 9);
    EXPECT_STREQ(assertion.what(), "Assert failed (CGenericBoardSelect2:9)");
}

TEST(EnvironmentReferenceTest, ExpandsTheFirstReference) {
    platform::SetEnv("ORV_TEST_DATA", "/data/");
    EXPECT_EQ(ExpandEnvironmentReference("$(ORV_TEST_DATA)\\Drivers\\x.ini"),
              "/data/\\Drivers\\x.ini");
    EXPECT_EQ(ExpandEnvironmentReference("no reference"), "no reference");
    EXPECT_EQ(ExpandEnvironmentReference("$(unterminated"), "$(unterminated");
    platform::UnsetEnv("ORV_TEST_DATA");
}

TEST(EnvironmentReferenceTest, MissingOrLongVariablesRaise) {
    platform::UnsetEnv("ORV_TEST_MISSING");
    try {
        ExpandEnvironmentReference("$(ORV_TEST_MISSING)\\x");
        FAIL() << "no exception";
    } catch (const DDKGenericException& e) {
        EXPECT_EQ(e.Message(), "Environment variable 'ORV_TEST_MISSING' not found");
    }
    platform::SetEnv("ORV_TEST_LONG", std::string(256, 'a'));
    try {
        ExpandEnvironmentReference("$(ORV_TEST_LONG)");
        FAIL() << "no exception";
    } catch (const DDKGenericException& e) {
        EXPECT_EQ(e.Message(), "Environment variable's content too large (must be <256 chars)");
    }
    platform::SetEnv("ORV_TEST_LONG", std::string(255, 'a'));
    EXPECT_EQ(ExpandEnvironmentReference("$(ORV_TEST_LONG)").size(), 255u);
    platform::UnsetEnv("ORV_TEST_LONG");
}

class RegistryServices : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = "/tmp/orv-unit-registry-" + std::to_string(getpid()) + ".ini";
        std::remove(file_.c_str());
        platform::SetEnv("ORV_REGISTRY_FILE", file_);
    }
    void TearDown() override {
        platform::UnsetEnv("ORV_REGISTRY_FILE");
        platform::UnsetEnv("ORVDATA");
        std::remove(file_.c_str());
    }
    std::string StoredIniPath() {
        reg::ScopedKey key;
        if (reg::OpenKey(reg::Hive::LocalMachine, "Software\\Orvento\\Pictora\\Nordwell",
                         reg::KEY_QUERY_VALUE, key.out()) != reg::ERROR_SUCCESS)
            return "<no key>";
        char buffer[1024];
        uint32_t size = sizeof buffer;
        if (reg::QueryString(key.get(), "OR TestDriver Driver INI-File", buffer, &size) !=
            reg::ERROR_SUCCESS)
            return "<no value>";
        return buffer;
    }

    GlobalObjRef registry_; // the factories of the test driver
    TestSystem system_;
    std::string file_;
};

TEST_F(RegistryServices, IniPath_Missing_WritesTheDataDirectoryDefault) {
    platform::SetEnv("ORVDATA", "/opt/orv/data");
    std::string path;
    system_.GetIniFilePath(path);
    EXPECT_EQ(StoredIniPath(), "$(ORVDATA)\\Drivers\\TestDriver.ini");
    EXPECT_EQ(path, "/opt/orv/data\\Drivers\\TestDriver.ini");
}

TEST_F(RegistryServices, IniPath_WithoutDataDirectory_WritesTheProductDefault) {
    platform::UnsetEnv("ORVDATA");
    platform::SetEnv("ORV", "/opt/orv");
    std::string path;
    system_.GetIniFilePath(path);
    EXPECT_EQ(StoredIniPath(), "$(ORV)\\Drivers\\TestDriver.ini");
    EXPECT_EQ(path, "/opt/orv\\Drivers\\TestDriver.ini");
    platform::UnsetEnv("ORV");
}

TEST_F(RegistryServices, IniPath_StoredValueIsUsedAndItsMissingVariableRaises) {
    {
        reg::ScopedKey key;
        ASSERT_EQ(reg::CreateKey(reg::Hive::LocalMachine, "Software\\Orvento\\Pictora\\Nordwell",
                                 reg::KEY_ALL_ACCESS, key.out()),
                  reg::ERROR_SUCCESS);
        ASSERT_EQ(reg::SetString(key.get(), "OR TestDriver Driver INI-File",
                                 "$(ORV_UNSET_FOR_TEST)\\x.ini"),
                  reg::ERROR_SUCCESS);
    }
    platform::UnsetEnv("ORV_UNSET_FOR_TEST");
    std::string path;
    try {
        system_.GetIniFilePath(path);
        FAIL() << "no exception";
    } catch (const DDKGenericException& e) {
        EXPECT_EQ(e.Message(), "Environment variable 'ORV_UNSET_FOR_TEST' not found");
    }
    EXPECT_EQ(StoredIniPath(), "$(ORV_UNSET_FOR_TEST)\\x.ini");
}

TEST_F(RegistryServices, DefaultTimeout_MissingIsTenSeconds_StoredIsUsed) {
    EXPECT_EQ(system_.GetDefaultTimeout(), 10000u);
    reg::ScopedKey key;
    ASSERT_EQ(reg::CreateKey(reg::Hive::LocalMachine, "Software\\Orvento\\Pictora\\",
                             reg::KEY_ALL_ACCESS, key.out()),
              reg::ERROR_SUCCESS);
    ASSERT_EQ(reg::SetDword(key.get(), "Default Timeout", 2500), reg::ERROR_SUCCESS);
    EXPECT_EQ(system_.GetDefaultTimeout(), 2500u);
}

TEST(RegistryObject, LastLiveReferenceDestroysIt) {
    EXPECT_FALSE(CGlobalObj::Exists());
    {
        GlobalObjRef first;
        EXPECT_TRUE(CGlobalObj::Exists());
        ASSERT_TRUE(CGlobalObj::Get().DriverInfo());
        EXPECT_EQ(CGlobalObj::Get().DriverInfo()->GetDriverName(), "TestDriver");
        {
            GlobalObjRef second;
            EXPECT_EQ(CGlobalObj::LiveCount(), 2u);
        }
        EXPECT_TRUE(CGlobalObj::Exists());
    }
    EXPECT_FALSE(CGlobalObj::Exists());
    EXPECT_EQ(CGlobalObj::LiveCount(), 0u);
}

TEST(RegistryObject, FactoryOfTheWrongBaseIsRefused) {
    GlobalObjRef live;
    CGlobalObj::Get().RegisterFactory<CDrvSystem>([] { return std::make_shared<TestInfo>(); });
    try {
        CGlobalObj::Get().Create<CDrvSystem>();
        FAIL() << "no exception";
    } catch (const DDKGenericException& e) {
        EXPECT_EQ(e.Message(),
                  "Invalid GlobalObject Registry .. derived class / base class missmatch ");
    }
}

TEST(DeliveredBufferRecordTest, KeepsDistinctIndicesNewestFirstWithinTheLimit) {
    CDeliveredBufferRecord record;
    record.SetLimit(3);
    for (int32_t index : {0, 1, 2, 0})
        record.Record(index);
    int32_t value = -1;
    ASSERT_TRUE(record.At(0, &value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(record.At(1, &value));
    EXPECT_EQ(value, 2);
    ASSERT_TRUE(record.At(2, &value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(record.At(3, &value));
    record.Clear();
    EXPECT_FALSE(record.At(0, &value));
}

namespace {
std::vector<int32_t> RecordedOrder(const CDeliveredBufferRecord& record) {
    std::vector<int32_t> order;
    int32_t value = -1;
    for (int32_t position = 0; record.At(position, &value); ++position)
        order.push_back(value);
    return order;
}
} // namespace

TEST(DeliveredBufferRecordTest, EveryPositionOfALongRecordAnswersFromEitherEnd) {
    CDeliveredBufferRecord record;
    record.SetLimit(7);
    for (int32_t index : {3, 5, 1, 6, 0, 5, 2, 4, 3})
        record.Record(index);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{3, 4, 2, 5, 0, 6, 1}));
    EXPECT_FALSE(record.At(-1, nullptr));
    EXPECT_TRUE(record.At(6, nullptr));
}

// The limit only bounds the length: every index is recorded, and a record
// longer than the limit loses its oldest entry at the next delivery.
TEST(DeliveredBufferRecordTest, EveryIndexIsRecordedAndTheLimitOnlyBoundsTheLength) {
    CDeliveredBufferRecord record;
    record.Record(0); // no ring yet
    record.SetLimit(2);
    for (int32_t index : {1, -1, 2, 0, 1000})
        record.Record(index);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{1000, 0, 2}));
}

TEST(DeliveredBufferRecordTest, ANewLimitKeepsTheRecordAndBoundsTheNextDeliveries) {
    CDeliveredBufferRecord record;
    record.SetLimit(5);
    for (int32_t index : {0, 4, 1, 3, 2})
        record.Record(index);
    record.SetLimit(3);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{2, 3, 1, 4, 0}));
    record.Record(1);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{1, 2, 3, 4}));
    record.Record(0);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{0, 1, 2, 3}));
    record.SetLimit(0);
    record.Record(7);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{7, 0, 1, 2}));
    record.Clear();
    EXPECT_TRUE(RecordedOrder(record).empty());
    record.Record(4);
    EXPECT_EQ(RecordedOrder(record), (std::vector<int32_t>{4}));
}
