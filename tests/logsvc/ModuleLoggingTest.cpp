// ORSisoMe.xvd loaded through the host-application API with a log service
// running: the first export call fetches the module's configuration and its
// records arrive at the service; after CanUnload nothing more arrives.
#include "LogServiceProcess.h"
#include "support/ScopedEnvironmentVariable.h"
#include "support/SimEnvironment.h"

#include <nwLogging/DatagramHeader.h>
#include <nwLogging/LogSvcRecordClient.h>

#include <ORHost/HostApp.h>

#include <platform/Process.h>

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include <sstream>

namespace nw = nwLogging;
using logsvctest::LogServiceProcess;

namespace {

std::unique_ptr<SimEnvironment> Machine(const std::string& format = "gray8") {
    SimEnvironment::Options options;
    options.machineText = "[machine]\nruntime = 5.7.0\n\n[board0]\ntype = 1873\ndmas = 1\n";
    options.configurationText =
        "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n\n[BOARD0_DMA0]\nframebuffers=3\n";
    auto sim = std::make_unique<SimEnvironment>(options);
    sim->WriteDriverFile("acq.mcf", "[applet]\nname = LogTest\ndmas = 1\n\n[dma0]\nwidth = 64\n"
                                    "height = 48\nformat = " +
                                        format + "\ntrigger = freerun\n");
    return sim;
}

std::size_t CountLines(const std::string& text, const std::string& needle) {
    std::istringstream lines(text);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line.find(needle) != std::string::npos ? 1 : 0;
    return count;
}

// Sends a record of the test's own to the service, to mark a point in its output.
void SendMarker(const nw::endpoint& records, const std::string& text) {
    nw::logsvc_record_client client(records, true);
    nw::basic_timed_msgstate record;
    record.level = nw::level_info;
    record.logger_name = "TEST";
    record.timestamp = boost::posix_time::microsec_clock::local_time();
    client.send(record, text);
}

class ModuleLogging : public ::testing::Test {
protected:
    void SetUp() override {
        if (logsvctest::BlockExists(logsvctest::GlobalBlockName()))
            GTEST_SKIP() << "a log service's connection block exists on this machine";
        debugFile_ = scratch_.File("module-debug.txt");
        debugOutput_ =
            std::make_unique<ScopedEnvironmentVariable>("ORV_DEBUG_OUTPUT_FILE", debugFile_);
    }
    void TearDown() override { debugOutput_.reset(); }
    std::string DebugOutput() const { return logsvctest::ReadText(debugFile_); }

    const orvtest::TempDir scratch_{"module-debug"};
    std::string debugFile_;
    std::unique_ptr<ScopedEnvironmentVariable> debugOutput_;
};

} // namespace

TEST_F(ModuleLogging, FirstExportCall_ConfiguresAndRecordsReachTheService) {
    LogServiceProcess service(R"({"GDRVM@)" + platform::ExecutableName() +
                              R"(": {"destination": "logsvc", "level": "all"}})");
    ASSERT_TRUE(service.Ready()) << service.Errors();
    const std::unique_ptr<SimEnvironment> sim = Machine();
    std::string error;
    std::unique_ptr<orvhost::DriverModule> module =
        orvhost::DriverModule::Load(ORSISOME_PATH, &error);
    ASSERT_NE(module, nullptr) << error;

    ORHandle image = module->GetImageV2();
    ASSERT_NE(image, nullptr);
    const std::string pid = "pid=" + std::to_string(platform::CurrentProcessId());
    ASSERT_TRUE(service.WaitForOutput(" GDRVM")) << service.Errors();
    EXPECT_TRUE(service.WaitForErrors("configured GDRVM (process " + platform::ExecutableName()));
    EXPECT_NE(service.Output().find(pid), std::string::npos);
    EXPECT_EQ(DebugOutput(), "") << "the set-up reported no failure";

    orvhost::Release(image);
    ASSERT_EQ(module->CanUnload(), 1);
    // CanUnload released the module's target: what the module logs from now on
    // goes nowhere. Records sent before it may still be on their way, so two
    // markers bracket the calls made after it, and nothing may come in between.
    SendMarker(service.Records(), "marker at unload");
    ASSERT_TRUE(service.WaitForOutput("marker at unload"));
    ORHandle again = module->GetImageV2();
    orvhost::Release(again);
    SendMarker(service.Records(), "marker after unload");
    ASSERT_TRUE(service.WaitForOutput("marker after unload"));
    const std::string output = service.Output();
    const std::size_t start = output.find("marker at unload");
    EXPECT_EQ(
        CountLines(output.substr(start, output.find("marker after unload") - start), " GDRVM"), 0u);
    EXPECT_EQ(module->CanUnload(), 1);
}

TEST_F(ModuleLogging, NoService_OneDebuggerMessageAndTheModuleWorks) {
    const std::unique_ptr<SimEnvironment> sim = Machine();
    std::string error;
    std::unique_ptr<orvhost::DriverModule> module =
        orvhost::DriverModule::Load(ORSISOME_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    ORHandle image = module->GetImageV2();
    EXPECT_NE(image, nullptr) << "the module works without logging";
    orvhost::Release(image);
    EXPECT_EQ(module->CanUnload(), 1);
    EXPECT_EQ(DebugOutput(), "Failed to retrieve/decode the log configuration for module GDRVM: "
                             "Shared memory error\n");
}

TEST_F(ModuleLogging, AppletTheSdkRefuses_ItsReasonIsLoggedAfterTheDriversLine) {
    LogServiceProcess service(R"({"GDRVM@)" + platform::ExecutableName() +
                              R"(": {"destination": "logsvc", "level": "all"}})");
    ASSERT_TRUE(service.Ready()) << service.Errors();
    const std::unique_ptr<SimEnvironment> sim = Machine("grey8");
    std::string error;
    std::unique_ptr<orvhost::DriverModule> module =
        orvhost::DriverModule::Load(ORSISOME_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    ORHandle image = module->GetImageV2();
    EXPECT_EQ(image, nullptr) << "no board, so no image";
    orvhost::Release(image);
    ASSERT_TRUE(service.WaitForOutput("SDK: ")) << service.Output();
    const std::string output = service.Output();
    const std::size_t driverLine = output.find("BoardConfig(mcf/hap) could not be initialized");
    const std::size_t sdkLine = output.find("SDK: ");
    ASSERT_NE(driverLine, std::string::npos) << output;
    EXPECT_LT(driverLine, sdkLine);
    const std::string sdk = output.substr(sdkLine, output.find('\n', sdkLine) - sdkLine);
    EXPECT_NE(sdk.find("acq.mcf"), std::string::npos) << sdk;
    EXPECT_NE(sdk.find("grey8"), std::string::npos) << sdk;
    EXPECT_EQ(module->CanUnload(), 1);
}
