// The service's parts without a process: options, configuration sets, command
// answers and the record line.
#include "CommandHandler.h"
#include "ConfigurationStore.h"
#include "LogServiceProcess.h"
#include "RecordPrinter.h"
#include "ServiceOptions.h"

#include <nwLogging/DatagramHeader.h>
#include <nwLogging/MessageContainer.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/property_tree/json_parser.hpp>

#include <gtest/gtest.h>

#include <sstream>

namespace nw = nwLogging;
using logsvc::CommandHandler;
using logsvc::ConfigurationStore;

namespace {

class ScratchFile {
public:
    explicit ScratchFile(const std::string& text) : path_(directory_.File("config.json")) {
        logsvctest::WriteText(path_, text);
    }
    const std::string& path() const { return path_; }

private:
    const orvtest::TempDir directory_{"logsvc-parts"};
    std::string path_;
};

std::vector<uint8_t> Command(uint16_t command, const std::string& payload, uint16_t id = 0x1234,
                             uint16_t flags = 0) {
    nw::datagram_header header;
    header.magic = nw::command_magic;
    header.flags = flags;
    header.command = command;
    header.request_id = id;
    header.payload_length = static_cast<uint16_t>(payload.size());
    std::vector<uint8_t> bytes(12 + payload.size());
    header.encode(bytes.data());
    std::copy(payload.begin(), payload.end(), bytes.begin() + 12);
    return bytes;
}

struct Reply {
    nw::datagram_header header;
    std::string payload;
};

Reply Decode(const std::vector<uint8_t>& bytes) {
    Reply reply;
    reply.header = nw::datagram_header::decode(bytes.data());
    reply.payload.assign(bytes.begin() + 12, bytes.end());
    return reply;
}

std::string Get(const std::string& json, const char* key) {
    std::istringstream text(json);
    boost::property_tree::ptree tree;
    boost::property_tree::read_json(text, tree);
    return tree.get<std::string>(key);
}

const char* const kSets = R"({
  "GDRVM@orvgrab": {"destination": "file", "level": "debug", "file": "/tmp/grab.log"},
  "GDRVM": {"destination": "logsvc", "level": "info"},
  "*": {"destination": "none", "level": "none"}
})";

} // namespace

TEST(ServiceOptions, DefaultsAndValues) {
    const char* none[] = {"orvlogsvc"};
    const logsvc::ServiceOptions defaults = logsvc::ServiceOptions::Parse(1, none);
    EXPECT_EQ(defaults.blockName, "Global\\nwLogSvcConnectionInfo");
    EXPECT_EQ(defaults.commandPort, 0);
    EXPECT_EQ(defaults.recordPort, 0);
    EXPECT_FALSE(defaults.replaceBlock);
    const char* all[] = {"orvlogsvc", "--config",      "c.json", "--command-port",
                         "5000",      "--record-port", "65535",  "--output",
                         "o.txt",     "--ready-file",  "r",      "--block-name",
                         "b",         "--replace"};
    const logsvc::ServiceOptions options = logsvc::ServiceOptions::Parse(14, all);
    EXPECT_EQ(options.configFile, "c.json");
    EXPECT_EQ(options.commandPort, 5000);
    EXPECT_EQ(options.recordPort, 65535);
    EXPECT_EQ(options.outputFile, "o.txt");
    EXPECT_EQ(options.readyFile, "r");
    EXPECT_EQ(options.blockName, "b");
    EXPECT_TRUE(options.replaceBlock);
}

TEST(ServiceOptions, Refusals) {
    for (std::vector<const char*> argv :
         {std::vector<const char*>{"s", "--command-port", "65536"},
          std::vector<const char*>{"s", "--record-port", "080"},
          std::vector<const char*>{"s", "--record-port", "-1"},
          std::vector<const char*>{"s", "--config"}, std::vector<const char*>{"s", "--verbose"},
          std::vector<const char*>{"s", "--block-name", ""}}) {
        EXPECT_THROW(logsvc::ServiceOptions::Parse(static_cast<int>(argv.size()), argv.data()),
                     std::invalid_argument)
            << argv[1];
    }
}

