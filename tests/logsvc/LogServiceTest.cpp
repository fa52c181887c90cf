// orvlogsvc as a program: its shared-memory record, its answers, its output,
// its start-up errors and its clean exit.
#include "LogServiceProcess.h"

#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/LogSvcCommandClient.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcRecordClient.h>

#include <platform/Process.h>
#include <platform/SharedMemoryBlock.h>
#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/filesystem.hpp>
#include <boost/property_tree/ptree.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace nw = nwLogging;
using logsvctest::LogServiceProcess;

namespace {

std::string Process() {
    return platform::ExecutableName();
}

std::string Sets() {
    return R"({"GDRVM@)" + Process() + R"(": {"destination": "file", "level": "debug", "file": "x"},
               "GDRVM": {"destination": "cout", "level": "info"},
               "*": {"destination": "none", "level": "none"}})";
}

std::string Destination(const LogServiceProcess& service, const std::string& module) {
    // The client waits twice half a second for an answer; a loaded machine may
    // answer later, which is not what these tests are about: when no answer came,
    // ask again. Any answer, a refusal too, is the result.
    std::string destination;
    logsvctest::WaitFor([&] {
        try {
            nw::logsvc_command_client client(service.Command());
            destination = client.get_configuration(module, {}).get<std::string>("destination");
            return true;
        } catch (const nw::LogSvcError& e) {
            if (std::string(e.what()).find("communicating with the server") == std::string::npos)
                throw;
            return false;
        }
    });
    return destination;
}

class LogServiceProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (logsvctest::BlockExists(logsvctest::GlobalBlockName()))
            GTEST_SKIP() << "a log service's connection block exists on this machine";
    }
    // For the test's own sockets (Windows needs Winsock started).
    const platform::SocketLibrary sockets_ =
        platform::SocketLibrary::Start(platform::kSocketVersion22, nullptr, nullptr);
};

} // namespace

TEST_F(LogServiceProgram, PublishesItsEndpointsInSharedMemory) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    const nw::connection_info info = nw::connection_info::read();
    EXPECT_EQ(info.magic, nw::connection_info_magic);
    EXPECT_NE(info.valid, 0u);
    EXPECT_EQ(info.reserved, service.Pid()) << "the owner's process id";
    EXPECT_EQ(info.command, service.Command());
    EXPECT_EQ(info.records, service.Records());
    EXPECT_EQ(info.command.address, 0x7F000001u);
    EXPECT_EQ(info.records.address, 0x7F000001u);
    EXPECT_NE(info.command.port, 0);
    EXPECT_NE(info.records.port, 0);
}

TEST_F(LogServiceProgram, TerminationRequest_RemovesTheBlockAndTheReadyFile) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_TRUE(logsvctest::BlockExists(logsvctest::GlobalBlockName()));
    EXPECT_EQ(service.Stop(platform::StopKind::Terminate), 0);
    EXPECT_FALSE(logsvctest::BlockExists(logsvctest::GlobalBlockName()));
    EXPECT_FALSE(boost::filesystem::exists(service.ReadyPath()));
}

TEST_F(LogServiceProgram, Interrupt_RemovesTheBlock) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(service.Stop(platform::StopKind::Interrupt), 0);
    EXPECT_FALSE(logsvctest::BlockExists(logsvctest::GlobalBlockName()));
}

TEST_F(LogServiceProgram, ConfiguredPorts) {
    // Ports the system hands out are free now; the service binds them next.
    auto freePort = [] {
        platform::UdpSocket probe = platform::UdpSocket::Open();
        uint16_t port = 0;
        probe.Bind(0x7F000001, 0);
        probe.LocalAddress(nullptr, &port);
        return port;
    };
    const uint16_t commandPort = freePort();
    const uint16_t recordPort = freePort();
    LogServiceProcess service(Sets(), {"--command-port", std::to_string(commandPort),
                                       "--record-port", std::to_string(recordPort)});
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(service.Command().port, commandPort);
    EXPECT_EQ(service.Records().port, recordPort);
}

TEST_F(LogServiceProgram, AnswersTheSetForTheModuleAndProcess) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(Destination(service, "GDRVM"), "file") << "the set for this very process";
    EXPECT_EQ(Destination(service, "OTHER"), "none") << "the default set";
    EXPECT_TRUE(service.WaitForErrors("configured GDRVM (process " + Process() + ")"));
}

