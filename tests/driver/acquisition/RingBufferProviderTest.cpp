// CDriverIRingBuffer: buffer count and lock mode (validated before set), unlock,
// lock state, buffer description and per-buffer information, with the common
// failures in their order.
#include "driver/acquisition/ImagePathRig.h"
#include "driver/acquisition/ProviderLog.h"

#include "acquisition/DriverBufferList.h"
#include "acquisition/DriverIRingBuffer.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using imagepath::ImagePathRig;
using imagepath::LoggedAt;
using imagepath::LoggedPlain;
using imagepath::Position;
using imagepath::RigOptions;
using imagepath::Triggered;
using nwLogging::level_err;
using nwLogging::level_info;
using nwLogging::level_warn;

namespace {

const std::string kPrefix = "\tBoard = 0 | Channel = 0\tRingbuffer: ";

} // namespace

TEST(RingBufferProvider, NumBuffers_QueryValidateSet) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    int32_t count = 0;

    EXPECT_TRUE(ring.Supported(&list));
    EXPECT_EQ(ring.NumBuffers(&list, CDriverIRingBuffer::Query, &count), ORV::OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(capture->count(), 0u);

    count = 5;
    EXPECT_EQ(ring.NumBuffers(&list, CDriverIRingBuffer::Validate, &count), ORV::OK);
    EXPECT_TRUE(LoggedPlain(capture.target(),
                            kPrefix + "RingBuffer action RINGBUFFER_NUMBUFFER_CMD_VALIDATE: 5",
                            level_info));
    EXPECT_EQ(rig.Channel().NumberOfBuffers(), 3u);

    capture->clear();
    EXPECT_EQ(ring.NumBuffers(&list, CDriverIRingBuffer::Set, &count), ORV::OK);
    EXPECT_EQ(rig.Channel().NumberOfBuffers(), 5u);
    EXPECT_EQ(list.NumberOfBuffers(), 3u); // the list keeps its buffers
    EXPECT_LT(Position(capture.target(), "RINGBUFFER_NUMBUFFER_CMD_VALIDATE: 5"),
              Position(capture.target(), "RINGBUFFER_NUMBUFFER_CMD_SET: 5"));
    EXPECT_TRUE(LoggedPlain(capture.target(),
                            kPrefix + "RingBuffer action RINGBUFFER_NUMBUFFER_CMD_SET: 5",
                            level_info));
}

TEST(RingBufferProvider, NumBuffers_RejectedCountNeverReachesTheChannel) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    int32_t count = 0;

    EXPECT_EQ(ring.NumBuffers(&list, CDriverIRingBuffer::Set, &count), ORV::E_INVALIDARG);
    EXPECT_TRUE(capture->contains("RINGBUFFER_NUMBUFFER_CMD_VALIDATE: 0"));
    EXPECT_FALSE(capture->contains("RINGBUFFER_NUMBUFFER_CMD_SET"));
    EXPECT_EQ(rig.Channel().NumberOfBuffers(), 3u);
    count = -4;
    EXPECT_EQ(ring.NumBuffers(&list, CDriverIRingBuffer::Validate, &count), ORV::E_INVALIDARG);

    EXPECT_EQ(ring.NumBuffers(&list, 3, &count), ORV::E_INVALIDARG);
    EXPECT_TRUE(LoggedAt(capture.target(), kPrefix + "RingBuffer BufferNumber action INVALID",
                         level_warn, "DriverIRingBuffer"));
}

TEST(RingBufferProvider, LockMode_QueryValidateSet) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    uint32_t mode = 9;

    EXPECT_EQ(ring.LockMode(&list, CDriverIRingBuffer::Query, &mode), ORV::OK);
    EXPECT_EQ(mode, 0u);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Requested lockmode: 0", level_info));

    mode = 3;
    EXPECT_EQ(ring.LockMode(&list, CDriverIRingBuffer::Set, &mode), ORV::E_INVALIDARG);
    EXPECT_TRUE(
        LoggedAt(capture.target(), kPrefix + "Invalid lockmode", level_warn, "DriverIRingBuffer"));
    EXPECT_EQ(rig.Channel().LockMode(), 0u);
    EXPECT_FALSE(capture->contains("Set lock mode"));

    mode = 2;
    EXPECT_EQ(ring.LockMode(&list, CDriverIRingBuffer::Validate, &mode), ORV::OK);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Valid lockmode", level_info));
    EXPECT_EQ(rig.Channel().LockMode(), 0u);
    capture->clear();
    EXPECT_EQ(ring.LockMode(&list, CDriverIRingBuffer::Set, &mode), ORV::OK);
    EXPECT_LT(Position(capture.target(), "Valid lockmode"),
              Position(capture.target(), "Set lock mode: 2"));
    mode = 0;
    EXPECT_EQ(ring.LockMode(&list, CDriverIRingBuffer::Query, &mode), ORV::OK);
    EXPECT_EQ(mode, 2u);

    capture->clear();
    EXPECT_EQ(ring.LockMode(&list, 7, &mode), ORV::E_INVALIDARG);
    EXPECT_EQ(capture->count(), 0u);
}

