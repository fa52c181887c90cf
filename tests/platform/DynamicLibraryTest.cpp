#include <platform/DynamicLibrary.h>
#include <platform/Process.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

using namespace platform;

namespace {

using IntFunction = int (*)();

const std::string kProbePath = ORV_PROBE_LIBRARY;
const std::string kProbeDirectory = ORV_PROBE_DIRECTORY;

// Whether a loaded library holds `address` right now (the loader's own answer:
// dladdr, or GetModuleHandleEx on Windows).
bool Mapped(const void* address) {
    return !platform::ModuleFileName(address).empty();
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
    const std::string fileName = kProbePath.substr(kProbePath.find_last_of('/') + 1);
    LibraryHandle library = LoadLibrary(kProbeDirectory + "\\" + fileName);
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
    LibraryHandle library = LoadLibrary("orvplatformprobe.dll");
    ASSERT_NE(library, nullptr) << LastLoadError();
    EXPECT_EQ(platform::ModuleFileName(ResolveSymbol(library, "orv_probe_answer")), kProbePath)
        << "the probe of the search path, by its ELF name";
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
#ifndef _WIN32 // the ELF name it tried next
    EXPECT_NE(error.find("liborv_no_such_library.so"), std::string::npos) << error;
#endif
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
    const void* next = nullptr;
    {
        DynamicLibrary library = DynamicLibrary::Load(kProbePath);
        ASSERT_TRUE(library);
        next = library.resolve("orv_probe_next");
        ASSERT_NE(next, nullptr);
        EXPECT_TRUE(Mapped(next));
        EXPECT_EQ(reinterpret_cast<IntFunction>(library.resolve("orv_probe_next"))(), 1);
    }
    EXPECT_FALSE(Mapped(next));
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
    const void* answer = ResolveSymbol(handle, "orv_probe_answer");
    EXPECT_TRUE(Mapped(answer));
    EXPECT_EQ(Call(handle, "orv_probe_answer"), 42);
    EXPECT_TRUE(FreeLibrary(handle));
    EXPECT_FALSE(Mapped(answer));
}

TEST(DynamicLibraryTest, LibraryLinkingThePlatformLayer_UnloadsAfterUsingIt) {
    LibraryHandle library = LoadLibrary(ORV_UNLOAD_PROBE_LIBRARY);
    ASSERT_NE(library, nullptr) << LastLoadError();
    auto use =
        reinterpret_cast<IntFunction>(ResolveSymbol(library, "orv_unload_probe_use_platform"));
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use(), 7);
    std::thread([use] { use(); }).join(); // and from a thread that has ended
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_FALSE(Mapped(reinterpret_cast<const void*>(use)));
}