TEST_F(LogServiceProgram, UnknownModule_NegativeAcknowledge) {
    LogServiceProcess service(R"({"GDRVM": {"destination": "cout", "level": "info"}})");
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(Destination(service, "GDRVM"), "cout");
    try {
        Destination(service, "OTHER");
        ADD_FAILURE() << "answered";
    } catch (const nw::LogSvcError& e) {
        EXPECT_STREQ(e.what(), "The command was not successful (negative acknowledge received)");
    }
}

TEST_F(LogServiceProgram, EditedConfiguration_AppliesToTheNextRequest) {
    LogServiceProcess service(R"({"*": {"destination": "cout", "level": "info"}})");
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(Destination(service, "GDRVM"), "cout");
    service.WriteConfig(R"({"*": {"destination": "cerr", "level": "info"}})");
    EXPECT_EQ(Destination(service, "GDRVM"), "cerr");
    service.WriteConfig("{ not json");
    EXPECT_THROW(Destination(service, "GDRVM"), nw::LogSvcError) << "a negative acknowledge";
    service.WriteConfig(R"({"*": {"destination": "trace", "level": "info"}})");
    EXPECT_EQ(Destination(service, "GDRVM"), "trace") << "still serving";
}

TEST_F(LogServiceProgram, WithoutConfiguration_EveryModuleLogsHere) {
    LogServiceProcess service("");
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(Destination(service, "ANYTHING"), "logsvc");
}

TEST_F(LogServiceProgram, SetDescription_Noted) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    nw::logsvc_command_client client(service.Command());
    client.set_description("GDRVM", "Silicon Software frame grabbers");
    EXPECT_TRUE(service.WaitForErrors("module GDRVM describes itself as: Silicon Software"));
}

TEST_F(LogServiceProgram, Records_PrintedDecoded) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    nw::logsvc_record_client client(service.Records(), true);
    nw::basic_timed_msgstate record;
    record.level = nw::level_err;
    record.logger_name = "GDRVM.board";
    record.location = "DriverBoard(449)";
    record.thread_id = 4711;
    record.timestamp = boost::posix_time::ptime(boost::gregorian::date(2021, 3, 3),
                                                boost::posix_time::time_duration(8, 5, 7) +
                                                    boost::posix_time::microseconds(125000));
    client.send(record, "\tBoard = 0\tMCF missing");
    const std::string expected =
        "2021-Mar-03 08:05:07.125000 GDRVM.board [err] pid=" +
        std::to_string(platform::CurrentProcessId()) +
        " tid=4711 loc=DriverBoard(449) seq=1 | \tBoard = 0\tMCF missing\n";
    ASSERT_TRUE(service.WaitForOutput("MCF missing"));
    EXPECT_EQ(service.Output(), expected);
}

TEST_F(LogServiceProgram, MalformedDatagrams_NotedAndServiceGoesOn) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    platform::UdpSocket socket = platform::UdpSocket::Open();
    const char junk[] = "not a record at all";
    socket.SendTo(junk, sizeof junk, service.Records().address, service.Records().port);
    socket.SendTo(junk, sizeof junk, service.Command().address, service.Command().port);
    EXPECT_TRUE(service.WaitForErrors("dropped a record datagram"));
    EXPECT_TRUE(service.WaitForErrors("ignored a datagram"));
    nw::logsvc_record_client client(service.Records(), false);
    nw::basic_timed_msgstate record;
    record.level = nw::level_info;
    client.send(record, "still listening");
    EXPECT_TRUE(service.WaitForOutput("tid=- seq=1 | still listening"));
    EXPECT_EQ(Destination(service, "GDRVM"), "file");
}

TEST_F(LogServiceProgram, OutputPipeClosed_RecordsLostButTheServiceStopsCleanly) {
    // Nobody reads the service's standard output.
    LogServiceProcess service(Sets(), LogServiceProcess::ClosedPipeOutput{});
    ASSERT_TRUE(service.Ready()) << service.Errors();
    nw::logsvc_record_client client(service.Records(), true);
    nw::basic_timed_msgstate record;
    record.level = nw::level_info;
    client.send(record, "into a broken pipe");
    // Handled in order by one thread: once the junk after it is noted, the
    // record was written (and lost).
    platform::UdpSocket socket = platform::UdpSocket::Open();
    const char junk[] = "junk";
    socket.SendTo(junk, sizeof junk, service.Records().address, service.Records().port);
    ASSERT_TRUE(service.WaitForErrors("dropped a record datagram"));
    EXPECT_EQ(service.Stop(platform::StopKind::Terminate), 0) << "killed by the broken pipe";
    EXPECT_FALSE(logsvctest::BlockExists(logsvctest::GlobalBlockName()));
}