TEST(RingBufferProvider, UnlockBuffer_IndexChecksAndLockModes) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;

    EXPECT_EQ(ring.UnlockBuffer(&list, 3), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.UnlockBuffer(&list, -1), ORV::E_INVALIDARG);
    EXPECT_EQ(imagepath::Count(capture.target(), kPrefix + "Index out of range"), 2u);
    EXPECT_TRUE(LoggedAt(capture.target(), "Index out of range", level_err, "DriverIRingBuffer"));

    EXPECT_EQ(ring.UnlockBuffer(&list, 0), ORV::OK); // before any grab
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Unlock buffer: 0", level_info));

    list.StartAcquisition();
    capture->clear();
    EXPECT_EQ(ring.UnlockBuffer(&list, 0), ORV::E_FAIL);
    EXPECT_TRUE(
        LoggedAt(capture.target(),
                 kPrefix + "Unlocking buffer only allowed in if RINGBUFFER_LOCKMODE_ON is set",
                 level_err, "DriverIRingBuffer"));

    rig.Channel().SetLockMode(2);
    EXPECT_EQ(ring.UnlockBuffer(&list, 1), ORV::OK); // not locked: no SDK unlock
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0);
    list.StopAcquisition();
}

TEST(RingBufferProvider, LockState_FollowsDeliveryAndUnlock) {
    ImagePathRig rig(Triggered(3));
    rig.Channel().SetLockMode(2);
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    uint8_t locked = 7;
    double value = -1;

    EXPECT_EQ(ring.IsLocked(&list, 0, &locked), ORV::E_FAIL);
    EXPECT_TRUE(LoggedAt(capture.target(),
                         "Not in state \"AcquesitionStarted\" for seting buffer status", level_err,
                         "DriverIRingBuffer"));
    EXPECT_EQ(locked, 7);
    EXPECT_EQ(ring.BufferInfo(&list, 0, CDriverIRingBuffer::InfoLockState, &value),
              ORV::E_INVALIDARG);

    list.StartAcquisition();
    rig.Trigger(1);
    int32_t index = -1;
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    EXPECT_EQ(ring.IsLocked(&list, 0, &locked), ORV::OK);
    EXPECT_EQ(locked, 1);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Buffer 0 is locked: true", level_info));
    EXPECT_EQ(ring.BufferInfo(&list, 0, CDriverIRingBuffer::InfoLockState, &value), ORV::OK);
    EXPECT_EQ(value, 1.0);

    EXPECT_EQ(ring.UnlockBuffer(&list, 0), ORV::OK);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 1);
    EXPECT_EQ(ring.IsLocked(&list, 0, &locked), ORV::OK);
    EXPECT_EQ(locked, 0);
    EXPECT_TRUE(capture->contains("Buffer 0 is locked: false"));
    EXPECT_EQ(ring.BufferInfo(&list, 0, CDriverIRingBuffer::InfoLockState, &value), ORV::OK);
    EXPECT_EQ(value, 0.0);
    list.StopAcquisition();
}

TEST(RingBufferProvider, BufferInfo_TimeStampAndTagAreTheDmasRecord) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    list.StartAcquisition();
    rig.Trigger(2);
    int32_t index = -1;
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    ScopedCapture capture;

    for (int32_t i = 0; i < 2; ++i) {
        const SimCtlBufferRecord record = BufferRecord(i + 1);
        double value = -1;
        EXPECT_EQ(ring.BufferInfo(&list, i, CDriverIRingBuffer::InfoTimestamp, &value), ORV::OK);
        EXPECT_EQ(value, static_cast<double>(record.timestamp32));
        EXPECT_TRUE(LoggedPlain(capture.target(),
                                kPrefix + "Requested RINGBUFFER_INFO_TIMESTAMP for " +
                                    std::to_string(i) + ": " +
                                    std::to_string(static_cast<int32_t>(record.timestamp32)),
                                level_info));
        EXPECT_EQ(ring.BufferInfo(&list, i, CDriverIRingBuffer::InfoTag, &value), ORV::OK);
        EXPECT_EQ(value, static_cast<double>(record.tag));
        EXPECT_TRUE(capture->contains("Requested RINGBUFFER_INFO_TAG for " + std::to_string(i) +
                                      ": " + std::to_string(record.tag)));
    }
    capture->clear();
    double value = -1;
    EXPECT_EQ(ring.BufferInfo(&list, 0, 3, &value), ORV::E_INVALIDARG);
    EXPECT_EQ(capture->count(), 0u);
    EXPECT_EQ(value, -1);

    SimCtl_FailCall("Fg_GetBufferParameter", FG_ERR_INVALID_BUFFER_NUMBER, 1);
    EXPECT_EQ(ring.BufferInfo(&list, 0, CDriverIRingBuffer::InfoTimestamp, &value), ORV::E_FAIL);
    EXPECT_TRUE(LoggedAt(capture.target(), kPrefix + "Error getting timestamp", level_err,
                         "DriverIRingBuffer"));
    list.StopAcquisition();
}

