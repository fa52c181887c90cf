// Device control on a simulated Camera Link DMA: command classes, the size
// protocol, every get code, the typed parameters in raw and text form, and the
// checks that keep it inside the caller's buffers.
#include "driver/nodemap/NodeMapRig.h"

#include "support/ScopedCapture.h"

#include "acquisition/DriverBufferList.h"
#include "devicecontrol/DriverIDeviceCtrl.h"

#include <ORCImg/ORCImg.h>
#include <ORV/ResultCodes.h>

#include <fglib5.h>
#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

using namespace nodemaptest;

namespace {

using Ctrl = CDriverIDeviceCtrl;

const std::string linePrefix = "\tBoard = 0 | Channel = 0\tDeviceCtrl: ";
/// No command has this code.
constexpr uint32_t unknownCode = 0x123;

constexpr uint32_t Get(uint32_t code) {
    return Ctrl::ClassGet | code;
}
constexpr uint32_t Set(uint32_t code) {
    return Ctrl::ClassSet | code;
}

class DeviceCtrl : public ::testing::Test {
protected:
    DeviceCtrl() : list_(std::make_unique<CDriverBufferList>(rig_.Channel())) {}

    /// The text answer of a get command, with the size protocol done right.
    std::string TextGet(uint32_t command, const char* input = "", int32_t* result = nullptr) {
        uint64_t size = 0;
        int32_t answer = control_.TextCommand(list_.get(), command, input, 0, nullptr, &size);
        std::string text;
        if (answer == 0) {
            std::string buffer(static_cast<size_t>(size), 'x');
            answer = control_.TextCommand(list_.get(), command, input, 0, buffer.data(), &size);
            text = buffer.c_str();
        }
        if (result != nullptr)
            *result = answer;
        return text;
    }
    int32_t TextSet(const char* input, uint32_t command = Set(Ctrl::Parameter)) {
        char output[1] = {'x'};
        uint64_t size = 1;
        return control_.TextCommand(list_.get(), command, input, 0, output, &size);
    }
    uint32_t Parameter(int32_t id) {
        uint32_t value = 0;
        EXPECT_TRUE(rig_.Channel().GetParameter(id, value));
        return value;
    }
    template <class T> int32_t RawGet(uint32_t code, T& value) {
        uint64_t size = sizeof value;
        return control_.RawCommand(list_.get(), Get(code), nullptr, 0, &value, &size);
    }

    NodeMapRig rig_;
    std::unique_ptr<CDriverBufferList> list_;
    CDriverIDeviceCtrl control_{rig_.Channel()};
};

TEST_F(DeviceCtrl, RawBufferCount_SizeQueryThenExactSize) {
    uint64_t size = 99;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::BufferCount), nullptr, 0, nullptr, &size),
              0);
    EXPECT_EQ(size, 4u);
    uint64_t wide = 0xFFFFFFFFFFFFFFFFull;
    size = 8;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::BufferCount), nullptr, 0, &wide, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(wide, 0xFFFFFFFFFFFFFFFFull) << "nothing written on a wrong size";
    uint32_t count = 0;
    EXPECT_EQ(RawGet(Ctrl::BufferCount, count), 0);
    EXPECT_EQ(count, 3u);
}

TEST_F(DeviceCtrl, TextBufferCount_SizeIsTheDecimalLengthPlusOne) {
    uint64_t size = 0;
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::BufferCount), "", 0, nullptr, &size), 0);
    EXPECT_EQ(size, 2u) << "\"3\" and its zero";
    char text[3] = {'x', 'x', 'x'};
    size = 3;
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::BufferCount), "", 0, text, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(text[0], 'x');
    size = 2;
    ASSERT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::BufferCount), "", 0, text, &size), 0);
    EXPECT_STREQ(text, "3");
    EXPECT_EQ(text[2], 'x');
}

TEST_F(DeviceCtrl, TextNodeMapCodes_AreRefused) {
    uint64_t size = 0;
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::DmaNodeMap), "", 0, nullptr, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::CameraNodeMap), "", 0, nullptr, &size),
              ORV::E_INVALIDARG);
}

