// Start-up of the driver system against the simulated SDK: runtime version,
// the CoaXPress companion library and whether the configuration file is read.
#include "SystemTestSupport.h"
#include "support/CapturingTarget.h"
#include "support/ScopedCapture.h"
#include "support/SimEnvironment.h"

#include "system/DriverSystem.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>

using systemtest::HasRecord;
using systemtest::LevelAndLocation;
using systemtest::MachineWithRuntime;
using systemtest::RecordsWith;

namespace {

const char* const kBoardZeroScanOff = "[BOARD0]\nscan=0\n";

SimEnvironment::Options WithRuntime(const std::string& runtime) {
    SimEnvironment::Options options;
    options.machineText = MachineWithRuntime(runtime);
    options.configurationText = kBoardZeroScanOff;
    return options;
}

void ExpectVersion(const RuntimeVersion& version, int32_t major, int32_t minor, int32_t patch) {
    EXPECT_EQ(version.major, major);
    EXPECT_EQ(version.minor, minor);
    EXPECT_EQ(version.patch, patch);
}

} // namespace

TEST(DriverSystemStartup, Runtime5413_LoadsGenICamLibraryAndReadsFile) {
    SimEnvironment sim(WithRuntime("5.4.1.3"));
    ScopedCapture capture;
    {
        auto system = std::make_shared<CDriverSystem>();
        ExpectVersion(system->Runtime(), 5, 4, 1);
        EXPECT_TRUE(system->GenICamLoaded());
        ASSERT_TRUE(GenICam().Loaded());
        // The entries are the simulated library's own functions.
        EXPECT_STRNE(GenICam().ErrorText(SGC_ERR_INVALID_HANDLE), "");
        EXPECT_EQ(system->ConfigurationPath(), sim.DataDirectory() + "Drivers\\ORSisoMe.ini");
        EXPECT_EQ(system->Configuration().Boolean("BOARD0.scan"), false);
        EXPECT_TRUE(capture->contains("CoaXPress RT loaded..."));
        EXPECT_TRUE(capture->contains("SISO_Runtime Version: 5.4.1"));
        EXPECT_FALSE(capture->contains("SiSoMe-Xvd System destructed"));
    }
    EXPECT_FALSE(GenICam().Loaded()) << "the table is emptied with the library";
    EXPECT_TRUE(capture->contains("SiSoMe-Xvd System destructed"));
}

TEST(DriverSystemStartup, Runtime52_SkipsGenICamLibraryAndReadsFile) {
    SimEnvironment sim(WithRuntime("5.2.7"));
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    ExpectVersion(system->Runtime(), 5, 2, 7);
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_FALSE(GenICam().Loaded());
    EXPECT_FALSE(capture->contains("CoaXPress"));
    EXPECT_EQ(system->Configuration().Boolean("BOARD0.scan"), false);
    EXPECT_TRUE(capture->contains("SISO_Runtime Version: 5.2.7"));
}

TEST(DriverSystemStartup, Runtime6_SkipsGenICamLibraryAndReadsFile) {
    SimEnvironment sim(WithRuntime("6.0.0"));
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_FALSE(system->Configuration().Empty());
}

TEST(DriverSystemStartup, Runtime53_IsTheFirstToLoadTheLibrary) {
    SimEnvironment sim(WithRuntime("5.3.0"));
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_TRUE(system->GenICamLoaded());
    EXPECT_FALSE(system->Configuration().Empty());
}

TEST(DriverSystemStartup, NonNumericParts_CountAsZero) {
    SimEnvironment sim(WithRuntime("5.x3.beta"));
    auto system = std::make_shared<CDriverSystem>();
    ExpectVersion(system->Runtime(), 5, 0, 0);
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_FALSE(system->Configuration().Empty());
}

class DriverSystemMalformedRuntime : public testing::TestWithParam<std::string> {};

TEST_P(DriverSystemMalformedRuntime, EndsStartUpWithEmptyTree) {
    SimEnvironment sim(WithRuntime(GetParam()));
    SimEnvironment::WriteFile(sim.ConfigurationPath(), kBoardZeroScanOff);
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_TRUE(system->ConfigurationPath().empty());
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_TRUE(HasRecord(capture.target(), "SISO_Runtime used: " + GetParam() + "\n\n\n"));
    EXPECT_FALSE(capture->contains("inifile"));
    EXPECT_FALSE(capture->contains("SISO_Runtime Version"));
    EXPECT_EQ(capture->count(), 2u) << "banner and runtime text only";
}

INSTANTIATE_TEST_SUITE_P(TooFewParts, DriverSystemMalformedRuntime,
                         testing::Values("5.4", "", "5", "541"));

TEST(DriverSystemStartup, NoRuntimeText_IsMalformed) {
    SimEnvironment sim(WithRuntime("5.4.1"));
    ASSERT_EQ(SimCtl_FailCall("Fg_RuntimeVersion", -1, SIMCTL_ALWAYS), SIMCTL_OK);
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_TRUE(HasRecord(capture.target(), "SISO_Runtime used: \n\n\n"));
    EXPECT_FALSE(capture->contains("inifile"));
}

TEST(DriverSystemStartup, MalformedRuntime_GeneratesNoFile) {
    SimEnvironment::Options options = WithRuntime("5.4");
    options.configurationText.reset();
    SimEnvironment sim(options);
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_FALSE(SimEnvironment::Exists(sim.ConfigurationPath()));
}