TEST(RingBufferProvider, BufferInfo_BeforeAnyGrabTheSdkHasNoRecord) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    double value = -1;
    // Without a head the SDK has nothing to say about buffer 1.
    EXPECT_EQ(ring.BufferInfo(&list, 0, CDriverIRingBuffer::InfoTag, &value), ORV::E_FAIL);
}

TEST(RingBufferProvider, BufferDescription_DimensionsTypeAndPlanes) {
    RigOptions options;
    options.dma.format = "color24";
    options.invertdim = true;
    options.rotation = 3;
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    int32_t planes = 0, width = 0, height = 0, type = 0;

    EXPECT_EQ(ring.BufferDimensions(&list, 2, &planes, &width, &height), ORV::OK);
    EXPECT_EQ(planes, 3);
    EXPECT_EQ(width, 48);
    EXPECT_EQ(height, 64);
    EXPECT_EQ(ring.BufferDataType(&list, 1, 2, &type), ORV::OK);
    EXPECT_EQ(type, static_cast<int32_t>(rig.Channel().PixelDepth()));
    EXPECT_EQ(type, 8);

    for (uint32_t plane = 0; plane < 3; ++plane) {
        void* base = nullptr;
        const ORV::VpaEntry* vpa = nullptr;
        EXPECT_EQ(ring.BufferPlane(&list, 1, plane, &base, &vpa), ORV::OK);
        // The grabber delivers BGR; inverted planes present RGB.
        EXPECT_EQ(static_cast<uint8_t*>(base), list.BufferAddress(1) + (2 - plane));
        EXPECT_EQ(vpa, list.VpaTable());
    }
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Requested RB Index: 1", level_info));
    EXPECT_EQ(capture->count(), 3u);
}

TEST(RingBufferProvider, BufferPlane_LogsTheRequestBeforeTheChecks) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    void* base = nullptr;
    const ORV::VpaEntry* vpa = nullptr;

    EXPECT_EQ(ring.BufferPlane(&list, 5, 0, &base, &vpa), ORV::E_INVALIDARG);
    EXPECT_LT(Position(capture.target(), "Requested RB Index: 5"),
              Position(capture.target(), "Index out of range"));
    EXPECT_EQ(base, nullptr);
    EXPECT_EQ(ring.BufferPlane(&list, 2, 0, &base, &vpa), ORV::OK);
    EXPECT_EQ(base, list.BufferAddress(2)); // one plane: no offset
}

TEST(RingBufferProvider, IndexBeyondAnOlderSmallerList_IsOutOfRange) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    rig.Channel().SetNumberOfBuffers(8); // the next list will be larger; this one is not
    void* base = nullptr;
    const ORV::VpaEntry* vpa = nullptr;
    int32_t planes = 0, width = 0, height = 0;

    EXPECT_EQ(ring.BufferPlane(&list, 5, 0, &base, &vpa), ORV::E_INVALIDARG);
    EXPECT_EQ(base, nullptr);
    EXPECT_EQ(ring.BufferDimensions(&list, 3, &planes, &width, &height), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.BufferPlane(&list, 2, 0, &base, &vpa), ORV::OK);
}

TEST(RingBufferProvider, BufferSequence_AlwaysLeavesTheAnswerToTheFramework) {
    ImagePathRig rig;
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    int32_t index = 11;

    EXPECT_EQ(ring.BufferSequence(nullptr, 3, &index), 1);
    EXPECT_EQ(index, 11);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Requested sequence:3", level_info));
    EXPECT_FALSE(capture->contains("No BufferList"));
}

TEST(RingBufferProvider, NoBufferList_EveryOperationIsAnInvalidArgument) {
    ImagePathRig rig;
    CDriverIRingBuffer ring(rig.Channel());
    ScopedCapture capture;
    int32_t count = 2, planes = 0, width = 0, height = 0, type = 0;
    uint32_t mode = 0;
    uint8_t locked = 0;
    void* base = nullptr;
    const ORV::VpaEntry* vpa = nullptr;
    double value = 0;

    EXPECT_EQ(ring.NumBuffers(nullptr, CDriverIRingBuffer::Query, &count), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.UnlockBuffer(nullptr, 0), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.LockMode(nullptr, CDriverIRingBuffer::Query, &mode), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.IsLocked(nullptr, 0, &locked), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.BufferDimensions(nullptr, 0, &planes, &width, &height), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.BufferDataType(nullptr, 0, 0, &type), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.BufferPlane(nullptr, 0, 0, &base, &vpa), ORV::E_INVALIDARG);
    EXPECT_EQ(ring.BufferInfo(nullptr, 0, 0, &value), ORV::E_INVALIDARG);
    EXPECT_EQ(imagepath::Count(capture.target(), kPrefix + "No BufferList"), 8u);
    EXPECT_TRUE(LoggedAt(capture.target(), "No BufferList", level_err, "DriverIRingBuffer"));
    EXPECT_FALSE(capture->contains("Index out of range"));
    EXPECT_EQ(rig.Channel().NumberOfBuffers(), 3u);
}