TEST_F(DeviceCtrl, TextSet_TypeSevenIsNotSupported) {
    EXPECT_EQ(TextSet("ID=100;type=7;length=4;data=5"), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
}

TEST_F(DeviceCtrl, TextSet_OutputSizeTwoIsRefusedWithItsLine) {
    ScopedCapture capture;
    char output[2] = {'x', 'x'};
    uint64_t size = 2;
    EXPECT_EQ(control_.TextCommand(list_.get(), Set(Ctrl::Parameter),
                                   "ID=100;type=2;length=4;data=320", 0, output, &size),
              ORV::E_INVALIDARG);
    const auto error = capture->find(linePrefix + "Wrong size for pOutStr");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->level, nwLogging::level_err);
    EXPECT_EQ(error->location.rfind("DriverIDeviceCtrl(", 0), 0u);
    EXPECT_EQ(output[0], 'x');
    EXPECT_EQ(Parameter(100), 640u);
}

TEST_F(DeviceCtrl, TextSet_WithoutOutputOnlyAnswersTheSize) {
    uint64_t size = 0;
    EXPECT_EQ(control_.TextCommand(list_.get(), Set(Ctrl::Parameter),
                                   "ID=100;type=2;length=4;data=320", 0, nullptr, &size),
              0);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
    EXPECT_EQ(Parameter(100), 640u);
}

TEST_F(DeviceCtrl, TextSet_WithoutDataFailsWithTheMissingNodeText) {
    ScopedCapture capture;
    EXPECT_EQ(TextSet("ID=100;type=2;length=4"), ORV::E_FAIL);
    const auto error = capture->find(linePrefix + "Error: ");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, linePrefix + "Error: No such node (data)");
    EXPECT_EQ(error->level, nwLogging::level_err);
}

TEST_F(DeviceCtrl, TextSet_BadPiecesAndDataAreErrors) {
    ScopedCapture capture;
    EXPECT_EQ(TextSet("ID=100;type=2;length=4;data=wide"), ORV::E_FAIL);
    EXPECT_TRUE(capture->contains("conversion of data to type"));
    EXPECT_EQ(TextSet("ID=100;type;length=4;data=1"), ORV::E_FAIL);
    EXPECT_EQ(TextSet("ID=100;ID=200;type=2;length=4;data=1"), ORV::E_FAIL);
    EXPECT_EQ(TextSet("id=100;type=2;length=4;data=1"), ORV::E_FAIL) << "keys are case-sensitive";
    EXPECT_EQ(Parameter(100), 640u);
}

TEST_F(DeviceCtrl, TextSet_WidthAndHeightReachTheDma) {
    char output[1] = {'x'};
    uint64_t size = 1;
    ASSERT_EQ(control_.TextCommand(list_.get(), Set(Ctrl::Parameter),
                                   "ID=100;type=2;length=4;data=320", 0, output, &size),
              0);
    EXPECT_EQ(output[0], '\0') << "the empty answer";
    ASSERT_EQ(TextSet("ID=200;;type=2;length=4;data=240;"), 0)
        << "empty pieces are kept and harmless";
    EXPECT_EQ(Parameter(100), 320u);
    EXPECT_EQ(Parameter(200), 240u);
    EXPECT_EQ(TextGet(Get(Ctrl::Parameter), "ID=100;type=2;length=4"), "320");
    EXPECT_EQ(TextGet(Get(Ctrl::Parameter), "ID=200;type=2;length=4"), "240");
}

TEST_F(DeviceCtrl, TextSet_OtherCodeRefusedAfterParsing) {
    EXPECT_EQ(TextSet("ID=100;type=2;length=4;data=320", Set(Ctrl::ImageNumber)),
              ORV::E_INVALIDARG);
    EXPECT_EQ(TextSet("ID=100;type=2;length=4", Set(Ctrl::ImageNumber)), ORV::E_FAIL)
        << "the request is parsed first";
}

TEST_F(DeviceCtrl, TextSet_LengthShorterThanTheTypeIsRefused) {
    EXPECT_EQ(TextSet("ID=6700;type=1;length=2;data=5"), ORV::E_INVALIDARG);
    EXPECT_EQ(TextSet("ID=6800;type=4;length=4;data=5"), ORV::E_INVALIDARG);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
    ASSERT_EQ(TextSet("ID=6700;type=1;length=4;data=-5"), 0);
    EXPECT_EQ(TextGet(Get(Ctrl::Parameter), "ID=6700;type=1;length=4"), "-5");
}

