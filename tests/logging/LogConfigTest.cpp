// Reading a module's configuration set: required keys, defaults, words.
#include <nwLogging/LogConfig.h>
#include <nwLogging/LogSvcError.h>

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace nw = nwLogging;

namespace {

boost::property_tree::ptree Set(const std::string& json) {
    std::istringstream text(json);
    boost::property_tree::ptree set;
    boost::property_tree::read_json(text, set);
    return set;
}

std::string ErrorText(const std::string& json) {
    try {
        nw::log_config::read(Set(json));
    } catch (const nw::LogSvcError& e) {
        return e.what();
    }
    return "<no LogSvcError>";
}

const std::string missing = "The configuration set does not contain the requested parameter";

} // namespace

TEST(LogConfig, DestinationAndLevelAreRequired) {
    EXPECT_EQ(ErrorText(R"({"level": "info"})"), missing);
    EXPECT_EQ(ErrorText(R"({"destination": "cout"})"), missing);
    EXPECT_EQ(ErrorText(R"({})"), missing);
}

TEST(LogConfig, FileNeedsItsPath) {
    EXPECT_EQ(ErrorText(R"({"destination": "file", "level": "info"})"), missing);
    const nw::log_config config = nw::log_config::read(
        Set(R"({"destination": "file", "level": "warn", "file": "/x/y.log"})"));
    EXPECT_EQ(config.target, nw::destination::file);
    EXPECT_EQ(config.level_mask, 7u);
    EXPECT_EQ(config.file, "/x/y.log");
}

TEST(LogConfig, LogServiceDefaults_ServiceReceiverAndThreadIds) {
    const nw::log_config config =
        nw::log_config::read(Set(R"({"destination": "logsvc", "level": "0x1F"})"));
    EXPECT_EQ(config.target, nw::destination::logsvc);
    EXPECT_EQ(config.level_mask, 31u);
    EXPECT_EQ(config.sockaddr, "");
    EXPECT_TRUE(config.thread_id);
}

TEST(LogConfig, LogServiceKeys) {
    const nw::log_config config = nw::log_config::read(Set(
        R"({"destination": "logsvc", "level": "all", "sockaddr": "127.0.0.1:5000", "thread_id": "off"})"));
    EXPECT_EQ(config.sockaddr, "127.0.0.1:5000");
    EXPECT_FALSE(config.thread_id);
    EXPECT_EQ(ErrorText(R"({"destination": "logsvc", "level": "all", "thread_id": "maybe"})"),
              "Unrecognized boolean value string specified: maybe");
}

TEST(LogConfig, KeysOfOtherDestinationsAreNotRead) {
    const nw::log_config config = nw::log_config::read(
        Set(R"({"destination": "cout", "level": "err", "thread_id": "maybe", "sockaddr": "x"})"));
    EXPECT_EQ(config.target, nw::destination::cout);
    EXPECT_EQ(config.level_mask, 3u);
    EXPECT_EQ(config.sockaddr, "");
    EXPECT_EQ(config.file, "");
}

TEST(LogConfig, BadWordsRaiseTheirOwnErrors) {
    EXPECT_EQ(ErrorText(R"({"destination": "printer", "level": "info"})"),
              "Unknown log destination specified: printer");
    EXPECT_EQ(ErrorText(R"({"destination": "none", "level": "loud"})"),
              "Unknown log level specified: loud");
}

TEST(LogConfig, AnObjectWhereAWordBelongs_IsAnUnexpectedFailure) {
    EXPECT_EQ(ErrorText(R"({"destination": {"kind": "file"}, "level": "info"})"),
              "Unexpected failure when accessing the log config property tree");
}

TEST(LogConfig, DottedKeysAreNotPaths) {
    // "destination" must be a key of the set itself, not reached through a path.
    EXPECT_EQ(ErrorText(R"({"a": {"destination": "cout"}, "level": "info"})"), missing);
}
