// Image rectangle, port and board selection and the software trigger on a
// simulated Camera Link board.
#include "driver/nodemap/NodeMapRig.h"

#include "support/ScopedCapture.h"

#include "acquisition/DriverBufferList.h"
#include "acquisition/DriverISoftwareTrigger.h"
#include "board/DriverIBoardSelect2.h"
#include "board/DriverICameraSelect2.h"
#include "board/DriverIImageRect.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace nodemaptest;

namespace {

const std::string prefix = "\tBoard = 0 | Channel = 0\t";

Machine TwoDmas() {
    Machine machine;
    machine.dmas = 2;
    return machine;
}

TEST(ImageRect, SizeGet_AnswersTheDmaSize) {
    NodeMapRig rig;
    CDriverIImageRect rect(rig.Channel());
    int32_t width = 0;
    int32_t height = 0;
    uint8_t changed = 7;
    ASSERT_EQ(rect.ImageSize(0, &width, &height, &changed), 0);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(changed, 0);
}

TEST(ImageRect, SizeSetToTheCurrentSize_WritesNothing) {
    NodeMapRig rig;
    CDriverIImageRect rect(rig.Channel());
    int32_t width = 640;
    int32_t height = 480;
    uint8_t changed = 7;
    EXPECT_EQ(rect.ImageSize(1, &width, &height, &changed), 0);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameter"), 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
}

TEST(ImageRect, SizeActionOneSets_OffsetActionOneIsRefused) {
    ScopedCapture capture;
    NodeMapRig rig;
    CDriverIImageRect rect(rig.Channel());
    int32_t width = 320;
    int32_t height = 240;
    uint8_t changed = 0;
    ASSERT_EQ(rect.ImageSize(1, &width, &height, &changed), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(rig.Channel().Width(), 320u);
    EXPECT_EQ(rig.Channel().Height(), 240u);

    int32_t x = 8;
    int32_t y = 8;
    changed = 0;
    EXPECT_EQ(rect.ImageOffset(1, &x, &y, &changed), ORV::E_INVALIDARG);
    const auto error = capture->find("invalid or unsupported action for offset: ");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, prefix.substr(0, prefix.size() - 1) +
                               "\tImageRect: invalid or unsupported action for offset: 1");
    EXPECT_EQ(error->level, nwLogging::level_err);
    EXPECT_EQ(error->location.rfind("DriverIImageRect(", 0), 0u);
    uint32_t offset = 99;
    ASSERT_TRUE(rig.Channel().GetParameter(300, offset));
    EXPECT_EQ(offset, 0u);
}

TEST(ImageRect, ActionTwo_NotSupportedWithoutALine) {
    NodeMapRig rig;
    ScopedCapture capture;
    CDriverIImageRect rect(rig.Channel());
    int32_t a = 1;
    int32_t b = 1;
    uint8_t changed = 0;
    EXPECT_EQ(rect.ImageSize(2, &a, &b, &changed), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(rect.ImageOffset(2, &a, &b, &changed), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(capture->count(), 0u);
    EXPECT_EQ(rect.ImageSize(9, &a, &b, &changed), ORV::E_INVALIDARG);
    EXPECT_TRUE(capture->contains("invalid or unsupported action for size: 9"));
}

TEST(ImageRect, OffsetSet_WritesAndRollsBackOnAFailedWrite) {
    NodeMapRig rig;
    CDriverIImageRect rect(rig.Channel());
    int32_t x = 16;
    int32_t y = 8;
    uint8_t changed = 0;
    ASSERT_EQ(rect.ImageOffset(3, &x, &y, &changed), 0);
    EXPECT_EQ(changed, 1);
    int32_t readX = 0;
    int32_t readY = 0;
    ASSERT_EQ(rect.ImageOffset(0, &readX, &readY, &changed), 0);
    EXPECT_EQ(readX, 16);
    EXPECT_EQ(readY, 8);

    // A refused write puts the previous offset back.
    ASSERT_EQ(SimCtl_FailCall("Fg_SetParameter", -2021, 1), SIMCTL_OK);
    x = 32;
    y = 24;
    EXPECT_EQ(rect.ImageOffset(3, &x, &y, &changed), ORV::E_FAIL);
    EXPECT_EQ(changed, 0);
    ASSERT_EQ(rect.ImageOffset(0, &readX, &readY, &changed), 0);
    EXPECT_EQ(readX, 16);
    EXPECT_EQ(readY, 8);
}

TEST(ImageRect, SizeWriteFails_OldSizeBackAndFailure) {
    NodeMapRig rig;
    CDriverIImageRect rect(rig.Channel());
    ASSERT_EQ(SimCtl_FailCall("Fg_SetParameter", -2021, 1), SIMCTL_OK);
    int32_t width = 320;
    int32_t height = 240;
    uint8_t changed = 0;
    EXPECT_EQ(rect.ImageSize(3, &width, &height, &changed), ORV::E_FAIL);
    EXPECT_EQ(changed, 0);
    uint32_t current = 0;
    ASSERT_TRUE(rig.Channel().GetParameter(100, current));
    EXPECT_EQ(current, 640u);
}

TEST(ImageRect, SizeReadFails_IsAFailure) {
    NodeMapRig rig;
    CDriverIImageRect rect(rig.Channel());
    ASSERT_EQ(SimCtl_FailCall("Fg_GetParameterTyped", -2020, 1), SIMCTL_OK);
    int32_t width = -1;
    int32_t height = -1;
    uint8_t changed = 0;
    EXPECT_EQ(rect.ImageSize(0, &width, &height, &changed), ORV::E_FAIL);
    EXPECT_EQ(width, -1) << "nothing answered on failure";
}

TEST(CameraSelect, PortCountCurrentAndRange) {
    ScopedCapture capture;
    NodeMapRig rig(TwoDmas());
    CDriverICameraSelect2 select(rig.Channel());
    CDriverBufferList list(rig.Channel());
    int32_t count = 0;
    ASSERT_EQ(select.PortCount(&list, &count), 0);
    EXPECT_EQ(count, 2);
    int32_t current = -1;
    ASSERT_EQ(select.CurrentPort(&list, &current), 0);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(select.CheckPort(&list, 1), 0);
    EXPECT_EQ(select.CheckPort(&list, 2), ORV::E_INVALIDARG);
    const auto warning = capture->find("Port index out of range: ");
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->text,
              prefix.substr(0, prefix.size() - 1) + "\tCameraSelect2: Port index out of range: 2");
    EXPECT_EQ(warning->level, nwLogging::level_warn);
    EXPECT_EQ(select.CheckPort(&list, -1), ORV::E_INVALIDARG);
    EXPECT_EQ(select.CheckPort(nullptr, 0), ORV::E_INVALIDARG);
    EXPECT_TRUE(capture->contains("\tCameraSelect2: No BufferList"));
}

TEST(CameraSelect, DuringAGrab_PortChangeRefusedWhateverThePort) {
    NodeMapRig rig(TwoDmas());
    CDriverICameraSelect2 select(rig.Channel());
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    EXPECT_EQ(select.CheckPort(&list, 1), ORV::E_PORTCHANGE);
    EXPECT_EQ(select.CheckPort(&list, 0), ORV::E_PORTCHANGE);
    EXPECT_EQ(select.CheckPort(&list, 7), ORV::E_PORTCHANGE);
    list.StopAcquisition();
    EXPECT_EQ(select.CheckPort(&list, 1), 0);
}

TEST(BoardSelect, BoardCountFromTheEnumeration) {
    NodeMapRig rig;
    CDriverIBoardSelect2 select(rig.Channel());
    int32_t count = 0;
    ASSERT_EQ(select.BoardCount(nullptr, &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(select.BoardCount(nullptr, nullptr), ORV::E_INVALIDARG);
}

TEST(SoftwareTrigger, OneImagePerTrigger) {
    Machine machine;
    machine.trigger = "software";
    NodeMapRig rig(machine);
    CDriverISoftwareTrigger trigger(rig.Channel());
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    for (int64_t n = 1; n <= 3; ++n) {
        ASSERT_EQ(trigger.SendTrigger(&list, 0), 0);
        int32_t index = -1;
        ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
        EXPECT_EQ(list.LastPictureNumber(), static_cast<uint64_t>(n));
    }
    SimCtlDmaCounters counters{};
    ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
    EXPECT_EQ(counters.produced, 3);
    EXPECT_EQ(counters.pendingTriggers, 0);
    list.StopAcquisition();
}

TEST(SoftwareTrigger, SdkRefusalIsAFailure) {
    NodeMapRig rig; // free-running: the SDK refuses a software trigger
    CDriverISoftwareTrigger trigger(rig.Channel());
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    EXPECT_EQ(trigger.SendTrigger(&list, 0), ORV::E_FAIL);
    list.StopAcquisition();
    ASSERT_EQ(SimCtl_FailCall("Fg_SoftwareTrigger", -2130, 1), SIMCTL_OK);
    EXPECT_EQ(trigger.SendTrigger(&list, 0), ORV::E_FAIL);
}

} // namespace
