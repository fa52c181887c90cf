// The framework through the host-application API, on the test driver.

#include "FrameworkModuleFixture.h"
#ifdef _WIN32
#include "support/PeImage.h"
#else
#include "ElfExports.h"
#endif

#include <ORV/ORV.h>

#include <algorithm>
#include <atomic>
#include <cstring>

using ORV::E_BUSY;
using ORV::E_EVENTNOTOFFERED;
using ORV::E_FAIL;
using ORV::E_INVALIDARG;
using ORV::E_POSITION;
using orvhost::HostObject;

TEST(FrameworkModuleExports, TestDriverExportsOnlyTheEntryPointsAndItsControl) {
#ifdef _WIN32
    std::vector<std::string> exports = PeImage(TEST_DRIVER_PATH).ExportNames();
#else
    std::vector<std::string> exports = ElfExports(TEST_DRIVER_PATH);
#endif
    std::sort(exports.begin(), exports.end());
    EXPECT_EQ(exports, (std::vector<std::string>{"CanUnload", "GetImageV2", "TestDriver_Control"}));
}

TEST_F(FrameworkModule, CanUnload_RightAfterLoad_AnswersOne) {
    EXPECT_EQ(module_->CanUnload(), 1);
}

TEST_F(FrameworkModule, GetImageV2_Twice_GivesTwoImagesOnOneChannelWrapper) {
    HostObject first = NewImage();
    HostObject second = NewImage();
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(control_->CountOf("Board.CreateChannel"), 1u);
    EXPECT_EQ(control_->CountOf("Channel.CreateInterfaces"), 1u);
    EXPECT_EQ(control_->CountOf("System.Initialize.1"), 1u);
    EXPECT_EQ(module_->CanUnload(), 0);
    first.reset();
    EXPECT_EQ(module_->CanUnload(), 0);
    second.reset();
    EXPECT_EQ(module_->CanUnload(), 1);
    EXPECT_EQ(control_->CountOf("BufferContainer.Free"), 2u);
}

TEST_F(FrameworkModule, GetImageV2_OffersTheTablesOfTheProviders) {
    HostObject image = NewImage();
    EXPECT_NE(orvhost::FindInterface<ORV::IGrabber>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::IGrab2>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::IRingBuffer>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::IImageRect>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::IBoardSelect2>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::ICameraSelect2>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::IDeviceCtrl>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::ISoftwareTrigger>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::INodeMapHandle>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::INodeMapHandle2>(image.get()), nullptr);
    EXPECT_NE(orvhost::FindInterface<ORV::INotify>(image.get()), nullptr);
    // No provider, no table.
    EXPECT_EQ(orvhost::FindInterface<ORV::IPingPong>(image.get()), nullptr);
    EXPECT_EQ(orvhost::FindInterface<ORV::IRegPort>(image.get()), nullptr);
    EXPECT_EQ(orvhost::FindInterface<ORV::IPropertyChange>(image.get()), nullptr);

    ORV::IImageVPA* description = orvhost::ImageDescription(image.get());
    ASSERT_NE(description, nullptr);
    int32_t planes = 0, width = 0, height = 0;
    EXPECT_EQ(description->GetDimensions(&planes, &width, &height), 0);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 3);
    double system[6] = {};
    EXPECT_EQ(description->GetCoordinateSystem(system), 0);
    EXPECT_EQ(std::vector<double>(system, system + 6), (std::vector<double>{0, 0, 1, 0, 0, 1}));
}

TEST_F(FrameworkModule, GetImageV2_WithoutBoard_LogsTheOpenFailureAndLeavesTheModuleUnloadable) {
    control_->producerCreatesNoBoard = true;
    EXPECT_EQ(module_->GetImageV2(), nullptr);
    EXPECT_TRUE(LogContains("GDRVM.producer [err] Unable to open channel @DDKProducer("));
    EXPECT_TRUE(
        LogContains("[err] Invalid board id : ~idx:0 / Unable to open device (DDKProducer:"));
    EXPECT_EQ(module_->CanUnload(), 1);
}

TEST_F(FrameworkModule, GetImageV2_WithoutChannel_LogsTheChannelFailure) {
    control_->boardCreatesNoChannel = true;
    EXPECT_EQ(module_->GetImageV2(), nullptr);
    EXPECT_TRUE(LogContains("GDRVM.board [err] Unable to open channel"));
    EXPECT_TRUE(
        LogContains("[err] Invalid Channel id : ~idx:0 / Unable to open device (DDKBoard:"));
}

