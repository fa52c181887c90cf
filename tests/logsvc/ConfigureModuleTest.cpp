// The module's logging set-up against a real log service on 127.0.0.1 with the
// real shared-memory block: each destination, the level mask, the failures and
// their single debugger-output message, and the release at unload.
#include "LogServiceProcess.h"
#include "support/CapturingTarget.h"

#include <nwLogging/ConfigureModule.h>
#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/LogMacros.h>
#include <nwLogging/LogSvcTarget.h>
#include <nwLogging/MessageContainerReader.h>
#include <nwLogging/Target.h>

#include <platform/DebugOutput.h>
#include <platform/Ipv4Address.h>
#include <platform/Process.h>
#include <platform/SharedMemory.h>
#include <platform/SharedMemoryBlock.h>
#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include <mutex>
#include <sstream>

namespace nw = nwLogging;
using logsvctest::LogServiceProcess;

namespace {

const std::string kFetchFailure =
    "Failed to retrieve/decode the log configuration for module GDRVM: ";
const std::string kSetupFailure =
    "Failed to configure the logging infrastructure for module GDRVM: ";

/// The configuration file with one set for this test program's GDRVM.
std::string SetForThisProcess(const std::string& set) {
    return R"({"GDRVM@)" + platform::ExecutableName() + R"(": )" + set + "}";
}

/// `text` inside a JSON string (a Windows path's backslashes escaped).
std::string InJson(const std::string& text) {
    std::string escaped;
    for (const char c : text)
        escaped += c == '\\' || c == '"' ? std::string("\\") + c : std::string(1, c);
    return escaped;
}

/// A UDP socket on 127.0.0.1 that receives record datagrams.
class RecordReceiver {
public:
    RecordReceiver() : socket_(platform::UdpSocket::Open()) {
        socket_.Bind(platform::kIpv4Loopback, 0);
        socket_.LocalAddress(nullptr, &port_);
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    /// The next record's container; nothing after 30 s.
    std::optional<nw::decoded_container> Next() {
        if (socket_.WaitReadable(30000).status != platform::WaitStatus::Ready)
            return std::nullopt;
        uint8_t buffer[2048];
        const platform::ReceiveResult read = socket_.ReceiveFrom(buffer, sizeof buffer);
        if (read.status != platform::IoStatus::Ok || read.bytes < 12)
            return std::nullopt;
        return nw::decoded_container::decode(buffer + 12, read.bytes - 12);
    }

private:
    platform::UdpSocket socket_;
    uint16_t port_ = 0;
};

/// Collects the debugger output of the test.
class DebugCapture {
public:
    DebugCapture() {
        platform::SetDebugOutputHook([this](const std::string& text) {
            std::lock_guard<std::mutex> guard(mutex_);
            texts_.push_back(text);
        });
    }
    ~DebugCapture() { platform::SetDebugOutputHook(nullptr); }
    std::vector<std::string> Texts() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return texts_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

class ConfigureModule : public ::testing::Test {
protected:
    void SetUp() override {
        if (logsvctest::BlockExists(logsvctest::GlobalBlockName()) ||
            logsvctest::BlockExists(nw::block_name()))
            GTEST_SKIP() << "a log service's connection block exists on this machine";
        Reset();
    }
    void TearDown() override { Reset(); }
    // For the test's own sockets (Windows needs Winsock started).
    const platform::SocketLibrary sockets_ =
        platform::SocketLibrary::Start(platform::kSocketVersion22, nullptr, nullptr);

    // Each test starts as a freshly loaded module would.
    static void Reset() {
        nw::release_targets();
        nw::root_logger()->state()->set_level_mask(0);
        nw::prune_loggers();
    }

    std::unique_ptr<LogServiceProcess> StartService(const std::string& set) {
        auto service = std::make_unique<LogServiceProcess>(SetForThisProcess(set));
        EXPECT_TRUE(service->Ready()) << service->Errors();
        return service;
    }