TEST_F(DeviceCtrl, TextParameter_LengthBeyondTheTypeIsRefusedBeforeAnything) {
    ScopedCapture capture;
    // Three gigabytes asked for a 4-byte value: refused before any buffer is made.
    char text[16] = {'x'};
    uint64_t size = sizeof text;
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::Parameter),
                                   "ID=100;type=1;length=3000000000", 0, nullptr, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(size, sizeof text) << "no size answered";
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::Parameter),
                                   "ID=100;type=1;length=3000000000", 0, text, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(text[0], 'x');
    const auto error = capture->find(linePrefix + "Error: length ");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, linePrefix + "Error: length 3000000000 is larger than type 1");
    EXPECT_EQ(error->level, nwLogging::level_err);
    EXPECT_EQ(error->location.rfind("DriverIDeviceCtrl(", 0), 0u);

    EXPECT_EQ(TextSet("ID=100;type=2;length=3000000000;data=320"), ORV::E_INVALIDARG);
    EXPECT_EQ(TextSet("ID=6700;type=1;length=8;data=-5"), ORV::E_INVALIDARG)
        << "a type-1 value is 4 bytes";
    EXPECT_EQ(TextSet("ID=100;type=7;length=3000000000;data=320"), ORV::E_NOTSUPPORTED);
    int32_t result = 0;
    TextGet(Get(Ctrl::Parameter), "ID=100;type=7;length=3000000000", &result);
    EXPECT_EQ(result, ORV::E_INVALIDARG) << "an unknown type holds at most the widest value";
    EXPECT_EQ(SimCtl_CallCount("Fg_GetParameterTyped"), 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
    EXPECT_EQ(Parameter(100), 640u);
}

TEST_F(DeviceCtrl, TextGet_TypesAsText) {
    ASSERT_EQ(TextSet("ID=6300;type=5;length=8;data=3.14159265"), 0);
    EXPECT_EQ(TextGet(Get(Ctrl::Parameter), "ID=6300;type=5;length=8"), "3.14159");
    ASSERT_EQ(TextSet("ID=6800;type=4;length=8;data=123456789012"), 0);
    EXPECT_EQ(TextGet(Get(Ctrl::Parameter), "ID=6800;type=4;length=8"), "123456789012");
    EXPECT_EQ(TextGet(Get(Ctrl::Parameter), "ID=6800;type=6;length=8"), "123456789012");
    int32_t result = 0;
    TextGet(Get(Ctrl::Parameter), "ID=6800;type=2;length=4", &result);
    EXPECT_EQ(result, ORV::E_FAIL) << "the SDK refuses the wrong type";
}

TEST_F(DeviceCtrl, TextGetParameter_BufferLargerIsFineSmallerIsRefused) {
    char text[16];
    std::memset(text, 'x', sizeof text);
    uint64_t size = 2;
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::Parameter), "ID=100;type=2;length=4", 0,
                                   text, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(text[0], 'x');
    size = sizeof text;
    ASSERT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::Parameter), "ID=100;type=2;length=4", 0,
                                   text, &size),
              0);
    EXPECT_STREQ(text, "640");
    EXPECT_EQ(text[4], 'x') << "nothing written past the terminating zero";
}

TEST_F(DeviceCtrl, ValueText_EveryType) {
    const int32_t negative = -7;
    const uint32_t large = 4000000000u;
    const int64_t wide = -5000000000ll;
    const uint64_t huge = 18000000000000000000ull;
    const double real = 0.1 + 0.2;
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_INT32, &negative, 4), "-7");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_UINT32, &large, 4), "4000000000");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_INT64, &wide, 8), "-5000000000");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_UINT64, &huge, 8), "18000000000000000000");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_DOUBLE, &real, 8), "0.3");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_VALUE8, &huge, 8), "18000000000000000000");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(7, &huge, 8), "");
    EXPECT_EQ(CDriverIDeviceCtrl::ValueText(FG_TYPE_UINT64, &huge, 4), "")
        << "too short for the type";
}

TEST_F(DeviceCtrl, ClassFive_RawLogsTheClassTextDoesNot) {
    ScopedCapture capture;
    uint64_t size = 4;
    uint32_t value = 0;
    EXPECT_EQ(control_.RawCommand(list_.get(), 0x50000000u | Ctrl::BufferCount, nullptr, 0, &value,
                                  &size),
              ORV::E_INVALIDARG);
    const auto error = capture->find(linePrefix + "Unknown operation: ");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, linePrefix + "Unknown operation: 1342177280");
    EXPECT_EQ(error->level, nwLogging::level_err);
    capture->clear();
    EXPECT_EQ(
        control_.TextCommand(list_.get(), 0x50000000u | Ctrl::BufferCount, "", 0, nullptr, &size),
        ORV::E_INVALIDARG);
    EXPECT_EQ(capture->count(), 0u);
}