TEST_F(FrameworkModule, CreateChannel_LogsItAtInfo) {
    HostObject image = NewImage();
    EXPECT_TRUE(LogContains("GDRVM.chan [info] Create channel"));
}

TEST_F(FrameworkModule, CanUnload_WhileANodeMapLives_AnswersZero) {
    ORHandle nodeMap = nullptr;
    {
        HostObject image = NewImage();
        ASSERT_EQ(Find<ORV::INodeMapHandle>(image)->GetNodeMap(&nodeMap), 0);
        ASSERT_NE(nodeMap, nullptr);
    }
    EXPECT_EQ(module_->CanUnload(), 0);
    orvhost::Release(nodeMap);
    EXPECT_EQ(control_->CountOf("NodeMap.Released"), 1u);
    EXPECT_EQ(module_->CanUnload(), 1);
}

TEST_F(FrameworkModule, NodeMapFailure_IsAnsweredWithTheTopBitSet) {
    HostObject image = NewImage();
    control_->SetResult("NodeMapHandle.GetNodeMap", 0x13);
    ORHandle nodeMap = nullptr;
    EXPECT_EQ(static_cast<uint32_t>(Find<ORV::INodeMapHandle>(image)->GetNodeMap(&nodeMap)),
              0x80000013u);
    HostObject byName;
    EXPECT_EQ(static_cast<uint32_t>(
                  Find<ORV::INodeMapHandle2>(image)->GetNodeMap("device", byName.out())),
              0x80000013u);
}

TEST_F(FrameworkModule, Snap_DuringGrab_IsBusy_AndWorksAfterStop) {
    HostObject image = NewImage();
    auto* grab2 = Find<ORV::IGrab2>(image);
    auto* grabber = Find<ORV::IGrabber>(image);
    ASSERT_EQ(grab2->GrabStart(), 0);
    EXPECT_EQ(grabber->Snap(), E_BUSY);
    EXPECT_EQ(grab2->GrabStart(), E_BUSY);
    EXPECT_EQ(grab2->GrabStop(0), 0);
    EXPECT_EQ(control_->CountOf("Grab2.GrabStop.0"), 1u);
    EXPECT_EQ(grabber->Snap(), 0);
    EXPECT_EQ(control_->CountOf("Grabber.Snap"), 1u);
}

TEST_F(FrameworkModule, GrabStop_WithoutGrab_IsBusyAndCallsNothing) {
    HostObject image = NewImage();
    EXPECT_EQ(Find<ORV::IGrab2>(image)->GrabStop(0), E_BUSY);
    EXPECT_EQ(control_->CountOf("Grab2.GrabStop.0"), 0u);
}

TEST_F(FrameworkModule, FailedGrabStart_ReleasesTheLocks) {
    HostObject image = NewImage();
    control_->SetResult("Grab2.GrabStart", E_FAIL);
    auto* grab2 = Find<ORV::IGrab2>(image);
    EXPECT_EQ(grab2->GrabStart(), E_FAIL);
    EXPECT_EQ(Find<ORV::IGrabber>(image)->Snap(), 0);
}

TEST_F(FrameworkModule, BufferSequence_AnswersFromTheDeliveredRecord) {
    HostObject image = NewImage();
    auto* grab2 = Find<ORV::IGrab2>(image);
    auto* ring = Find<ORV::IRingBuffer>(image);
    control_->QueueWaitIndices({2, 0, 2});
    ASSERT_EQ(grab2->GrabStart(), 0);
    int32_t index = -1;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(grab2->GrabWait(&index), 0);
    EXPECT_EQ(ring->BufferSequence(0, &index), 1);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(ring->BufferSequence(1, &index), 1);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(ring->BufferSequence(2, &index), E_POSITION);
    EXPECT_EQ(ring->BufferSequence(-1, &index), E_POSITION);
    // A failed wait records nothing.
    EXPECT_EQ(grab2->GrabWait(&index), ORV::E_TIMEOUT);
    EXPECT_EQ(ring->BufferSequence(2, &index), E_POSITION);
    EXPECT_EQ(grab2->GrabStop(1), 0);
}