    DebugCapture debug_;
};

} // namespace

TEST_F(ConfigureModule, LogServiceDestination_RecordsReachTheService) {
    auto service = StartService(R"({"destination": "logsvc", "level": "all"})");
    ASSERT_TRUE(service->Ready());
    EXPECT_TRUE(nw::configure_module("GDRVM", "", {}));
    EXPECT_TRUE(debug_.Texts().empty());
    EXPECT_EQ(nw::root_logger()->name(), "GDRVM");
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 255u);
    ASSERT_EQ(nw::installed_target_count(), 1u);
    auto target =
        std::dynamic_pointer_cast<nw::basic_logsvc_target>(nw::installed_targets()[0].second);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->receiver(), service->Records()) << "the record endpoint of the block";
    EXPECT_TRUE(target->thread_id());

    const nw::logger_ptr board = nw::get_logger("Board");
    NWLOG_AT(board, nw::level_err, "DriverBoard", 449, "\tBoard = " << 0 << "\tMCF missing");
    const std::string tid = std::to_string(platform::CurrentThreadId());
    ASSERT_TRUE(service->WaitForOutput("MCF missing"));
    EXPECT_NE(service->Output().find(
                  " GDRVM.board [err] pid=" + std::to_string(platform::CurrentProcessId()) +
                  " tid=" + tid + " loc=DriverBoard(449) seq=1 | \tBoard = 0\tMCF missing\n"),
              std::string::npos)
        << service->Output();
}

TEST_F(ConfigureModule, LogServiceDestination_OwnReceiver_ItemsDecodeToTheRecord) {
    RecordReceiver receiver;
    auto service = StartService(R"({"destination": "logsvc", "level": "info", "sockaddr": ")" +
                                receiver.Address() + R"("})");
    ASSERT_TRUE(service->Ready());
    ASSERT_TRUE(nw::configure_module("GDRVM", "", {}));
    const nw::logger_ptr channel = nw::get_logger("Channel");
    NWLOG(channel, nw::level_debug, "not enabled at info");
    NWLOG_AT(channel, nw::level_warn, "DriverChannel", 12, "value " << 42 << " refused");
    const std::optional<nw::decoded_container> record = receiver.Next();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record->text, "value 42 refused");
    EXPECT_EQ(*record->level, nw::level_warn);
    EXPECT_EQ(*record->logger, "GDRVM.channel");
    EXPECT_EQ(*record->location, "DriverChannel(12)");
    EXPECT_EQ(*record->thread_id, platform::CurrentThreadId());
    EXPECT_EQ(*record->process_id, platform::CurrentProcessId());
    EXPECT_EQ(record->sequence, 1u);
}

TEST_F(ConfigureModule, LogServiceDestination_ThreadIdOff_NoThreadItem) {
    RecordReceiver receiver;
    auto service = StartService(
        R"({"destination": "logsvc", "level": "all", "thread_id": "off", "sockaddr": ")" +
        receiver.Address() + R"("})");
    ASSERT_TRUE(service->Ready());
    ASSERT_TRUE(nw::configure_module("GDRVM", "", {}));
    NWLOG(nw::get_logger("Grab"), nw::level_info, "no thread");
    const std::optional<nw::decoded_container> record = receiver.Next();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record->text, "no thread");
    EXPECT_FALSE(record->thread_id.has_value());
    EXPECT_EQ(record->types(), (std::vector<uint8_t>{2, 3, 4, 8, 5, 10, 1, 6}));
}

