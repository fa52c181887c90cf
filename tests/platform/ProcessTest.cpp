#include <platform/DynamicLibrary.h>
#include <platform/Environment.h>
#include <platform/Process.h>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

using namespace platform;

namespace {

int FunctionInThisExecutable() {
    return 1;
}

// Restores the locale variables a test changes.
class LocaleEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
            saved_.push_back({name, GetEnv(name)});
        UnsetEnv("LC_ALL");
        UnsetEnv("LC_CTYPE");
        UnsetEnv("LANG");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_)
            value ? SetEnv(name, *value) : UnsetEnv(name);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace

TEST(ProcessTest, ThreadId_FirstThreadIsProcessIdOthersDiffer) {
    EXPECT_EQ(CurrentThreadId(), CurrentProcessId());
    uint64_t other = 0;
    std::thread([&] { other = CurrentThreadId(); }).join();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, CurrentThreadId());
}

TEST(ProcessTest, ThreadId_IsTheKernelsTaskId) {
    uint64_t id = 0;
    bool listed = false;
    std::thread([&] {
        id = CurrentThreadId();
        listed = std::filesystem::exists("/proc/self/task/" + std::to_string(id));
    }).join();
    EXPECT_TRUE(listed) << id;
}

TEST(ProcessTest, ProcessId_IsTheKernelsProcess) {
    EXPECT_TRUE(
        std::filesystem::equivalent("/proc/" + std::to_string(CurrentProcessId()), "/proc/self"));
}

TEST(ProcessTest, ExecutablePathAndName_NameThisTestProgram) {
    EXPECT_TRUE(std::filesystem::equivalent(ExecutablePath(), ORV_PROCESS_TEST_EXECUTABLE));
    EXPECT_EQ(ExecutableName(), "platform_tests");
}

TEST(ProcessTest, ModuleFileName_AddressInExecutable_IsExecutablePath) {
    EXPECT_EQ(ModuleFileName(reinterpret_cast<const void*>(&FunctionInThisExecutable)),
              ExecutablePath());
    EXPECT_EQ(ModuleFileName(nullptr), ExecutablePath());
}

TEST(ProcessTest, ModuleFileName_AddressInLoadedLibrary_IsThatLibrary) {
    DynamicLibrary probe = DynamicLibrary::Load(ORV_PROBE_LIBRARY);
    ASSERT_TRUE(probe) << LastLoadError();
    std::string name = ModuleFileName(probe.resolve("orv_probe_answer"));
    EXPECT_TRUE(std::filesystem::equivalent(name, ORV_PROBE_LIBRARY)) << name;
}

TEST(ProcessTest, ModuleFileName_AddressInSystemLibrary_IsAbsolutePath) {
    std::string name = ModuleFileName(reinterpret_cast<const void*>(&::getpid));
    EXPECT_EQ(name.substr(0, 1), "/");
    EXPECT_NE(name.find("libc"), std::string::npos) << name;
}

// The child is this test again, with ORV_END_NOW_MARKER naming the file its exit
// handler would write.
TEST(ProcessTest, EndProcessNow_EndsWithTheStatusAndRunsNothingMore) {
    if (const std::optional<std::string> marker = GetEnv("ORV_END_NOW_MARKER")) {
        static const std::string path = *marker;
        std::atexit([] { std::ofstream(path) << "the exit handler ran"; });
        // Another thread holds a lock and waits, as a grabbing thread may.
        static std::mutex lock;
        static std::condition_variable never;
        std::thread([] {
            std::unique_lock<std::mutex> held(lock);
            never.wait(held, [] { return false; });
        }).detach();
        EndProcessNow(37);
    }
    const orvtest::TempDir scratch("end-now");
    orvtest::ChildSetup setup = orvtest::ThisTestAgain();
    setup.environment = {{"ORV_END_NOW_MARKER", scratch.File("marker")}};
    orvtest::ChildProcess child(setup);
    ASSERT_EQ(child.StartError(), "");
    EXPECT_EQ(child.Wait(), 37);
    EXPECT_FALSE(std::filesystem::exists(scratch.File("marker")));
    EXPECT_EQ(orvtest::ReadFileText(setup.outputPath).find("left in the buffer"),
              std::string::npos);
}

TEST(ProcessTest, ModuleFileName_AddressOutsideModules_IsEmpty) {
    EXPECT_EQ(ModuleFileName(reinterpret_cast<const void*>(0x10)), "");
}

TEST_F(LocaleEnvironment, AnsiCodePage_Utf8Locale_Is65001) {
    SetEnv("LC_ALL", "C.UTF-8");
    EXPECT_EQ(AnsiCodePage(), 65001u);
}

TEST_F(LocaleEnvironment, AnsiCodePage_PlainLocale_Is1252) {
    SetEnv("LC_ALL", "C");
    EXPECT_EQ(AnsiCodePage(), 1252u);
    UnsetEnv("LC_ALL");
    EXPECT_EQ(AnsiCodePage(), 1252u);
}

TEST_F(LocaleEnvironment, AnsiCodePage_UninstalledLocale_IsJudgedByName) {
    SetEnv("LANG", "xx_YY.utf8");
    EXPECT_EQ(AnsiCodePage(), 65001u);
    SetEnv("LANG", "xx_YY.ISO-8859-1");
    EXPECT_EQ(AnsiCodePage(), 1252u);
}

TEST_F(LocaleEnvironment, AnsiCodePage_LcAllOverridesLang) {
    SetEnv("LANG", "C.UTF-8");
    SetEnv("LC_ALL", "C");
    EXPECT_EQ(AnsiCodePage(), 1252u);
}