TEST_F(FrameworkModule, Snap_EmptiesTheDeliveredRecord) {
    HostObject image = NewImage();
    auto* grab2 = Find<ORV::IGrab2>(image);
    control_->QueueWaitIndices({1});
    ASSERT_EQ(grab2->GrabStart(), 0);
    int32_t index = -1;
    ASSERT_EQ(grab2->GrabWait(&index), 0);
    ASSERT_EQ(grab2->GrabStop(0), 0);
    ASSERT_EQ(Find<ORV::IGrabber>(image)->Snap(), 0);
    EXPECT_EQ(Find<ORV::IRingBuffer>(image)->BufferSequence(0, &index), E_POSITION);
}

TEST_F(FrameworkModule, NumBuffersSet_DuringGrabIsBusy_AfterStopGivesANewImage) {
    HostObject image = NewImage();
    auto* grab2 = Find<ORV::IGrab2>(image);
    auto* ring = Find<ORV::IRingBuffer>(image);
    ASSERT_EQ(grab2->GrabStart(), 0);
    int32_t count = 5;
    HostObject replaced;
    EXPECT_EQ(ring->NumBuffers(1, &count, replaced.out()), E_BUSY);
    EXPECT_EQ(control_->CountOf("RingBuffer.NumBuffers.1"), 0u);
    ASSERT_EQ(grab2->GrabStop(0), 0);

    ASSERT_EQ(ring->NumBuffers(1, &count, replaced.out()), 0);
    ASSERT_TRUE(replaced);
    EXPECT_NE(replaced.get(), image.get());
    EXPECT_EQ(control_->CountOf("BufferContainer.Allocate.5"), 1u);

    // The new image's buffer list has five buffers (the test driver reports the
    // count as a ring entry's width); the old one keeps its three.
    HostObject entry;
    ASSERT_EQ(Find<ORV::IRingBuffer>(replaced)->GetBufferImage(1, entry.out()), 0);
    int32_t planes = 0, width = 0, height = 0;
    ASSERT_EQ(orvhost::ImageDescription(entry.get())->GetDimensions(&planes, &width, &height), 0);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 1);
    // Actions other than get, set and validate do nothing.
    EXPECT_EQ(ring->NumBuffers(7, &count, nullptr), 0);
}

TEST_F(FrameworkModule, RingBufferImage_KeepsItsBufferListAfterTheImageIsReleased) {
    HostObject entry;
    {
        HostObject image = NewImage();
        ASSERT_EQ(Find<ORV::IRingBuffer>(image)->GetBufferImage(2, entry.out()), 0);
    }
    EXPECT_EQ(control_->CountOf("BufferContainer.Free"), 0u);
    void* base = nullptr;
    const ORV::VpaEntry* vpa = nullptr;
    EXPECT_EQ(orvhost::ImageDescription(entry.get())->GetPlaneAddress(0, &base, &vpa), 0);
    EXPECT_NE(base, nullptr);
    entry.reset();
    EXPECT_EQ(control_->CountOf("BufferContainer.Free"), 1u);
}

TEST_F(FrameworkModule, ReleasingTheGrabbingImage_StopsTheGrab) {
    HostObject image = NewImage();
    ASSERT_EQ(Find<ORV::IGrab2>(image)->GrabStart(), 0);
    image.reset();
    EXPECT_EQ(control_->CountOf("Grab2.GrabStop.1"), 1u);
}

TEST_F(FrameworkModule, ReleasingAReplacedImage_LeavesTheGrabOfTheNewOneRunning) {
    HostObject image = NewImage();
    int32_t count = 4;
    HostObject replaced;
    ASSERT_EQ(Find<ORV::IRingBuffer>(image)->NumBuffers(1, &count, replaced.out()), 0);
    auto* grab2 = Find<ORV::IGrab2>(replaced);
    ASSERT_EQ(grab2->GrabStart(), 0);
    image.reset();
    EXPECT_EQ(control_->CountOf("Grab2.GrabStop.1"), 0u);
    EXPECT_EQ(Find<ORV::IGrabber>(replaced)->Snap(), E_BUSY);
    EXPECT_EQ(grab2->GrabStop(0), 0);
}

TEST_F(FrameworkModule, SetBoard_WithTheCurrentIndex_CreatesNoImage) {
    HostObject image = NewImage();
    auto* select = Find<ORV::IBoardSelect2>(image);
    int32_t current = -1;
    ASSERT_EQ(select->GetCurrentBoard(&current), 0);
    EXPECT_EQ(current, 0);
    HostObject same;
    ASSERT_EQ(select->SetBoard(0, same.out()), 0);
    EXPECT_EQ(same.get(), image.get());
    EXPECT_EQ(control_->CountOf("BufferContainer.Allocate.3"), 1u);
}