TEST_F(ConfigureModule, FileDestination_TheExactLine) {
    LogServiceProcess* service = nullptr;
    const orvtest::TempDir scratch("gdrvm-log");
    const std::string path = scratch.File("gdrvm.log");
    auto owner = StartService(R"({"destination": "file", "level": "debug", "file": ")" +
                              InJson(path) + R"("})");
    service = owner.get();
    ASSERT_TRUE(service->Ready());
    ASSERT_TRUE(nw::configure_module("GDRVM", "", {}));
    // A second target next to the file shows the record the file's line came from.
    auto capture = std::make_shared<CapturingTarget>();
    nw::install_target(nullptr, capture);
    NWLOG_AT(nw::get_logger("Board"), nw::level_err, "DriverBoard", 59,
             "MCF = "
                 << "a.mcf");
    NWLOG(nw::get_logger("Board"), nw::level_debug, "two\nlines");
    ASSERT_EQ(capture->count(), 2u);
    const std::vector<CapturedRecord> records = capture->records();
    const std::string text = logsvctest::ReadText(path);
    EXPECT_EQ(text, records[0].line + "\n" + records[1].line + "\n");
    EXPECT_EQ(records[0].line.substr(records[0].line.find(" GDRVM")),
              " GDRVM.board [err] MCF = a.mcf");
    EXPECT_EQ(records[1].line.substr(records[1].line.find(" GDRVM")),
              " GDRVM.board [debug] two lines");
}

TEST_F(ConfigureModule, ErrLevel_PassesOnlyFatalAndErr) {
    const orvtest::TempDir scratch("gdrvm-log");
    const std::string path = scratch.File("gdrvm.log");
    auto service = StartService(R"({"destination": "file", "level": "err", "file": ")" +
                                InJson(path) + R"("})");
    ASSERT_TRUE(service->Ready());
    ASSERT_TRUE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 3u);
    const nw::logger_ptr logger = nw::get_logger("Levels");
    for (uint32_t level : {nw::level_fatal, nw::level_err, nw::level_warn, nw::level_info,
                           nw::level_trace, nw::level_debug})
        NWLOG(logger, level, "level " << level);
    const std::string text = logsvctest::ReadText(path);
    std::istringstream lines(text);
    std::vector<std::string> tails;
    for (std::string line; std::getline(lines, line);)
        tails.push_back(line.substr(line.find(" GDRVM")));
    EXPECT_EQ(tails, (std::vector<std::string>{" GDRVM.levels [fatal] level 1",
                                               " GDRVM.levels [err] level 2"}));
}

TEST_F(ConfigureModule, EventLogDestination_SucceedsAndWritesNothing) {
    auto service = StartService(R"({"destination": "evtlog", "level": "all"})");
    ASSERT_TRUE(service->Ready());
    EXPECT_TRUE(nw::configure_module("GDRVM", "", {}));
    EXPECT_TRUE(debug_.Texts().empty());
    EXPECT_EQ(nw::installed_target_count(), 0u) << "nowhere to write to";
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 255u);
    EXPECT_NO_THROW(NWLOG(nw::get_logger("Board"), nw::level_err, "goes nowhere"));
}

TEST_F(ConfigureModule, Description_ToldToTheService) {
    auto service = StartService(R"({"destination": "none", "level": "none"})");
    ASSERT_TRUE(service->Ready());
    EXPECT_TRUE(nw::configure_module("GDRVM", "Silicon Software frame grabbers", {}));
    EXPECT_TRUE(service->WaitForErrors("module GDRVM describes itself as: Silicon Software"));
}

TEST_F(ConfigureModule, NoService_OneDebuggerMessageAndNoLogging) {
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(debug_.Texts(), (std::vector<std::string>{kFetchFailure + "Shared memory error\n"}));
    EXPECT_EQ(nw::root_logger()->name(), "GDRVM");
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 0u);
    EXPECT_EQ(nw::installed_target_count(), 0u);
    // The module goes on working; its log sites simply write nothing.
    EXPECT_NO_THROW(NWLOG(nw::get_logger("Board"), nw::level_fatal, "unheard"));
    EXPECT_EQ(debug_.Texts().size(), 1u);
}

TEST_F(ConfigureModule, UnknownModule_NegativeAcknowledgeReported) {
    auto service = std::make_unique<LogServiceProcess>(
        R"({"SOMEONE-ELSE": {"destination": "cout", "level": "all"}})");
    ASSERT_TRUE(service->Ready()) << service->Errors();
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(
        debug_.Texts(),
        (std::vector<std::string>{
            kFetchFailure + "The command was not successful (negative acknowledge received)\n"}));
    EXPECT_EQ(nw::installed_target_count(), 0u);
}