TEST(ConfigurationStore, ProcessSetThenModuleSetThenDefault) {
    ScratchFile file(kSets);
    const ConfigurationStore store(file.path());
    EXPECT_EQ(store.Lookup("GDRVM", "orvgrab")->get<std::string>("destination"), "file");
    EXPECT_EQ(store.Lookup("GDRVM", "other")->get<std::string>("destination"), "logsvc");
    EXPECT_EQ(store.Lookup("GDRVM", "")->get<std::string>("destination"), "logsvc");
    EXPECT_EQ(store.Lookup("XYZ", "orvgrab")->get<std::string>("destination"), "none");
    EXPECT_EQ(store.Lookup("gdrvm", "")->get<std::string>("destination"), "none")
        << "module names are exact";
}

TEST(ConfigurationStore, UnknownModuleWithoutDefault_Nothing) {
    ScratchFile file(R"({"GDRVM": {"destination": "cout", "level": "all"}})");
    EXPECT_FALSE(ConfigurationStore(file.path()).Lookup("OTHER", "p").has_value());
}

TEST(ConfigurationStore, WithoutFile_EveryModuleLogsToTheService) {
    const ConfigurationStore store;
    const auto set = store.Lookup("ANY", "");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->get<std::string>("destination"), "logsvc");
    EXPECT_EQ(set->get<std::string>("level"), "info");
}

TEST(ConfigurationStore, BadFilesAreRefusedWithAReason) {
    for (const char* text : {"{", R"(["GDRVM"])", R"({"GDRVM": "file"})",
                             R"({"GDRVM": {"destination": {"nested": "x"}}})",
                             R"({"GDRVM": {"levels": ["a", "b"]}})"}) {
        ScratchFile file(text);
        EXPECT_THROW(ConfigurationStore(file.path()).Load(), std::runtime_error) << text;
    }
    EXPECT_THROW(ConfigurationStore("/nonexistent/sets.json").Load(), std::runtime_error);
}

TEST(CommandHandler, GetConfiguration_AcknowledgeWithTheSet) {
    ScratchFile file(kSets);
    const ConfigurationStore store(file.path());
    CommandHandler handler(store);
    const std::vector<uint8_t> request =
        Command(0x0001, R"({"module":"GDRVM","process":"orvgrab"})", 0xBEEF);
    const CommandHandler::Outcome outcome = handler.Handle(request.data(), request.size());
    ASSERT_TRUE(outcome.reply);
    const Reply reply = Decode(*outcome.reply);
    EXPECT_EQ(reply.header.magic, 0xACCA);
    EXPECT_EQ(reply.header.flags, 0);
    EXPECT_EQ(reply.header.command, 0x8001);
    EXPECT_EQ(reply.header.status, 0);
    EXPECT_EQ(reply.header.request_id, 0xBEEF);
    EXPECT_EQ(reply.header.payload_length, reply.payload.size());
    EXPECT_EQ(Get(reply.payload, "file"), "/tmp/grab.log");
    EXPECT_NE(outcome.note.find("GDRVM (process orvgrab)"), std::string::npos);
}

TEST(CommandHandler, NegativeAcknowledges) {
    ScratchFile file(R"({"GDRVM": {"destination": "cout", "level": "all"},
                         "BIG": {"destination": "file", "level": "all", "file": ")" +
                     std::string(1400, 'f') + R"("}})");
    const ConfigurationStore store(file.path());
    CommandHandler handler(store);
    auto status = [&](const std::vector<uint8_t>& request) {
        const CommandHandler::Outcome outcome = handler.Handle(request.data(), request.size());
        return outcome.reply ? Decode(*outcome.reply).header.status : uint16_t{0xFFFF};
    };
    EXPECT_EQ(status(Command(0x0001, R"({"module":"OTHER"})")), logsvc::AckUnknownModule);
    EXPECT_EQ(status(Command(0x0001, R"({"process":"x"})")), logsvc::AckBadRequest);
    EXPECT_EQ(status(Command(0x0001, "not json")), logsvc::AckBadRequest);
    EXPECT_EQ(status(Command(0x0001, R"({"module":"GDRVM"})", 1, 4)), logsvc::AckBadRequest);
    EXPECT_EQ(status(Command(0x0001, R"({"module":"BIG"})")), logsvc::AckAnswerTooLong);
    EXPECT_EQ(status(Command(0x0077, "")), logsvc::AckUnknownCommand);
    EXPECT_EQ(status(Command(0x0001, R"({"module":"GDRVM"})")), logsvc::AckOk);
}

TEST(CommandHandler, UnreadableConfiguration_NegativeAcknowledge) {
    ScratchFile file("{ broken");
    const ConfigurationStore store(file.path());
    CommandHandler handler(store);
    const std::vector<uint8_t> request = Command(0x0001, R"({"module":"GDRVM"})");
    const CommandHandler::Outcome outcome = handler.Handle(request.data(), request.size());
    ASSERT_TRUE(outcome.reply);
    EXPECT_EQ(Decode(*outcome.reply).header.status, logsvc::AckConfigurationUnreadable);
}