TEST_F(FrameworkModule, SetBoard_ToAnotherBoard_GivesAnImageOnItsFirstChannel) {
    HostObject image = NewImage();
    auto* select = Find<ORV::IBoardSelect2>(image);
    int32_t count = 0;
    ASSERT_EQ(select->GetBoardCount(&count), 0);
    EXPECT_EQ(count, 2);
    HostObject other;
    EXPECT_EQ(select->SetBoard(2, other.out()), E_INVALIDARG);
    EXPECT_EQ(select->SetBoard(-1, other.out()), E_INVALIDARG);
    ASSERT_EQ(select->SetBoard(1, other.out()), 0);
    ASSERT_TRUE(other);
    EXPECT_NE(other.get(), image.get());
    int32_t current = -1;
    ASSERT_EQ(select->GetCurrentBoard(&current), 0);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(control_->CountOf("Board.CreateChannel"), 2u);
}

// After a switch to a channel with more buffers the record follows the new
// ring: its higher indices are recorded and answered newest first.
TEST_F(FrameworkModule, BufferSequence_AfterABoardOrCameraSwitch_FollowsTheNewRing) {
    for (const bool board : {true, false}) {
        SCOPED_TRACE(board ? "board switch" : "camera switch");
        control_->numBuffers = 3;
        HostObject image = NewImage();
        control_->numBuffers = 6;
        HostObject other;
        ASSERT_EQ(board ? Find<ORV::IBoardSelect2>(image)->SetBoard(1, other.out())
                        : Find<ORV::ICameraSelect2>(image)->SetCamera(1, other.out()),
                  0);
        auto* grab2 = Find<ORV::IGrab2>(other);
        control_->QueueWaitIndices({1, 5, 4});
        ASSERT_EQ(grab2->GrabStart(), 0);
        int32_t index = -1;
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(grab2->GrabWait(&index), 0);
        auto* ring = Find<ORV::IRingBuffer>(other);
        const int32_t newestFirst[] = {4, 5, 1};
        for (int32_t position = 0; position < 3; ++position) {
            EXPECT_EQ(ring->BufferSequence(position, &index), 1);
            EXPECT_EQ(index, newestFirst[position]);
        }
        EXPECT_EQ(grab2->GrabStop(0), 0);
    }
}

TEST_F(FrameworkModule, SetBoard_DuringGrab_IsBusy) {
    HostObject image = NewImage();
    auto* grab2 = Find<ORV::IGrab2>(image);
    ASSERT_EQ(grab2->GrabStart(), 0);
    HostObject other;
    EXPECT_EQ(Find<ORV::IBoardSelect2>(image)->SetBoard(1, other.out()), E_BUSY);
    EXPECT_EQ(grab2->GrabStop(0), 0);
}

TEST_F(FrameworkModule, SetCamera_SwitchesToTheOtherChannel) {
    HostObject image = NewImage();
    auto* select = Find<ORV::ICameraSelect2>(image);
    HostObject other;
    EXPECT_EQ(select->SetCamera(5, other.out()), E_INVALIDARG);
    HostObject same;
    ASSERT_EQ(select->SetCamera(0, same.out()), 0);
    EXPECT_EQ(same.get(), image.get());
    ASSERT_EQ(select->SetCamera(1, other.out()), 0);
    int32_t current = -1;
    ASSERT_EQ(select->GetCurrentCamera(&current), 0);
    EXPECT_EQ(current, 1);
}

TEST_F(FrameworkModule, ImageSize_Set_GivesANewImageOfTheNewSize) {
    HostObject image = NewImage();
    auto* rect = Find<ORV::IImageRect>(image);
    int32_t width = 0, height = 0;
    ASSERT_EQ(rect->ImageSize(0, &width, &height, nullptr), 0);
    EXPECT_EQ(width, 4);
    width = 8;
    height = 6;
    HostObject resized;
    ASSERT_EQ(rect->ImageSize(1, &width, &height, resized.out()), 0);
    ASSERT_TRUE(resized);
    int32_t planes = 0;
    ASSERT_EQ(orvhost::ImageDescription(resized.get())->GetDimensions(&planes, &width, &height), 0);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 6);
    EXPECT_EQ(rect->ImageSize(9, &width, &height, nullptr), 0);
    EXPECT_EQ(control_->CountOf("ImageRect.Size.9"), 0u);
    // Offsets: action 3 under the grab lock, others pass through or do nothing.
    int32_t x = 0, y = 0;
    EXPECT_EQ(rect->ImageOffset(3, &x, &y), 0);
    EXPECT_EQ(rect->ImageOffset(1, &x, &y), 0);
    EXPECT_EQ(control_->CountOf("ImageRect.Offset.1"), 0u);
}

