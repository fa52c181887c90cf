#include <platform/DynamicLibrary.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

using namespace platform;

namespace {

using IntFunction = int (*)();

const std::string kProbePath = ORV_PROBE_LIBRARY;
const std::string kProbeDirectory = ORV_PROBE_DIRECTORY;

// Whether the loader has the probe mapped into the process right now.
bool ProbeMapped() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("liborvplatformprobe.so") != std::string::npos)
            return true;
    }
    return false;
}

int Call(LibraryHandle library, const char* name) {
    auto function = reinterpret_cast<IntFunction>(ResolveSymbol(library, name));
    return function != nullptr ? function() : -1;
}

} // namespace

TEST(DynamicLibraryTest, LoadLibrary_FullPath_ResolvesAndCalls) {
    LibraryHandle library = LoadLibrary(kProbePath);
    ASSERT_NE(library, nullptr) << LastLoadError();
    EXPECT_EQ(Call(library, "orv_probe_answer"), 42);
    EXPECT_TRUE(FreeLibrary(library));
}

TEST(DynamicLibraryTest, LoadLibrary_PathWithBackslashes_IsConverted) {
    LibraryHandle library = LoadLibrary(kProbeDirectory + "\\liborvplatformprobe.so");
    ASSERT_NE(library, nullptr) << LastLoadError();
    EXPECT_EQ(Call(library, "orv_probe_answer"), 42);
    EXPECT_TRUE(FreeLibrary(library));
}

TEST(DynamicLibraryTest, LoadLibrary_BareDllName_FindsElfLibraryOnSearchPath) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizers wrap dlopen, so the loader searches from their runtime's RUNPATH
    // instead of this program's, and the probe's directory is not on it.
    GTEST_SKIP() << "dlopen search path is the sanitizer runtime's";
#endif
    ASSERT_FALSE(ProbeMapped());
    LibraryHandle library = LoadLibrary("orvplatformprobe.dll");
    ASSERT_NE(library, nullptr) << LastLoadError();
    EXPECT_TRUE(ProbeMapped());
    EXPECT_EQ(Call(library, "orv_probe_answer"), 42);
    EXPECT_TRUE(FreeLibrary(library));
}

TEST(DynamicLibraryTest, LoadLibrary_DllNameOfLoadedLibrary_SharesTheInstance) {
    // The host's node-map library is loaded by name while already linked in.
    LibraryHandle first = LoadLibrary(kProbePath);
    ASSERT_NE(first, nullptr) << LastLoadError();
    LibraryHandle second = LoadLibrary("orvplatformprobe.DLL"); // Windows ignores case
    ASSERT_NE(second, nullptr) << LastLoadError();
    EXPECT_EQ(first, second);
    EXPECT_EQ(Call(first, "orv_probe_next"), 1);
    EXPECT_EQ(Call(second, "orv_probe_next"), 2);
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_TRUE(FreeLibrary(first));
}

TEST(DynamicLibraryTest, LoadLibrary_DllPathWithDirectory_IsNotRenamed) {
    // A path names one file; the probe exists in that directory only under its ELF name.
    EXPECT_EQ(LoadLibrary(kProbeDirectory + "/orvplatformprobe.dll"), nullptr);
    EXPECT_NE(LastLoadError().find("orvplatformprobe.dll"), std::string::npos);
}

TEST(DynamicLibraryTest, LoadLibrary_Missing_ReportsBothNamesTried) {
    EXPECT_EQ(LoadLibrary("orv_no_such_library.dll"), nullptr);
    const std::string error = LastLoadError();
    EXPECT_NE(error.find("orv_no_such_library.dll"), std::string::npos) << error;
    EXPECT_NE(error.find("liborv_no_such_library.so"), std::string::npos) << error;
}

TEST(DynamicLibraryTest, LoadLibrary_EmptyName_FailsInsteadOfReturningTheProgram) {
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_FALSE(LastLoadError().empty());
}

TEST(DynamicLibraryTest, LastLoadError_IsPerThread) {
    EXPECT_EQ(LoadLibrary("orv_first_missing.dll"), nullptr);
    std::string other;
    std::thread([&] {
        LoadLibrary("orv_second_missing.dll");
        other = LastLoadError();
    }).join();
    EXPECT_NE(LastLoadError().find("orv_first_missing"), std::string::npos);
    EXPECT_NE(other.find("orv_second_missing"), std::string::npos);
}

TEST(DynamicLibraryTest, ResolveSymbol_MissingOrNull_IsNull) {
    LibraryHandle library = LoadLibrary(kProbePath);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(ResolveSymbol(library, "orv_probe_absent"), nullptr);
    EXPECT_EQ(ResolveSymbol(library, nullptr), nullptr);
    EXPECT_EQ(ResolveSymbol(nullptr, "orv_probe_answer"), nullptr);
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(DynamicLibraryTest, DynamicLibrary_Destruction_UnloadsTheLibrary) {
    {
        DynamicLibrary library = DynamicLibrary::Load(kProbePath);
        ASSERT_TRUE(library);
        EXPECT_TRUE(ProbeMapped());
        EXPECT_EQ(reinterpret_cast<IntFunction>(library.resolve("orv_probe_next"))(), 1);
    }
    EXPECT_FALSE(ProbeMapped());
    // A fresh load starts from fresh state.
    DynamicLibrary again = DynamicLibrary::Load(kProbePath);
    ASSERT_TRUE(again);
    EXPECT_EQ(reinterpret_cast<IntFunction>(again.resolve("orv_probe_next"))(), 1);
}

TEST(DynamicLibraryTest, DynamicLibrary_Release_KeepsLibraryLoaded) {
    LibraryHandle handle = nullptr;
    {
        DynamicLibrary library = DynamicLibrary::Load(kProbePath);
        handle = library.release();
    }
    EXPECT_TRUE(ProbeMapped());
    EXPECT_EQ(Call(handle, "orv_probe_answer"), 42);
    EXPECT_TRUE(FreeLibrary(handle));
    EXPECT_FALSE(ProbeMapped());
}

TEST(DynamicLibraryTest, LibraryLinkingThePlatformLayer_UnloadsAfterUsingIt) {
#ifndef _WIN32 // the mapping is read from Linux's /proc
    const auto mapped = [] {
        std::ifstream maps("/proc/self/maps");
        std::string line;
        while (std::getline(maps, line)) {
            if (line.find("liborvplatformunloadprobe.so") != std::string::npos)
                return true;
        }
        return false;
    };
#endif
    LibraryHandle library = LoadLibrary(ORV_UNLOAD_PROBE_LIBRARY);
    ASSERT_NE(library, nullptr) << LastLoadError();
    auto use =
        reinterpret_cast<IntFunction>(ResolveSymbol(library, "orv_unload_probe_use_platform"));
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use(), 7);
    std::thread([use] { use(); }).join(); // and from a thread that has ended
    EXPECT_TRUE(FreeLibrary(library));
#ifndef _WIN32 // the mapping is read from Linux's /proc
    EXPECT_FALSE(mapped());
#endif
}
