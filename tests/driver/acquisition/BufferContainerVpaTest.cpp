// CDriverIBufferContainer and CDriverIVpa: creating and destroying buffer lists,
// and describing the current image.
#include "driver/acquisition/ImagePathRig.h"
#include "driver/acquisition/ProviderLog.h"

#include "acquisition/DriverBufferList.h"
#include "acquisition/DriverIBufferContainer.h"
#include "acquisition/DriverIVpa.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdlib>
#include <fstream>
#ifndef _WIN32
#include <unistd.h>
#endif

using imagepath::ImagePathRig;
using imagepath::LoggedAt;
using imagepath::LoggedPlain;
using imagepath::RigOptions;
using nwLogging::level_err;
using nwLogging::level_info;

namespace {

const std::string kPrefix = "\tBoard = 0 | Channel = 0\tBuffer container: ";

bool Acquiring() {
    SimCtlDmaCounters counters{};
    return SimCtl_GetDmaCounters(0, 0, &counters) == SIMCTL_OK && counters.acquiring == 1;
}

#ifndef _WIN32
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

/// Bytes of address space the process uses now.
rlim_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    unsigned long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}
#endif

} // namespace

TEST(BufferContainerProvider, Allocate_WritesAListWithTheChannelsCount) {
    ImagePathRig rig;
    CDriverIBufferContainer container(rig.Channel());
    rig.Channel().SetNumberOfBuffers(4);
    ScopedCapture capture;
    CDDKBufferList* out = nullptr;

    ASSERT_EQ(container.AllocateBufferList(&out), ORV::OK);
    ASSERT_NE(out, nullptr);
    auto* list = CDriverBufferList::Of(out);
    EXPECT_EQ(list->GetState(), CDriverBufferList::State::Allocated);
    EXPECT_EQ(list->NumberOfBuffers(), 4u);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Allocated buffer list", level_info));

    EXPECT_EQ(container.FreeBufferList(out, 0, nullptr), ORV::OK);
    EXPECT_NE(out, nullptr); // the caller's pointer is left alone
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Freed buffer list", level_info));
}

TEST(BufferContainerProvider, Free_OfAnEmptyPointerOnlyLogs) {
    ImagePathRig rig;
    CDriverIBufferContainer container(rig.Channel());
    ScopedCapture capture;
    CDDKBufferList* none = nullptr;
    EXPECT_EQ(container.FreeBufferList(none, 0, nullptr), ORV::OK);
    EXPECT_TRUE(capture->contains("Freed buffer list"));
    EXPECT_EQ(container.AllocateBufferList(nullptr), ORV::E_INVALIDARG);
}

TEST(BufferContainerProvider, Free_OfAnAcquiringListStopsItFirst) {
    ImagePathRig rig;
    CDriverIBufferContainer container(rig.Channel());
    CDDKBufferList* out = nullptr;
    ASSERT_EQ(container.AllocateBufferList(&out), ORV::OK);
    CDriverBufferList::Of(out)->StartAcquisition();
    ASSERT_TRUE(Acquiring());

    EXPECT_EQ(container.FreeBufferList(out, 0, nullptr), ORV::OK);
    EXPECT_FALSE(Acquiring());
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
}

TEST(BufferContainerProvider, Free_WhoseStopFailsReportsItAndStillReleases) {
    ImagePathRig rig;
    CDriverIBufferContainer container(rig.Channel());
    CDDKBufferList* out = nullptr;
    ASSERT_EQ(container.AllocateBufferList(&out), ORV::OK);
    CDriverBufferList::Of(out)->StartAcquisition();
    SimCtl_FailCall("Fg_StopAcquire", FG_ERR_INVALID_MEMORY, 1);
    ScopedCapture capture;

    EXPECT_EQ(container.FreeBufferList(out, 0, nullptr), ORV::E_OUTOFMEMORY);
    EXPECT_TRUE(
        LoggedAt(capture.target(),
                 kPrefix + "ChannelFreeBuffer exception found: Error failed to stop acquisition",
                 level_err, "DriverIBufferContainer"));
    EXPECT_FALSE(Acquiring());
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
}

// POSIX only: the out-of-memory case caps the child's address space with
// setrlimit, which Windows has no counterpart of that a process sets on itself.
#ifndef _WIN32
/// Runs in a child process: allocates a list larger than the address space
/// allows; 0 when the refusal was reported with the expected text.
int AllocationRefusedInChild() {
    ImagePathRig rig;
    CDriverIBufferContainer container(rig.Channel());
    ScopedCapture capture;
    CDriverBufferList marker(rig.Channel());    // a list of the usual size, made before the limit
    rig.Channel().SetNumberOfBuffers(1u << 20); // 3 GiB of 64 x 48 images
    const rlim_t allowed = AddressSpaceInUse() + (rlim_t{512} << 20);
    const rlimit limit{allowed, allowed};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return 2;
    CDDKBufferList* out = &marker;
    const int32_t result = container.AllocateBufferList(&out);
    const bool logged =
        LoggedAt(capture.target(), kPrefix + "ChannelAlloc exception found: std::bad_alloc",
                 level_err, "DriverIBufferContainer");
    return result == ORV::E_OUTOFMEMORY && out == &marker && logged ? 0 : 1;
}

