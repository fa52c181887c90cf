// The configuration file at start-up: location, generation from the template,
// the reader's errors as the user sees them, and the log lines on the way.
#include "SystemTestSupport.h"
#include "support/CapturingTarget.h"
#include "support/MessageBoxCapture.h"
#include "support/ScopedCapture.h"
#include "support/SimEnvironment.h"

#include "system/DriverSystem.h"

#include <platform/MessageBox.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#ifndef _WIN32
#include <sys/resource.h>
#endif

using systemtest::LevelAndLocation;
using systemtest::MachineWithRuntime;
using systemtest::RecordsWith;

namespace {

SimEnvironment::Options Runtime541(std::optional<std::string> configuration) {
    SimEnvironment::Options options;
    options.machineText = MachineWithRuntime("5.4.1");
    options.configurationText = std::move(configuration);
    return options;
}

/// The configured path as the driver forms it (the separator stays '\').
std::string DriverPath(const SimEnvironment& sim) {
    return sim.DataDirectory() + "Drivers\\ORSisoMe.ini";
}

struct ExpectedRecord {
    std::string levelAndLocation;
    std::string text;
};

void ExpectRecords(const std::vector<CapturedRecord>& records,
                   const std::vector<ExpectedRecord>& expected) {
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(LevelAndLocation(records[i]), expected[i].levelAndLocation) << "record " << i;
        EXPECT_EQ(records[i].text, expected[i].text) << "record " << i;
    }
}

// POSIX only: a short write is made with the process's file-size limit, which
// Windows has no counterpart of.
#ifndef _WIN32
/// Lowers the file-size limit of this process so that writes beyond `bytes`
/// fail with EFBIG instead of killing the process; restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

/// The template as the driver's text-mode file holds it: Windows writes each line
/// end as "\r\n".
std::string WrittenTemplate() {
    std::string text = CDriverConfiguration::TemplateText();
#ifdef _WIN32
    std::string::size_type at = 0;
    while ((at = text.find('\n', at)) != std::string::npos) {
        text.insert(at, 1, '\r');
        at += 2;
    }
#endif
    return text;
}

} // namespace

TEST(DriverSystemConfigurationFile, FreshFile_EqualsTemplateByteForByte) {
    SimEnvironment sim(Runtime541(std::nullopt));
    auto system = std::make_shared<CDriverSystem>();
    ASSERT_TRUE(SimEnvironment::Exists(sim.ConfigurationPath()));
    EXPECT_EQ(SimEnvironment::ReadFile(sim.ConfigurationPath()), WrittenTemplate());

    // And it is read at once: the template's values.
    const CDriverConfiguration& configuration = system->Configuration();
    EXPECT_EQ(configuration.UInt32("BOARD0_DMA0.framebuffers"), 3u);
    EXPECT_EQ(configuration.Boolean("BOARD0_DMA0.invertdim"), true);
    EXPECT_EQ(configuration.UInt32("BOARD0_DMA0.RotateImage"), 0u);
    EXPECT_EQ(configuration.Boolean("BOARD0.scan"), true);
    EXPECT_EQ(configuration.Int32("BOARD0.discovery"), 10000);
    EXPECT_EQ(configuration.Int32("BOARD0.cxp_speed"), 56);
    EXPECT_EQ(configuration.Path("BOARD0.inifilemcf"), sim.DataDirectory() + "\\Drivers\\your.mcf");
    EXPECT_FALSE(configuration.Text("BOARD0.layout")) << "commented out";
}

TEST(DriverSystemConfigurationFile, FreshFile_LogsEveryStepWithLevelAndLocation) {
    SimEnvironment sim(Runtime541(std::nullopt));
    ScopedCapture capture;
    std::vector<CapturedRecord> records;
    {
        auto system = std::make_shared<CDriverSystem>();
        records = capture->records();
    }
    ASSERT_FALSE(records.empty());
    records.erase(records.begin()); // the banner has its own test
    const std::string path = DriverPath(sim);
    ExpectRecords(records, {
                               {"info ", "SISO_Runtime used: 5.4.1\n\n\n"},
                               {"info ", "CoaXPress RT loaded..."},
                               {"warn DriverSystem(351)", "inifile \"" + path + "\" NOT exists"},
                               {"warn DriverSystem(351)", "inifile \"" + path + "\" NOT exists"},
                               {"info ", "inifile \"" + path + "\" exists"},
                               {"info ", "file " + path + " generated"},
                               {"info ", "SISO_Runtime Version: 5.4.1"},
                           });
    ASSERT_EQ(capture->count(), records.size() + 2);
    EXPECT_EQ(capture->records().back().text, "SiSoMe-Xvd System destructed");
    EXPECT_EQ(LevelAndLocation(capture->records().back()), "info ");
}

TEST(DriverSystemConfigurationFile, ExistingFile_IsNeverOverwritten) {
    const std::string text = "; mine\r\n[BOARD0]\r\ndiscovery = 5000\r\n";
    SimEnvironment sim(Runtime541(text));
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_EQ(SimEnvironment::ReadFile(sim.ConfigurationPath()), text);
    EXPECT_EQ(system->Configuration().Int32("BOARD0.discovery"), 5000);
    const std::vector<CapturedRecord> exists = RecordsWith(capture.target(), "inifile");
    ASSERT_EQ(exists.size(), 1u);
    EXPECT_EQ(exists[0].text, "inifile \"" + DriverPath(sim) + "\" exists");
    EXPECT_EQ(LevelAndLocation(exists[0]), "info ");
    EXPECT_FALSE(capture->contains("generated"));
}

