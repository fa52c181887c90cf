// The host-application API driving a driver module built like the real one.

#include "BlockTestSupport.h"
#include "TrackedTable.h"

#include <ORHost/HostApp.h>
#include <platform/DynamicLibrary.h>

#include <memory>
#include <string>

using hosttest::BlockTest;
using hosttest::TrackedTable;

namespace {

using HostApp = BlockTest;

TEST_F(HostApp, Load_MissingFile_GivesNullWithReason) {
    std::string error;
    auto module = orvhost::DriverModule::Load("/nonexistent/ORSisoMe.xvd", &error);
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error.find("/nonexistent/ORSisoMe.xvd"), std::string::npos) << error;
    EXPECT_EQ(orvhost::DriverModule::Load("/nonexistent/ORSisoMe.xvd", nullptr), nullptr);
}

TEST_F(HostApp, Load_ModuleWithoutCanUnload_GivesNullWithReason) {
    std::string error;
    auto module = orvhost::DriverModule::Load(ORV_TEST_ONLY_GETIMAGE_MODULE, &error);
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error.find("CanUnload"), std::string::npos) << error;
}

TEST_F(HostApp, Module_ImageTablesAndUnload_AcrossTheModuleBoundary) {
    std::string error;
    std::unique_ptr<orvhost::DriverModule> module =
        orvhost::DriverModule::Load(ORV_TEST_DRIVER_MODULE, &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->path(), ORV_TEST_DRIVER_MODULE);
    EXPECT_EQ(module->CanUnload(), 1);

    ORHandle image = module->GetImageV2();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(module->CanUnload(), 0);

    // The module's type information is local to it, as in the real module;
    // the casts below work by type name.
    platform::LibraryHandle library = platform::LoadLibrary(ORV_TEST_DRIVER_MODULE);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(platform::ResolveSymbol(library, "_ZTIN3ORV6IGrab2E"), nullptr);
    EXPECT_EQ(platform::ResolveSymbol(library, "_ZTIN10testmodule11ModuleGrab2E"), nullptr);
    EXPECT_NE(platform::ResolveSymbol(library, "CanUnload"), nullptr);
    platform::FreeLibrary(library);

    ORV::IImageVPA* description = orvhost::ImageDescription(image);
    ASSERT_NE(description, nullptr);
    int32_t planes = 0, width = 0, height = 0;
    ASSERT_EQ(description->GetDimensions(&planes, &width, &height), 0);
    EXPECT_EQ(planes, 1);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    void* base = nullptr;
    const ORV::VpaEntry* vpa = nullptr;
    ASSERT_EQ(description->GetPlaneAddress(0, &base, &vpa), 0);
    const auto* pixels = static_cast<const uint8_t*>(base);
    EXPECT_EQ(pixels[vpa[7].x + vpa[3].y], 10); // the module's pattern is x + y

    ORV::IGrab2* grab = orvhost::FindInterface<ORV::IGrab2>(image);
    ASSERT_NE(grab, nullptr);
    EXPECT_EQ(orvhost::FindInterface<ORV::IRingBuffer>(image), nullptr);
    ASSERT_EQ(grab->GrabStart(), 0);
    int32_t index = -1;
    ASSERT_EQ(grab->GrabWait(&index), 0);
    ASSERT_EQ(grab->GrabWait(&index), 0);
    EXPECT_EQ(index, 1);
    double acquired = 0;
    ASSERT_EQ(grab->GrabInfo(ORV::GRAB_INFO_NUMBER_IMAGES_AQCUIRED, &acquired), 0);
    EXPECT_EQ(acquired, 2.0);
    EXPECT_EQ(grab->GrabStop(0), 0);

    // A shared reference keeps the image; the module refuses to go meanwhile.
    orvhost::Share(image);
    ORHandle second = image;
    orvhost::Release(second);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(module->CanUnload(), 0);
    EXPECT_FALSE(module->Unload());
    EXPECT_TRUE(module->loaded());

    orvhost::Release(image);
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(module->CanUnload(), 1);
    EXPECT_TRUE(module->Unload());
    EXPECT_FALSE(module->loaded());
    EXPECT_EQ(module->GetImageV2(), nullptr);
}

TEST_F(HostApp, Module_CanBeLoadedAgainAfterUnload) {
    for (int round = 0; round < 2; ++round) {
        std::string error;
        auto module = orvhost::DriverModule::Load(ORV_TEST_DRIVER_MODULE, &error);
        ASSERT_NE(module, nullptr) << error;
        ORHandle image = module->GetImageV2();
        ASSERT_NE(image, nullptr);
        EXPECT_NE(orvhost::FindInterface<ORV::IGrab2>(image), nullptr);
        orvhost::Release(image);
    }
}

TEST_F(HostApp, FindInterfaceTable_UsesTheBaseContainerOnly) {
    ORHandle base = MakeTracked("base");
    auto* baseTable = new TrackedTable<1>(nullptr);
    ASSERT_EQ(ORBase_AddInterface(base, baseTable), 0);
    ORHandle image = MakeTracked("image");
    ASSERT_EQ(ORBase_AddInterface(image, new TrackedTable<2>(nullptr)), 0);
    ASSERT_EQ(ORBase_SetBase(image, base), 0);

    EXPECT_EQ(orvhost::FindInterface<TrackedTable<1>>(image), baseTable);
    EXPECT_EQ(orvhost::FindInterface<TrackedTable<2>>(image), nullptr);
    EXPECT_EQ(ORBase_StrongCount(base), 1u); // the search kept no reference
    ORBase_Release(image);
    ORBase_Release(base);
}

TEST_F(HostApp, FindInterfaceTable_WithoutBase_UsesTheImagesOwnContainer) {
    ORHandle image = MakeTracked("image");
    auto* table = new TrackedTable<2>(nullptr);
    ASSERT_EQ(ORBase_AddInterface(image, table), 0);
    EXPECT_EQ(orvhost::FindInterface<TrackedTable<2>>(image), table);
    EXPECT_EQ(orvhost::FindInterface<TrackedTable<1>>(image), nullptr);
    EXPECT_EQ(orvhost::FindInterface<TrackedTable<2>>(nullptr), nullptr);
    EXPECT_EQ(orvhost::FindInterfaceTable(image, nullptr), nullptr);
    ORBase_Release(image);
}

TEST_F(HostApp, ImageDescription_OfAnObjectThatIsNoImage_IsNull) {
    ORHandle other = MakeTracked("not an image");
    EXPECT_EQ(orvhost::ImageDescription(other), nullptr);
    EXPECT_EQ(orvhost::ImageDescription(nullptr), nullptr);
    ORBase_Release(other);
}

} // namespace