TEST(BufferContainerProvider, Allocate_OutOfMemoryIsReportedAndNothingIsWritten) {
    if (kSanitized)
        GTEST_SKIP() << "sanitizer allocators end the process on a refused allocation";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(AllocationRefusedInChild()), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(VpaProvider, Dimensions_AreTheRotatedImageAndTheDataTypeIsThePixelDepth) {
    RigOptions options;
    options.rotation = 1;
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());
    CDriverIVpa vpa(rig.Channel());
    int32_t planes = 0, width = 0, height = 0, type = 0;

    EXPECT_EQ(vpa.ImageDimensions(&list, &planes, &width, &height), ORV::OK);
    EXPECT_EQ(planes, 1);
    EXPECT_EQ(width, 48);
    EXPECT_EQ(height, 64);
    EXPECT_EQ(vpa.PlaneDataType(&list, 5, &type), ORV::OK);
    EXPECT_EQ(type, 8);
}

TEST(VpaProvider, PlaneAddress_IsTheCurrentImageAndFollowsDelivery) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIVpa vpa(rig.Channel());
    void* base = nullptr;
    const ORV::VpaEntry* table = nullptr;

    EXPECT_EQ(vpa.PlaneAddress(&list, 0, &base, &table), ORV::OK);
    EXPECT_EQ(base, list.BufferAddress(0));
    EXPECT_EQ(table, list.VpaTable());

    list.StartAcquisition();
    int32_t index = -1;
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    list.StopAcquisition();
    EXPECT_EQ(vpa.PlaneAddress(&list, 0, &base, &table), ORV::OK);
    EXPECT_EQ(base, list.BufferAddress(1));
}

TEST(VpaProvider, PlaneOrder_IsTheOneTheLastDimensionsQueryReported) {
    RigOptions options;
    options.dma.format = "color24";
    options.invertdim = true;
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());
    CDriverIVpa vpa(rig.Channel());
    void* base = nullptr;
    const ORV::VpaEntry* table = nullptr;
    int32_t planes = 0, width = 0, height = 0;
    uint8_t* start = list.CurrentImage();

    // Before any dimensions query the planes are in the grabber's order.
    EXPECT_EQ(vpa.PlaneAddress(&list, 0, &base, &table), ORV::OK);
    EXPECT_EQ(base, start);
    EXPECT_EQ(vpa.ImageDimensions(&list, &planes, &width, &height), ORV::OK);
    EXPECT_EQ(planes, 3);
    for (uint32_t plane = 0; plane < 3; ++plane) {
        EXPECT_EQ(vpa.PlaneAddress(&list, plane, &base, &table), ORV::OK);
        EXPECT_EQ(static_cast<uint8_t*>(base), start + (2 - plane)) << plane;
    }
}

TEST(VpaProvider, PlaneOrder_WithoutInversionIsTheGrabbersOrder) {
    RigOptions options;
    options.dma.format = "color24";
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());
    CDriverIVpa vpa(rig.Channel());
    void* base = nullptr;
    const ORV::VpaEntry* table = nullptr;
    int32_t planes = 0, width = 0, height = 0;
    ASSERT_EQ(vpa.ImageDimensions(&list, &planes, &width, &height), ORV::OK);
    for (uint32_t plane = 0; plane < 3; ++plane) {
        EXPECT_EQ(vpa.PlaneAddress(&list, plane, &base, &table), ORV::OK);
        EXPECT_EQ(static_cast<uint8_t*>(base), list.CurrentImage() + plane);
    }
}

TEST(VpaProvider, NoBufferList_IsAnInvalidArgument) {
    ImagePathRig rig;
    CDriverIVpa vpa(rig.Channel());
    int32_t planes = 0, width = 0, height = 0, type = 0;
    void* base = nullptr;
    const ORV::VpaEntry* table = nullptr;
    EXPECT_EQ(vpa.ImageDimensions(nullptr, &planes, &width, &height), ORV::E_INVALIDARG);
    EXPECT_EQ(vpa.PlaneDataType(nullptr, 0, &type), ORV::E_INVALIDARG);
    EXPECT_EQ(vpa.PlaneAddress(nullptr, 0, &base, &table), ORV::E_INVALIDARG);
    EXPECT_EQ(base, nullptr);
}
