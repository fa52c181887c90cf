// The module's own log lines for a grab stopped from another thread, written by
// the module to the file the local log service configured for it.
#include "e2e/AcquisitionModule.h"
#include "support/TempDir.h"

#include "LogService.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/ConnectionInfo.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

using e2e::AcquisitionModule;
using e2e::MachineSetup;
using namespace std::chrono_literals;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

/// `text` inside a JSON string: Windows paths hold back slashes.
std::string JsonEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

/// The log service on its own thread for the life of the test program's first
/// module call: the module asks it once, at its first export call.
class ServiceThread {
public:
    ServiceThread() {
        configPath_ = directory_.File("logsvc.json");
        logPath_ = directory_.File("module.log");
        std::ofstream(configPath_)
            << R"({"GDRVM": {"destination": "file", "level": "debug", "file": ")"
            << JsonEscaped(logPath_) << "\"}}";
        logsvc::ServiceOptions options;
        options.configFile = configPath_;
        options.outputFile = directory_.File("records.txt");
        options.blockName = std::string(nwLogging::global_block_prefix) + nwLogging::block_name();
        options.replaceBlock = true;
        service_ = std::make_unique<logsvc::LogService>(options);
        thread_ = std::thread([this] { service_->Run([this] { return stop_.load(); }); });
    }
    ~ServiceThread() {
        stop_ = true;
        thread_.join();
        service_.reset();
    }
    const std::string& LogPath() const { return logPath_; }

private:
    const orvtest::TempDir directory_{"orv-e2e-log"};
    std::string configPath_;
    std::string logPath_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<logsvc::LogService> service_;
    std::thread thread_;
};

} // namespace

using LogLineEndToEnd = AcquisitionModule;

TEST_F(LogLineEndToEnd, StopFromAnotherThread_IsLoggedAsAsyncStop) {
    ServiceThread service;
    MachineSetup setup;
    setup.trigger = "software";
    Open(setup); // the module's first call: it takes its configuration from the service
    ASSERT_EQ(Grabber()->SetTimeout(600000), ORV::OK);
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);

    int32_t index = 4;
    auto waiter = std::async(std::launch::async, [&] { return grab->GrabWait(&index); });
    ASSERT_TRUE(e2e::WaitUntil([] { return SimCtl_CallCount("Fg_WaitImage") >= 1; }));
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
    ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), ORV::E_FAIL);

    const std::string log = ReadFile(service.LogPath());
    EXPECT_NE(log.find("GDRVM [info] \tBoard = 0 | Channel = 0\tGrab2: Grab started"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("[debug] \tBoard = 0 | Channel = 0\tGrab2: Image requested."),
              std::string::npos);
    EXPECT_NE(log.find("[info] \tBoard = 0 | Channel = 0\tGrab2: async stop of acquesition: 4"),
              std::string::npos);
    EXPECT_NE(log.find("[info] \tBoard = 0 | Channel = 0\tGrab2: Grab stopped"), std::string::npos);
    EXPECT_NE(log.find("Grabber: set timeout = 600000"), std::string::npos);
    ReleaseImage();
}