TEST(DriverSystemConfigurationFile, DataDirectoryUnset_ReportsParsingErrorForTheMissingFile) {
    SimEnvironment::Options options = Runtime541(std::nullopt);
    options.setDataDirectory = false;
    SimEnvironment sim(options);
    MessageBoxCapture boxes;
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_EQ(system->ConfigurationPath(), "");
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_FALSE(SimEnvironment::Exists(sim.ConfigurationPath()));

    std::vector<CapturedRecord> records = capture->records();
    ASSERT_GE(records.size(), 3u);
    records.erase(records.begin(), records.begin() + 3); // banner, runtime, CoaXPress
    ExpectRecords(records, {
                               {"warn DriverSystem(351)", "inifile \"\" NOT exists"},
                               {"warn DriverSystem(351)", "inifile \"\" NOT exists"},
                               {"warn DriverSystem(351)", "inifile \"\" NOT exists"},
                               {"err DriverSystem(382)", "file  generation failed"},
                               {"err DriverSystem(74)", "configfile:could not be generated"},
                               {"err DriverSystem(85)", "Error:  | Message: cannot open file 0"},
                           });
    const std::vector<CapturedMessageBox> shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Parsing error");
    EXPECT_EQ(shown[0].text, "INI file, message: cannot open file 0");
    EXPECT_EQ(shown[0].flags, platform::kMessageBoxOk);
    EXPECT_FALSE(capture->contains("SISO_Runtime Version"));
}

TEST(DriverSystemConfigurationFile, DriversFolderMissing_GenerationFailsAndParsingReportsIt) {
    SimEnvironment sim(Runtime541(std::nullopt));
    std::filesystem::remove_all(sim.DriversDirectory());
    MessageBoxCapture boxes;
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_TRUE(system->Configuration().Empty());
    const std::string path = DriverPath(sim);
    EXPECT_TRUE(capture->contains("file " + path + " generation failed"));
    EXPECT_TRUE(capture->contains("configfile:" + path + "could not be generated"));
    const auto error = RecordsWith(capture.target(), "Error: ");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text, "Error: " + path + " | Message: cannot open file 0");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "INI file, message: cannot open file 0");
}

#ifndef _WIN32
TEST(DriverSystemConfigurationFile, WriteCutShort_RemovesThePartialFile) {
    SimEnvironment sim(Runtime541(std::nullopt));
    MessageBoxCapture boxes;
    ScopedCapture capture;
    std::shared_ptr<CDriverSystem> system;
    {
        FileSizeLimit limit(100); // the template is far longer
        system = std::make_shared<CDriverSystem>();
    }
    EXPECT_FALSE(SimEnvironment::Exists(sim.ConfigurationPath()));
    EXPECT_TRUE(system->Configuration().Empty());
    const auto failed = RecordsWith(capture.target(), "generation failed");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(LevelAndLocation(failed[0]), "err DriverSystem(382)");
    EXPECT_TRUE(capture->contains("could not be generated"));
    EXPECT_EQ(boxes.count(), 1u);

    // The next start writes the whole template.
    system.reset();
    system = std::make_shared<CDriverSystem>();
    EXPECT_EQ(SimEnvironment::ReadFile(sim.ConfigurationPath()), WrittenTemplate());
    EXPECT_FALSE(system->Configuration().Empty());
}
#endif

struct ParseErrorCase {
    const char* name;
    const char* text;
    const char* message;
    unsigned line;
};

void PrintTo(const ParseErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class DriverSystemParseError : public testing::TestWithParam<ParseErrorCase> {};

TEST_P(DriverSystemParseError, EveryKeyTakesItsDefault_AndTheUserSeesMessageAndLine) {
    const ParseErrorCase& c = GetParam();
    SimEnvironment sim(Runtime541(std::string(c.text)));
    MessageBoxCapture boxes;
    ScopedCapture capture;
    auto system = std::make_shared<CDriverSystem>();
    EXPECT_TRUE(system->Configuration().Empty());
    EXPECT_FALSE(system->Configuration().Int32("BOARD0.discovery"));
    EXPECT_EQ(SimEnvironment::ReadFile(sim.ConfigurationPath()), c.text) << "left as it is";

    const std::string detail = std::string(c.message) + " " + std::to_string(c.line);
    const auto error = RecordsWith(capture.target(), "Error: ");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text, "Error: " + DriverPath(sim) + " | Message: " + detail);
    EXPECT_EQ(LevelAndLocation(error[0]), "err DriverSystem(85)");
    const std::vector<CapturedMessageBox> shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Parsing error");
    EXPECT_EQ(shown[0].text, "INI file, message: " + detail);
    EXPECT_FALSE(capture->contains("SISO_Runtime Version"));
}

INSTANTIATE_TEST_SUITE_P(
    ReaderMessages, DriverSystemParseError,
    testing::Values(
        ParseErrorCase{"DuplicateSection", "[BOARD0]\ndiscovery=5000\n\n[BOARD0]\nscan=0\n",
                       "duplicate section name", 4},
        ParseErrorCase{"DuplicateKey", "[BOARD0]\ndiscovery=5000\nscan=0\ndiscovery = 7\n",
                       "duplicate key name", 4},
        ParseErrorCase{"UnmatchedBracket", "; c\n[BOARD0\ndiscovery=5000\n", "unmatched '['", 2},
        ParseErrorCase{"NoEqualsSign", "[BOARD0]\ndiscovery 5000\n",
                       "'=' character not found in line", 2},
        ParseErrorCase{"NoKey", "[BOARD0]\n\n\n  = 5000\n", "key expected", 4},
        // The reader does not skip a byte-order mark.
        ParseErrorCase{"ByteOrderMark", "\xEF\xBB\xBF[BOARD0]\nscan=0\n",
                       "'=' character not found in line", 1}),
    [](const testing::TestParamInfo<ParseErrorCase>& info) { return info.param.name; });