TEST(CommandHandler, DatagramsThatAreNotCommands_GetNoAnswer) {
    const ConfigurationStore store;
    CommandHandler handler(store);
    std::vector<uint8_t> request = Command(0x0001, R"({"module":"GDRVM"})");
    EXPECT_FALSE(handler.Handle(request.data(), 11).reply) << "shorter than a header";
    EXPECT_FALSE(handler.Handle(request.data(), request.size() - 1).reply) << "length mismatch";
    EXPECT_FALSE(handler.Handle(request.data(), request.size(), true).reply) << "cut";
    std::vector<uint8_t> record = request;
    record[0] = 0xDA;
    record[1] = 0xAD;
    EXPECT_FALSE(handler.Handle(record.data(), record.size()).reply) << "a record";
    const std::vector<uint8_t> ack = Command(0x8001, "");
    EXPECT_FALSE(handler.Handle(ack.data(), ack.size()).reply) << "an acknowledge";
}

TEST(CommandHandler, SetDescription_StoredPerModule) {
    const ConfigurationStore store;
    CommandHandler handler(store);
    const std::vector<uint8_t> request =
        Command(0x0041, R"({"module":"GDRVM","description":"frame grabbers"})", 7);
    const CommandHandler::Outcome outcome = handler.Handle(request.data(), request.size());
    ASSERT_TRUE(outcome.reply);
    const Reply reply = Decode(*outcome.reply);
    EXPECT_EQ(reply.header.command, 0x8041);
    EXPECT_EQ(reply.header.status, 0);
    EXPECT_EQ(reply.header.request_id, 7);
    EXPECT_EQ(reply.payload, "");
    EXPECT_EQ(handler.Descriptions().at("GDRVM"), "frame grabbers");
}

TEST(RecordPrinter, LineWithEveryField) {
    nw::basic_timed_msgstate record;
    record.level = nw::level_warn;
    record.logger_name = "GDRVM.board";
    record.location = "DriverBoard(449)";
    record.group = 5;
    record.group_name = "acq";
    record.thread_id = 99;
    record.timestamp = boost::posix_time::ptime(boost::gregorian::date(2021, 3, 3),
                                                boost::posix_time::time_duration(8, 5, 7));
    const std::string text = "\tBoard = 0\tline one\nline two\x01";
    std::vector<uint8_t> datagram(1400);
    nw::container_source source;
    source.record = &record;
    source.text_begin = text.data();
    source.text_end = text.data() + text.size();
    source.process_id = 4242;
    const std::size_t length = nw::build_message_container(datagram.data() + 12, 1388, 3,
                                                           nw::item_pattern::plain(true), source);
    nw::datagram_header header;
    header.magic = nw::record_magic;
    header.flags = 1;
    header.command = nw::command_record;
    header.payload_length = static_cast<uint16_t>(length);
    header.encode(datagram.data());
    datagram.resize(12 + length);

    const std::string line = logsvc::RecordPrinter::Format(
        logsvc::RecordPrinter::Decode(datagram.data(), datagram.size()));
    EXPECT_EQ(line, "2021-Mar-03 08:05:07 GDRVM.board [acq|warn] pid=4242 tid=99 "
                    "loc=DriverBoard(449) seq=3 | \tBoard = 0\tline one\\nline two\\x01");

    std::vector<uint8_t> wrong = datagram;
    wrong[2] = 0; // without the record flag
    EXPECT_THROW(logsvc::RecordPrinter::Decode(wrong.data(), wrong.size()), std::runtime_error);
    EXPECT_THROW(logsvc::RecordPrinter::Decode(datagram.data(), datagram.size() - 1),
                 std::runtime_error);
    EXPECT_THROW(logsvc::RecordPrinter::Decode(datagram.data(), datagram.size(), true),
                 std::runtime_error);
}

TEST(RecordPrinter, MissingItemsAndFlags) {
    nw::decoded_container container;
    container.sequence = 1;
    container.flags = nw::container_items_dropped | nw::container_text_truncated;
    container.level = nw::level_info;
    container.text = "cut";
    EXPECT_EQ(logsvc::RecordPrinter::Format(container),
              "- [info] pid=- tid=- seq=1 dropped truncated | cut");
}
