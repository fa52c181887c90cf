// Record datagrams: header, sequence counters per kind, items that decode to
// what was logged, the thread-id switch, the log-service target.
#include "FakePeer.h"

#include <nwLogging/LogMacros.h>
#include <nwLogging/LogSvcRecordClient.h>
#include <nwLogging/LogSvcTarget.h>
#include <nwLogging/MessageContainer.h>
#include <nwLogging/MessageContainerReader.h>

#include <platform/Process.h>

#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <gtest/gtest.h>

namespace nw = nwLogging;
using peertest::Datagram;
using peertest::FakePeer;

namespace {

nw::basic_timed_msgstate Record(const std::string& location = "DriverChannel(12)") {
    nw::basic_timed_msgstate record;
    record.level = nw::level_info;
    record.logger_name = "GDRVM.channel";
    record.location = location;
    record.thread_id = 31337;
    record.timestamp = boost::posix_time::microsec_clock::local_time();
    return record;
}

nw::decoded_container Container(const Datagram& datagram) {
    return nw::decoded_container::decode(datagram.bytes.data() + 12, datagram.bytes.size() - 12);
}

// Installs a target for one test and releases the module's list afterwards.
struct InstalledTarget {
    explicit InstalledTarget(nw::target_ptr target) { nw::install_target(nullptr, target); }
    ~InstalledTarget() { nw::release_targets(); }
};

} // namespace

TEST(LogSvcRecordClient, Datagram_HeaderAndPatternA) {
    FakePeer receiver;
    nw::logsvc_record_client client(receiver.Endpoint(), true);
    const nw::basic_timed_msgstate record = Record();
    client.send(record, "grab started");
    const std::optional<Datagram> datagram = receiver.Receive();
    ASSERT_TRUE(datagram);
    const nw::datagram_header header = datagram->Header();
    EXPECT_EQ(header.magic, 0xADDA);
    EXPECT_EQ(header.flags, 1);
    EXPECT_EQ(header.command, 0x0101);
    EXPECT_EQ(header.status, 0);
    EXPECT_EQ(header.payload_length, datagram->bytes.size() - 12);

    const nw::decoded_container c = Container(*datagram);
    EXPECT_EQ(c.types(), (std::vector<uint8_t>{2, 3, 4, 9, 8, 5, 10, 1, 6}));
    EXPECT_EQ(c.total, datagram->bytes.size() - 12);
    EXPECT_EQ(c.flags, 0);
    EXPECT_EQ(*c.text, "grab started");
    EXPECT_EQ(*c.level, nw::level_info);
    EXPECT_EQ(*c.logger, "GDRVM.channel");
    EXPECT_EQ(*c.location, "DriverChannel(12)");
    EXPECT_EQ(*c.thread_id, 31337u);
    EXPECT_EQ(*c.process_id, platform::CurrentProcessId());
    EXPECT_EQ(*c.code_page, platform::AnsiCodePage());
    EXPECT_EQ(*c.timestamp, record.timestamp);
}

TEST(LogSvcRecordClient, SequenceCounters_OnePerKindStartingAtOne) {
    FakePeer receiver;
    nw::logsvc_record_client client(receiver.Endpoint(), true);
    nw::basic_timed_msgstate withAttributes = Record();
    withAttributes.attributes.resize(1);
    client.send(Record(), "a");
    client.send(Record(), "b");
    client.send(withAttributes, "c");
    client.send(Record(), "d");
    client.send(withAttributes, "e");
    std::vector<std::pair<uint16_t, uint64_t>> seen;
    for (int i = 0; i < 5; ++i) {
        const std::optional<Datagram> datagram = receiver.Receive();
        ASSERT_TRUE(datagram);
        const nw::decoded_container c = Container(*datagram);
        EXPECT_EQ(c.sequence, c.sequence_again);
        seen.emplace_back(datagram->Header().command, c.sequence);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, uint64_t>>{
                        {0x0101, 1}, {0x0101, 2}, {0x0102, 1}, {0x0101, 3}, {0x0102, 2}}));
    EXPECT_EQ(client.plain_sequence(), 3u);
    EXPECT_EQ(client.attribute_sequence(), 2u);
}