TEST_F(FrameworkModule, ImageSize_WhenTheNewImageCannotBeMade_RestoresTheOldSize) {
    HostObject image = NewImage();
    auto* rect = Find<ORV::IImageRect>(image);
    control_->SetResult("BufferContainer.Allocate.3", ORV::E_OUTOFMEMORY);
    int32_t width = 8, height = 6;
    HostObject resized;
    EXPECT_EQ(rect->ImageSize(1, &width, &height, resized.out()), E_FAIL);
    EXPECT_FALSE(resized);
    EXPECT_EQ(control_->CountOf("ImageRect.Size.3"), 1u);
    EXPECT_EQ(control_->width.load(), 4);
    EXPECT_EQ(control_->height.load(), 3);
}

TEST_F(FrameworkModule, NodeMapNames_FollowTheSizeProtocol) {
    HostObject image = NewImage();
    auto* handle2 = Find<ORV::INodeMapHandle2>(image);
    int32_t count = 0;
    ASSERT_EQ(handle2->GetNodeMapCount(&count), 0);
    ASSERT_EQ(handle2->GetNodeMapCount(&count), 0);
    EXPECT_EQ(count, 2);
    uint32_t length = 0;
    ASSERT_EQ(handle2->GetNodeMapName(0, nullptr, &length), 0);
    EXPECT_EQ(length, 9u); // "TLDevice" and its zero
    char small[4] = {};
    length = sizeof small;
    EXPECT_EQ(handle2->GetNodeMapName(0, small, &length), E_FAIL);
    char name[16] = {};
    length = sizeof name;
    ASSERT_EQ(handle2->GetNodeMapName(1, name, &length), 0);
    EXPECT_STREQ(name, "Device");
    EXPECT_EQ(handle2->GetNodeMapName(2, name, &length), E_INVALIDARG);
    char description[64] = {};
    length = sizeof description;
    ASSERT_EQ(handle2->GetNodeMapDescription("Device", description, &length), 0);
    EXPECT_STREQ(description, "Remote Device Nodemap");
    EXPECT_EQ(handle2->GetNodeMapDescription("device", description, &length), E_INVALIDARG);
}