TEST_F(DeviceCtrl, ClassesTwoToFour_NotSupportedInBothForms) {
    for (uint32_t operation : {0x20000000u, 0x30000000u, 0x40000000u}) {
        uint64_t size = 4;
        uint32_t value = 0;
        EXPECT_EQ(control_.RawCommand(list_.get(), operation | Ctrl::BufferCount, nullptr, 0,
                                      &value, &size),
                  ORV::E_NOTSUPPORTED);
        EXPECT_EQ(
            control_.TextCommand(list_.get(), operation | Ctrl::Parameter, "", 0, nullptr, &size),
            ORV::E_NOTSUPPORTED);
    }
}

TEST_F(DeviceCtrl, RawParameter_InputSizeMustBe24) {
    TypedParameterRecord record;
    record.id = 100;
    record.type = 2;
    record.length = 4;
    uint32_t value = 0;
    uint64_t size = 4;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::Parameter), &record, 16, &value, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(control_.RawCommand(list_.get(), Set(Ctrl::Parameter), &record, 16, nullptr, nullptr),
              ORV::E_INVALIDARG);
    ASSERT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::Parameter), &record, 24, &value, &size),
              0);
    EXPECT_EQ(value, 640u);
}

TEST_F(DeviceCtrl, RawSet_ChecksLengthAndValueBeforeTheSdk) {
    uint32_t width = 512;
    TypedParameterRecord record;
    record.id = 100;
    record.type = 2;
    record.length = 2;
    record.value = &width;
    EXPECT_EQ(control_.RawCommand(list_.get(), Set(Ctrl::Parameter), &record, 24, nullptr, nullptr),
              ORV::E_INVALIDARG);
    record.length = 4;
    record.value = nullptr;
    EXPECT_EQ(control_.RawCommand(list_.get(), Set(Ctrl::Parameter), &record, 24, nullptr, nullptr),
              ORV::E_INVALIDARG);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
    record.value = &width;
    EXPECT_EQ(control_.RawCommand(list_.get(), Set(Ctrl::Parameter), &record, 24, nullptr, nullptr),
              0)
        << "a set has no output, so it needs no size argument";
    EXPECT_EQ(Parameter(100), 512u);
    record.id = 6100; // read-only
    EXPECT_EQ(control_.RawCommand(list_.get(), Set(Ctrl::Parameter), &record, 24, nullptr, nullptr),
              ORV::E_FAIL);
}

TEST_F(DeviceCtrl, AbsentSizeArgument_IsRefusedWithoutTouchingIt) {
    uint32_t value = 0;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::BufferCount), nullptr, 0, &value, nullptr),
              ORV::E_INVALIDARG);
    char text[4];
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(Ctrl::BufferCount), "", 0, text, nullptr),
              ORV::E_INVALIDARG);
    EXPECT_EQ(control_.TextCommand(list_.get(), Set(Ctrl::Parameter), "", 0, text, nullptr),
              ORV::E_INVALIDARG);
}

TEST_F(DeviceCtrl, UnknownCode_RawLogsTextDoesNot) {
    ScopedCapture capture;
    uint64_t size = 0;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(unknownCode), nullptr, 0, nullptr, &size),
              ORV::E_INVALIDARG);
    EXPECT_TRUE(capture->contains(linePrefix + "Unknown parameter: 291"));
    capture->clear();
    EXPECT_EQ(control_.TextCommand(list_.get(), Get(unknownCode), "", 0, nullptr, &size),
              ORV::E_INVALIDARG);
    EXPECT_EQ(capture->count(), 0u);
}

TEST_F(DeviceCtrl, ParameterIdList_RawAndText) {
    uint64_t size = 0;
    ASSERT_EQ(
        control_.RawCommand(list_.get(), Get(Ctrl::ParameterIdList), nullptr, 0, nullptr, &size),
        0);
    std::string raw(static_cast<size_t>(size), 'x');
    uint64_t smaller = size - 1;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::ParameterIdList), nullptr, 0, raw.data(),
                                  &smaller),
              ORV::E_INVALIDARG);
    ASSERT_EQ(
        control_.RawCommand(list_.get(), Get(Ctrl::ParameterIdList), nullptr, 0, raw.data(), &size),
        0);
    EXPECT_EQ(raw.back(), '\0');
    const std::string text = TextGet(Get(Ctrl::ParameterIdList));
    EXPECT_EQ(text + '\0', raw);
    EXPECT_EQ(text.rfind("ORV Silicon Software ME-series, Parameter ID List\r\n", 0), 0u);
    EXPECT_NE(text.find("100 \t FG_WIDTH\r\n"), std::string::npos);
}