TEST(DriverSystemStartup, IncompleteGenICamLibrary_IsUnloadedAndNothingIsRead) {
    SimEnvironment::Options options = WithRuntime("5.4.1");
    options.genicam = SimEnvironment::GenICamLibrary::Incomplete;
    options.configurationText.reset();
    SimEnvironment sim(options);
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_FALSE(GenICam().Loaded());
    EXPECT_EQ(GenICam().getCameraCount, nullptr) << "no entry of the partial table stays";
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_TRUE(system->ConfigurationPath().empty());
    EXPECT_FALSE(SimEnvironment::Exists(sim.ConfigurationPath())) << "not even generated";

    const std::vector<CapturedRecord> crash = RecordsWith(capture.target(), "CoaXPress will crash");
    ASSERT_EQ(crash.size(), 1u);
    EXPECT_EQ(crash[0].text, "CoaXPress will crash if used...");
    EXPECT_EQ(LevelAndLocation(crash[0]), "err DriverSystem(56)");
    EXPECT_FALSE(capture->contains("CoaXPress RT loaded..."));
    EXPECT_FALSE(capture->contains("inifile"));
}

TEST(DriverSystemStartup, MissingGenICamLibrary_LogsAndReadsNothing) {
    SimEnvironment::Options options = WithRuntime("5.7.0");
    options.genicam = SimEnvironment::GenICamLibrary::Absent;
    SimEnvironment sim(options);
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_TRUE(capture->contains("CoaXPress will crash if used..."));
}

TEST(DriverSystemStartup, RuntimeDirectoryUnset_LibraryCountsAsNotLoadable) {
    // The simulator falls back to its embedded machine (runtime 5.7.0).
    SimEnvironment::Options options;
    options.setRuntimeDirectory = false;
    options.configurationText = kBoardZeroScanOff;
    SimEnvironment sim(options);
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    ExpectVersion(system->Runtime(), 5, 7, 0);
    EXPECT_FALSE(system->GenICamLoaded());
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_TRUE(capture->contains("CoaXPress will crash if used..."));
}

TEST(DriverSystemStartup, SecondSystemAfterFirstDied_LoadsAgain) {
    SimEnvironment sim(WithRuntime("5.4.1"));
    {
        auto first = std::make_shared<CDriverSystem>();
        EXPECT_TRUE(GenICam().Loaded());
    }
    EXPECT_FALSE(GenICam().Loaded());
    auto second = std::make_shared<CDriverSystem>();
    EXPECT_TRUE(second->GenICamLoaded());
    EXPECT_TRUE(GenICam().Loaded());
}

TEST(DriverSystemStartup, OverlappingSystems_TableNeverOutlivesItsOwner) {
    SimEnvironment sim(WithRuntime("5.4.1"));
    auto first = std::make_shared<CDriverSystem>();
    auto second = std::make_shared<CDriverSystem>();
    first.reset();
    EXPECT_TRUE(GenICam().Loaded()) << "the second system's table stays";
    EXPECT_STRNE(GenICam().ErrorText(SGC_ERR_INVALID_HANDLE), "");
    second.reset();
    EXPECT_FALSE(GenICam().Loaded());
}

TEST(DriverSystemStartup, Banner_HasTheBuildShape) {
    SimEnvironment sim(WithRuntime("5.4.1"));
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    const std::vector<CapturedRecord> records = capture->records();
    ASSERT_FALSE(records.empty());
    const CapturedRecord& banner = records.front();
    EXPECT_EQ(LevelAndLocation(banner), "info ");

    std::ostringstream compiler;
    compiler << std::hex << (__GNUC__ * 10000 + __GNUC_MINOR__ * 100 + __GNUC_PATCHLEVEL__);
#ifdef _WIN32
    const char* const platform = "platform_win64";
#else
    const char* const platform = "platform_linux64";
#endif
    const std::regex shape("\\[ Version ORSisoMe\\.xvd ORVDDK_0x230 " + std::string(platform) +
                           " "
                           "build_(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                           "[ 123][0-9] [0-9]{4}_[0-2][0-9]:[0-5][0-9]:[0-5][0-9] nodebug "
                           "mscver=" +
                           compiler.str() + " \\]");
    EXPECT_TRUE(std::regex_match(banner.text, shape)) << banner.text;
}

TEST(DriverSystemStartup, SystemSlots_AnswerAsTheDriverDefines) {
    SimEnvironment sim(WithRuntime("5.4.1"));
    auto system = std::make_shared<CDriverSystem>();
    system->Initialize(OptionMap(), boost::any(), 1);
    std::wstring name = L"unchanged";
    system->GetSystemName(name);
    EXPECT_EQ(name, L"");
    std::wstring resolved;
    system->ResolveProducerName(L"~idx:7", resolved);
    EXPECT_EQ(resolved, L"~idx:7");
    EXPECT_EQ(system->GetBoardCount(), 0);
    EXPECT_FALSE(system->UseFirstFreeChannel());
    EXPECT_EQ(system->Identity(), CBaseObj::IdentityOf<CDrvSystem>());
}

TEST(DriverSystemRuntimeVersion, ParsesLeadingDigitsOfTheFirstThreeParts) {
    auto parse = [](const std::string& text) { return CDriverSystem::ParseRuntimeVersion(text); };
    ASSERT_TRUE(parse("5.4.1.3"));
    ExpectVersion(*parse("5.4.1.3"), 5, 4, 1);
    ExpectVersion(*parse("5.12.03beta"), 5, 12, 3);
    ExpectVersion(*parse("..."), 0, 0, 0);
    ExpectVersion(*parse("v5.4.1"), 0, 4, 1);
    ExpectVersion(*parse(" 7.-2.+3"), 7, -2, 3);
    ExpectVersion(*parse("99999999999.4.1"), 2147483647, 4, 1);
    EXPECT_FALSE(parse("5.4"));
    EXPECT_FALSE(parse(""));
}
