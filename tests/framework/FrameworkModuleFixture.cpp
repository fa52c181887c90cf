#include "FrameworkModuleFixture.h"

#include <ORBase/ORBaseApi.h>
#include <platform/Environment.h>

#include <cstdio>
#include <unistd.h>

void FrameworkModule::SetUp() {
    registryFile_ = "/tmp/orv-framework-registry-" + std::to_string(getpid()) + ".ini";
    std::remove(registryFile_.c_str());
    platform::SetEnv("ORV_REGISTRY_FILE", registryFile_);
    objectsBefore_ = ORBase_LiveObjectCount();

    std::string error;
    module_ = orvhost::DriverModule::Load(TEST_DRIVER_PATH, &error);
    ASSERT_TRUE(module_) << error;
    controlLibrary_ = platform::DynamicLibrary::Load(TEST_DRIVER_PATH);
    auto accessor =
        reinterpret_cast<TestDriverControl* (*)()>(controlLibrary_.resolve("TestDriver_Control"));
    ASSERT_NE(accessor, nullptr);
    control_ = accessor();
    control_->Reset();
}

void FrameworkModule::TearDown() {
    if (module_) {
        EXPECT_EQ(module_->CanUnload(), 1) << "a framework object outlived the test";
    }
    EXPECT_EQ(ORBase_LiveObjectCount(), objectsBefore_) << "a host object outlived the test";
    controlLibrary_.reset();
    module_.reset();
    platform::UnsetEnv("ORV_REGISTRY_FILE");
    std::remove(registryFile_.c_str());
}

orvhost::HostObject FrameworkModule::NewImage() {
    orvhost::HostObject image(module_->GetImageV2());
    EXPECT_TRUE(image) << "GetImageV2 gave no image";
    return image;
}

bool FrameworkModule::LogContains(const std::string& needle) const {
    for (const std::string& line : control_->LogLines())
        if (line.find(needle) != std::string::npos)
            return true;
    return false;
}