TEST_F(DeviceCtrl, PendingImages_NeedARunningAcquisition) {
    ScopedCapture capture;
    uint32_t pending = 0;
    EXPECT_EQ(RawGet(Ctrl::PendingImages, pending), ORV::E_FAIL);
    EXPECT_TRUE(capture->contains(linePrefix + "Error: Not in state"));
}

TEST_F(DeviceCtrl, Timestamp_RefusedBySdkIsAFailureWithItsText) {
    ScopedCapture capture;
    ASSERT_EQ(SimCtl_FailCall("Fg_GetBufferParameter", -2050, 1), SIMCTL_OK);
    uint32_t stamp = 7;
    EXPECT_EQ(RawGet(Ctrl::Timestamp, stamp), ORV::E_FAIL);
    EXPECT_EQ(stamp, 7u);
    EXPECT_TRUE(capture->contains(linePrefix + "Error: Error getting timestamp"));
}

TEST_F(DeviceCtrl, PerImageCodes_AfterAWait) {
    list_->StartAcquisition();
    int32_t index = -1;
    ASSERT_EQ(list_->WaitForImage(index), CDriverBufferList::WaitDelivered);
    ASSERT_EQ(index, 0);

    uint64_t number = 0;
    ASSERT_EQ(RawGet(Ctrl::ImageNumber, number), 0);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(TextGet(Get(Ctrl::ImageNumber)), "1");
    uint64_t transfer = 0;
    ASSERT_EQ(RawGet(Ctrl::TransferLength, transfer), 0);
    EXPECT_EQ(transfer, 640u * 480u);
    EXPECT_EQ(TextGet(Get(Ctrl::TransferLength)), std::to_string(640 * 480));
    EXPECT_EQ(TextGet(Get(Ctrl::IncompleteImages)), "0");
    SimCtlBufferRecord record{};
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, 1, &record), SIMCTL_OK);
    EXPECT_EQ(TextGet(Get(Ctrl::Tag)), std::to_string(record.tag));
    uint32_t stamp = 0;
    ASSERT_EQ(RawGet(Ctrl::Timestamp, stamp), 0);
    EXPECT_EQ(stamp, static_cast<uint32_t>(record.timestamp64));
    EXPECT_EQ(TextGet(Get(Ctrl::BufferTransferLength), "1"), std::to_string(record.transferLength));
    int64_t bufferNumber = 1;
    uint64_t length = 0;
    uint64_t size = 8;
    EXPECT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::BufferTransferLength), &bufferNumber, 4,
                                  &length, &size),
              ORV::E_INVALIDARG)
        << "the buffer number is 8 bytes";
    int32_t result = 0;
    TextGet(Get(Ctrl::PendingImages), "", &result);
    EXPECT_EQ(result, 0);
    list_->StopAcquisition();
}

TEST_F(DeviceCtrl, NodeMapHandles_RawOnly) {
    uint64_t size = 0;
    ASSERT_EQ(control_.RawCommand(list_.get(), Get(Ctrl::DmaNodeMap), nullptr, 0, nullptr, &size),
              0);
    EXPECT_EQ(size, 8u);
    ORHandle handle = nullptr;
    ASSERT_EQ(RawGet(Ctrl::DmaNodeMap, handle), 0);
    ASSERT_NE(handle, nullptr);
    ORCImg_ReleaseObject(&handle);
    ORHandle none = reinterpret_cast<ORHandle>(0x1);
    // Camera Link has no camera node map: the answer is a written null handle.
    EXPECT_EQ(RawGet(Ctrl::CameraNodeMap, none), 0);
    EXPECT_EQ(none, nullptr);
}

TEST_F(DeviceCtrl, NoBufferList_IsRefusedForItsCodes) {
    uint64_t number = 0;
    uint64_t size = 8;
    EXPECT_EQ(control_.RawCommand(nullptr, Get(Ctrl::ImageNumber), nullptr, 0, &number, &size),
              ORV::E_INVALIDARG);
    uint32_t count = 0;
    size = 4;
    EXPECT_EQ(control_.RawCommand(nullptr, Get(Ctrl::BufferCount), nullptr, 0, &count, &size), 0);
    EXPECT_EQ(count, 3u);
}

} // namespace