TEST(LogSvcRecordClient, WithAttributes_PatternBAndFlag4) {
    FakePeer receiver;
    nw::logsvc_record_client client(receiver.Endpoint(), true);
    nw::basic_timed_msgstate record = Record();
    record.attributes.resize(2);
    client.send(record, "x");
    const std::optional<Datagram> datagram = receiver.Receive();
    ASSERT_TRUE(datagram);
    const nw::decoded_container c = Container(*datagram);
    EXPECT_EQ(c.types(), (std::vector<uint8_t>{7, 2, 3, 4, 9, 8, 5, 10, 1, 6}));
    EXPECT_EQ(c.flags, nw::container_has_attributes);
}

TEST(LogSvcRecordClient, ThreadIdOff_NoThreadItemInEitherPattern) {
    FakePeer receiver;
    nw::logsvc_record_client client(receiver.Endpoint(), false);
    nw::basic_timed_msgstate withAttributes = Record();
    withAttributes.attributes.resize(1);
    client.send(Record(), "plain");
    client.send(withAttributes, "attributes");
    const std::optional<Datagram> plain = receiver.Receive();
    const std::optional<Datagram> attributes = receiver.Receive();
    ASSERT_TRUE(plain && attributes);
    EXPECT_EQ(Container(*plain).types(), (std::vector<uint8_t>{2, 3, 4, 8, 5, 10, 1, 6}));
    EXPECT_EQ(Container(*attributes).types(), (std::vector<uint8_t>{7, 2, 3, 4, 8, 5, 10, 1, 6}));
    EXPECT_FALSE(Container(*plain).thread_id.has_value());
}

TEST(LogSvcRecordClient, LongText_CutAndLocationDropped_DatagramIs1400Bytes) {
    FakePeer receiver;
    nw::logsvc_record_client client(receiver.Endpoint(), true);
    const std::string text(2000, 'x');
    client.send(Record(), text);
    const std::optional<Datagram> datagram = receiver.Receive();
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes.size(), 1400u);
    const nw::decoded_container c = Container(*datagram);
    EXPECT_EQ(c.flags, nw::container_items_dropped | nw::container_text_truncated);
    EXPECT_FALSE(c.location.has_value());
    EXPECT_LT(c.text->size(), text.size());
    EXPECT_EQ(*c.text, text.substr(0, c.text->size()));
}

TEST(LogSvcTarget, RecordsLoggedThroughALoggerArriveDecoded) {
    FakePeer receiver;
    auto target = std::make_shared<nw::basic_logsvc_target>(receiver.Endpoint(), true);
    EXPECT_EQ(target->receiver(), receiver.Endpoint());
    InstalledTarget installed(target);
    const nw::logger_ptr root = nw::basic_logger::make_root("GDRVM");
    root->state()->set_level_mask(0xFF);
    const nw::logger_ptr board = root->get_child("Board");
    NWLOG_AT(board, nw::level_err, "DriverBoard", 449, "\tBoard = " << 3 << "\tMCF missing");
    const std::optional<Datagram> datagram = receiver.Receive();
    ASSERT_TRUE(datagram);
    const nw::decoded_container c = Container(*datagram);
    EXPECT_EQ(*c.text, "\tBoard = 3\tMCF missing");
    EXPECT_EQ(*c.level, nw::level_err);
    EXPECT_EQ(*c.logger, "GDRVM.board");
    EXPECT_EQ(*c.location, "DriverBoard(449)");
    EXPECT_EQ(*c.thread_id, platform::CurrentThreadId());
}

TEST(LogSvcTarget, NoReceiverListening_TheLogCallStillReturns) {
    // Port 9 on the loopback has no listener; sending still succeeds for UDP
    // or fails quietly, and the caller never sees it.
    auto target = std::make_shared<nw::basic_logsvc_target>(nw::endpoint{0x7F000001, 9}, true);
    InstalledTarget installed(target);
    const nw::logger_ptr root = nw::basic_logger::make_root("GDRVM");
    root->state()->set_level_mask(0xFF);
    for (int i = 0; i < 10; ++i)
        EXPECT_NO_THROW(NWLOG(root, nw::level_info, "into the void " << i));
}