TEST_F(ConfigureModule, BadWordsFromTheService_Reported) {
    auto service = StartService(R"({"destination": "cout", "level": "loud"})");
    ASSERT_TRUE(service->Ready());
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(debug_.Texts(),
              (std::vector<std::string>{kFetchFailure + "Unknown log level specified: loud\n"}));
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 0u);

    service->WriteConfig(SetForThisProcess(R"({"level": "info"})"));
    Reset();
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(debug_.Texts().back(),
              kFetchFailure + "The configuration set does not contain the requested parameter\n");
}

TEST_F(ConfigureModule, FileThatCannotBeOpened_SetupFailureReported) {
    auto service = StartService(
        R"({"destination": "file", "level": "all", "file": "/nonexistent-dir/x.log"})");
    ASSERT_TRUE(service->Ready());
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(debug_.Texts(), (std::vector<std::string>{
                                  kSetupFailure + "Error opening file: /nonexistent-dir/x.log\n"}));
    EXPECT_EQ(nw::installed_target_count(), 0u);
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 0u) << "no mask without its target";
}

TEST_F(ConfigureModule, MalformedReceiverAddress_SetupFailureReported) {
    auto service =
        StartService(R"({"destination": "logsvc", "level": "all", "sockaddr": "127.0.0.1:080"})");
    ASSERT_TRUE(service->Ready());
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    EXPECT_EQ(debug_.Texts(), (std::vector<std::string>{
                                  kSetupFailure + "Failed to parse socket address string\n"}));
}

TEST_F(ConfigureModule, ServiceGoneWithoutCleaningUp_TwoAttemptsThenReported) {
    auto service = StartService(R"({"destination": "cout", "level": "all"})");
    ASSERT_TRUE(service->Ready());
    const std::string name = logsvctest::GlobalBlockName();
    uint8_t record[64] = {};
    const platform::SharedMemoryReadResult published =
        platform::ReadSharedMemory(name, record, sizeof record);
    ASSERT_TRUE(published.opened) << published.error;
    service->Crash(); // the block stays, nobody answers
    // On Windows a block goes with the last handle to it: put the dead service's
    // record back, as a reader still holding the block would have kept it.
    platform::SharedMemoryBlock stale;
    if (!logsvctest::BlockExists(name)) {
        stale = platform::SharedMemoryBlock::Create(name, published.blockSize);
        ASSERT_TRUE(stale && stale.Write(0, record, published.copied));
    }
    EXPECT_FALSE(nw::configure_module("GDRVM", "", {}));
    platform::SharedMemoryBlock::Remove(name);
    EXPECT_EQ(debug_.Texts(),
              (std::vector<std::string>{
                  kFetchFailure +
                  "Log client command execution failure when communicating with the server.\n"}));
}

TEST_F(ConfigureModule, ReleaseTargets_StopsDelivery) {
    RecordReceiver receiver;
    auto service = StartService(R"({"destination": "logsvc", "level": "all", "sockaddr": ")" +
                                receiver.Address() + R"("})");
    ASSERT_TRUE(service->Ready());
    ASSERT_TRUE(nw::configure_module("GDRVM", "", {}));
    const nw::logger_ptr logger = nw::get_logger("Unload");
    NWLOG(logger, nw::level_info, "before");
    std::optional<nw::decoded_container> record = receiver.Next();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record->text, "before");

    nw::release_targets(); // what CanUnload does
    EXPECT_EQ(nw::installed_target_count(), 0u);
    NWLOG(logger, nw::level_info, "after release");
    // A target of the test's own shows what reaches the receiver next: if the
    // released target were still delivering, "after release" would come first.
    nw::install_target(nullptr, std::make_shared<nw::basic_logsvc_target>(
                                    nw::parse_socket_address(receiver.Address()), true));
    NWLOG(logger, nw::level_info, "marker");
    record = receiver.Next();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record->text, "marker");
}