TEST_F(LogServiceProgram, BrokenConfigurationFile_RefusedAtStartWithOneLine) {
    const orvtest::TempDir scratch("orvlogsvc-test");
    const std::string path = scratch.File("bad.json");
    logsvctest::WriteText(path, R"({"GDRVM": "file"})");
    const logsvctest::Completed run = logsvctest::RunService({"--config", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("orvlogsvc: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_FALSE(logsvctest::BlockExists(logsvctest::GlobalBlockName()));
}

TEST_F(LogServiceProgram, BlockOwnedByAnother_RefusedUnlessReplaced) {
    std::string error;
    platform::SharedMemoryBlock other =
        platform::SharedMemoryBlock::Create(logsvctest::GlobalBlockName(), 24, &error);
    ASSERT_TRUE(other) << error;
    const logsvctest::Completed refused = logsvctest::RunService({});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--replace"), std::string::npos) << refused.err;
    EXPECT_TRUE(logsvctest::BlockExists(logsvctest::GlobalBlockName())) << "left alone";

    LogServiceProcess service(Sets()); // with --replace
    ASSERT_TRUE(service.Ready()) << service.Errors();
    EXPECT_EQ(nw::connection_info::read().command, service.Command());
    other.release(); // the service owns the name now
}

TEST_F(LogServiceProgram, Flood_StopsOnInterruptWhileRecordsKeepArrivingAndCountsTheDrops) {
    LogServiceProcess service(Sets());
    ASSERT_TRUE(service.Ready()) << service.Errors();
    // Senders keep the record socket busier than one service thread can drain it,
    // with records and with junk, until the service is gone.
    std::atomic<bool> flooding{true};
    std::atomic<uint64_t> junkSent{0};
    std::vector<std::thread> senders;
    for (int i = 0; i < 3; ++i)
        senders.emplace_back([&] {
            nw::logsvc_record_client client(service.Records(), false);
            nw::basic_timed_msgstate record;
            record.level = nw::level_info;
            while (flooding)
                client.send(record, "flood");
        });
    senders.emplace_back([&] {
        platform::UdpSocket socket = platform::UdpSocket::Open();
        const char text[] = "not a record";
        while (flooding)
            if (socket.SendTo(text, sizeof text, service.Records().address, service.Records().port)
                    .status == platform::IoStatus::Ok)
                ++junkSent;
    });
    const bool flooded = service.WaitForOutput("| flood") && service.WaitForErrors("dropped") &&
                         logsvctest::WaitFor([&] { return junkSent > 20000; });
    const int status = service.Stop(platform::StopKind::Interrupt); // kills after the wait's bound
    flooding = false;
    for (std::thread& sender : senders)
        sender.join();
    if (status != 0)
        LogServiceProcess takeOver(Sets()); // a killed service leaves its block behind
    ASSERT_TRUE(flooded) << service.Errors();
    EXPECT_EQ(status, 0) << "still serving under the flood";
    EXPECT_FALSE(logsvctest::BlockExists(logsvctest::GlobalBlockName()));

    // The drops are reported as counts, not one line each.
    std::istringstream lines(service.Errors());
    uint64_t dropLines = 0;
    for (std::string line; std::getline(lines, line);)
        dropLines += line.find("dropped") != std::string::npos ? 1 : 0;
    EXPECT_GE(dropLines, 1u);
    EXPECT_LT(dropLines * 100, junkSent.load()) << service.Errors();
    EXPECT_NE(service.Errors().find(" record datagrams since the last report; the last from "),
              std::string::npos)
        << service.Errors();
}

TEST_F(LogServiceProgram, FailedStart_LeavesNoOutputFile) {
    const orvtest::TempDir scratch("orvlogsvc-test");
    const std::string output = scratch.File("records.txt");
    const logsvctest::Completed run =
        logsvctest::RunService({"--config", scratch.File("missing.json"), "--output", output});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("missing.json"), std::string::npos) << run.err;
    EXPECT_FALSE(boost::filesystem::exists(output));
}

TEST(LogServiceCommandLine, HelpAndBadArguments) {
    const logsvctest::Completed help = logsvctest::RunService({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: orvlogsvc"), std::string::npos);
    EXPECT_NE(help.out.find("--ready-file"), std::string::npos);
    const logsvctest::Completed bad = logsvctest::RunService({"--colour"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "orvlogsvc: unknown argument '--colour' (see --help)\n");
    const logsvctest::Completed port = logsvctest::RunService({"--record-port", "70000"});
    EXPECT_EQ(port.status, 2);
    EXPECT_NE(port.err.find("--record-port"), std::string::npos);
}