TEST_F(FrameworkModule, Notify_ForAnUnofferedEvent_IsRefused) {
    HostObject image = NewImage();
    auto* notify = Find<ORV::INotify>(image);
    uint32_t key = 0;
    EXPECT_EQ(notify->Register(
                  7, [](void*, const void*, uint32_t, int32_t) {}, nullptr, &key),
              E_EVENTNOTOFFERED);
    // The event id is checked first, also with a null callback or key.
    EXPECT_EQ(notify->Register(7, nullptr, nullptr, &key), E_EVENTNOTOFFERED);
    EXPECT_EQ(notify->Register(
                  7, [](void*, const void*, uint32_t, int32_t) {}, nullptr, nullptr),
              E_EVENTNOTOFFERED);
    uint32_t count = 1;
    ASSERT_EQ(notify->GetEventCount(&count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(notify->Unregister(99), E_INVALIDARG);
}

namespace {
std::atomic<int> notified{0};
std::atomic<int32_t> notifiedValue{0};
void OnFrame(void* user, const void* data, uint32_t size, int32_t value) {
    ++notified;
    notifiedValue = value + (user != nullptr ? 1000 : 0) +
                    (size == sizeof(int32_t) ? *static_cast<const int32_t*>(data) : -1);
}
} // namespace

TEST_F(FrameworkModule, Notify_OfferedEvent_ReachesTheRegisteredCallback) {
    control_->offerEvent = true;
    HostObject image = NewImage();
    auto* notify = Find<ORV::INotify>(image);
    uint32_t count = 0;
    ASSERT_EQ(notify->GetEventCount(&count), 0);
    ASSERT_EQ(count, 1u);
    uint32_t length = 0;
    uint32_t id = 0;
    ASSERT_EQ(notify->GetEventEntry(0, nullptr, &length, &id), 0);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(id, 7u);
    char text[3] = {};
    length = sizeof text;
    EXPECT_EQ(notify->GetEventEntry(0, text, &length, &id), E_INVALIDARG);
    EXPECT_EQ(length, 6u);

    uint32_t key = 0;
    int userData = 0;
    notified = 0;
    // An offered event with no callback or nowhere to put the key is refused.
    EXPECT_EQ(notify->Register(7, nullptr, &userData, &key), E_INVALIDARG);
    EXPECT_EQ(notify->Register(7, &OnFrame, &userData, nullptr), E_INVALIDARG);
    ASSERT_EQ(notify->Register(7, &OnFrame, &userData, &key), 0);
    uint8_t registered = 0;
    ASSERT_EQ(notify->IsRegistered(&OnFrame, &registered), 0);
    EXPECT_EQ(registered, 1);
    int64_t value = 0;
    ASSERT_EQ(notify->Query(7, 1, &value), 0);
    EXPECT_EQ(value, 1);
    ASSERT_EQ(Find<ORV::ISoftwareTrigger>(image)->Trigger(5), 0);
    EXPECT_EQ(notified.load(), 1);
    EXPECT_EQ(notifiedValue.load(), 1000 + 42 + 5);
    ASSERT_EQ(notify->Unregister(key), 0);
    ASSERT_EQ(Find<ORV::ISoftwareTrigger>(image)->Trigger(5), 0);
    EXPECT_EQ(notified.load(), 1);
}

TEST_F(FrameworkModule, ThrowingProvider_GivesOperationFailed) {
    HostObject image = NewImage();
    control_->ThrowIn("Grab2.GrabInfo");
    double value = 0;
    EXPECT_EQ(Find<ORV::IGrab2>(image)->GrabInfo(1, &value), E_FAIL);
    EXPECT_TRUE(LogContains("[err] provider failure in Grab2.GrabInfo"));
    control_->ThrowIn("Grab2.GrabStart");
    EXPECT_EQ(Find<ORV::IGrab2>(image)->GrabStart(), E_FAIL);
    // The failed start left no lock behind.
    control_->ThrowIn("");
    EXPECT_EQ(Find<ORV::IGrabber>(image)->Snap(), 0);
}

TEST_F(FrameworkModule, SetTimeout_PassesTheMillisecondsAsSigned) {
    HostObject image = NewImage();
    auto* grabber = Find<ORV::IGrabber>(image);
    EXPECT_EQ(grabber->SetTimeout(2500), 0);
    EXPECT_EQ(control_->CountOf("Grabber.SetTimeout.2500"), 1u);
    EXPECT_EQ(grabber->SetTimeout(0x80000000u), 0);
    EXPECT_EQ(control_->CountOf("Grabber.SetTimeout.-2147483648"), 1u);
    EXPECT_EQ(grabber->Reserved(), 0);
    EXPECT_EQ(grabber->NotImplemented(), ORV::E_NOTIMPL);
    EXPECT_EQ(grabber->SetUserPointer(this), 0);
}

TEST_F(FrameworkModule, ModuleIdentifier_IsTheGuidInItsBinaryForm) {
    HostObject image = NewImage();
    uint8_t id[16] = {};
    ASSERT_EQ(Find<ORV::IGrabber>(image)->GetModuleIdentifier(id), 0);
    const uint8_t expected[16] = {0xD2, 0xC0, 0x41, 0x7A, 0x95, 0x3E, 0x1B, 0x4F,
                                  0xB6, 0xA8, 0x52, 0xD0, 0x7C, 0x9E, 0x1F, 0x34};
    EXPECT_EQ(std::memcmp(id, expected, 16), 0);
}

TEST_F(FrameworkModule, DeviceControlAndTrigger_PassThrough) {
    HostObject image = NewImage();
    control_->SetResult("DeviceCtrl.Raw", 0x13);
    uint64_t size = 0;
    EXPECT_EQ(Find<ORV::IDeviceCtrl>(image)->RawCommand(0x9300, nullptr, 0, nullptr, &size), 0x13);
    EXPECT_EQ(Find<ORV::IDeviceCtrl>(image)->TextCommand(0x9300, "", 0, nullptr, &size), 0);
    EXPECT_EQ(control_->CountOf("DeviceCtrl.Text"), 1u);
}
