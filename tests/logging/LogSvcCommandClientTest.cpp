// The command exchange against a scripted peer: requests, draining, attempts,
// the sender check and every acknowledge check with its text.
#include "FakePeer.h"

#include <nwLogging/LogSvcCommandClient.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcRequests.h>

#include <platform/Process.h>

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <thread>

namespace nw = nwLogging;
using peertest::Acknowledge;
using peertest::Datagram;
using peertest::FakePeer;

namespace {

boost::property_tree::ptree Json(const std::string& text) {
    std::istringstream stream(text);
    boost::property_tree::ptree tree;
    boost::property_tree::read_json(stream, tree);
    return tree;
}

const std::string kSet = R"({"destination":"cout","level":"info"})";

// The peer's script: answer the next request with kSet and keep it in `request`.
auto AnswerWithSet(FakePeer& peer, std::optional<Datagram>& request) {
    return [&peer, &request] {
        request = peer.Receive();
        if (request)
            peer.Send(Acknowledge(*request, 0, kSet), request->from);
    };
}

// Answers the first request with `reply(request)` and returns the request.
std::string ErrorOfGetConfiguration(std::function<std::vector<uint8_t>(const Datagram&)> reply) {
    FakePeer peer;
    peertest::ScriptThread script([&] {
        if (std::optional<Datagram> request = peer.Receive())
            peer.Send(reply(*request), request->from);
    });
    std::string text = "<no LogSvcError>";
    try {
        nw::logsvc_command_client client(peer.Endpoint());
        client.get_configuration("GDRVM", {});
    } catch (const nw::LogSvcError& e) {
        text = e.what();
    }
    script.join();
    return text;
}

nw::datagram_header AckHeader(const Datagram& request, uint16_t payloadLength) {
    nw::datagram_header header;
    header.magic = nw::command_magic;
    header.command = static_cast<uint16_t>(request.Header().command | nw::acknowledge_bit);
    header.request_id = request.Header().request_id;
    header.payload_length = payloadLength;
    return header;
}

const std::string malformed = "Received malformed acknowledge packet";
const std::string mismatched = "The received acknowledge does not match the actual request";

} // namespace

TEST(LogSvcCommandClient, GetConfiguration_RequestAndAnswer) {
    FakePeer peer;
    std::optional<Datagram> request;
    peertest::ScriptThread script(AnswerWithSet(peer, request));
    nw::logsvc_command_client client(peer.Endpoint());
    const boost::property_tree::ptree set = client.get_configuration("GDRVM", {{"site", "lab"}});
    script.join();
    EXPECT_EQ(set.get<std::string>("destination"), "cout");
    EXPECT_EQ(set.get<std::string>("level"), "info");

    ASSERT_TRUE(request);
    const nw::datagram_header header = request->Header();
    EXPECT_EQ(header.magic, 0xACCA);
    EXPECT_EQ(header.flags, 0);
    EXPECT_EQ(header.command, 0x0001);
    EXPECT_EQ(header.status, 0);
    EXPECT_EQ(header.payload_length, request->bytes.size() - 12);
    const boost::property_tree::ptree keys = Json(request->Payload());
    EXPECT_EQ(keys.get<std::string>("module"), "GDRVM");
    EXPECT_EQ(keys.get<std::string>("process"), platform::ExecutableName());
    EXPECT_EQ(keys.get<std::string>("site"), "lab");
    EXPECT_EQ(keys.size(), 3u);
}

TEST(LogSvcCommandClient, ProcessName_IsTheExecutableWithoutDirectoryAndExtension) {
    EXPECT_EQ(nw::current_process_name(), "logging_tests");
}

TEST(LogSvcCommandClient, AttributesNeverReplaceModuleOrProcess) {
    const boost::property_tree::ptree keys = Json(nw::get_configuration_payload(
        "GDRVM", {{"module", "other"}, {"process", "fake"}, {"a.b", "dotted"}}));
    EXPECT_EQ(keys.get<std::string>("module"), "GDRVM");
    EXPECT_EQ(keys.get<std::string>("process"), platform::ExecutableName());
    EXPECT_EQ(keys.find("a.b")->second.data(), "dotted") << "a key, not a path";
    EXPECT_EQ(keys.size(), 3u);
}

TEST(LogSvcCommandClient, SocketIsNonBlockingWithLargeBuffers) {
    FakePeer peer;
    nw::logsvc_command_client client(peer.Endpoint());
    platform::UdpSocket& socket = client.socket().socket();
    uint8_t byte = 0;
    EXPECT_EQ(socket.ReceiveFrom(&byte, 1).status, platform::IoStatus::WouldBlock);
    EXPECT_GE(socket.ReceiveBufferSize(), nw::logsvc_socket::buffer_size);
    EXPECT_GE(socket.SendBufferSize(), nw::logsvc_socket::buffer_size);
    client.close();
    EXPECT_FALSE(client.socket().is_open());
}

TEST(LogSvcCommandClient, AcknowledgeWithoutBit15_DoesNotMatch) {
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.command = request.Header().command;
                  return peertest::Raw(header, "");
              }),
              mismatched);
}

TEST(LogSvcCommandClient, AcknowledgeOfAnotherCommand_DoesNotMatch) {
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.command = 0x8041;
                  return peertest::Raw(header, "");
              }),
              mismatched);
}

TEST(LogSvcCommandClient, AcknowledgeWithAnotherRequestId_DoesNotMatch) {
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.request_id = static_cast<uint16_t>(header.request_id + 1);
                  return peertest::Raw(header, "");
              }),
              mismatched);
}

TEST(LogSvcCommandClient, MalformedAcknowledges) {
    // Another magic.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.magic = nw::record_magic;
                  return peertest::Raw(header, "");
              }),
              malformed);
    // A length field above the largest payload.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  return peertest::Raw(AckHeader(request, 1389), "{}");
              }),
              malformed);
    // A length field that does not describe the datagram.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  return peertest::Raw(AckHeader(request, 10), kSet);
              }),
              malformed);
    // Shorter than a header.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  std::vector<uint8_t> bytes = Acknowledge(request, 0, "");
                  bytes.resize(8);
                  return bytes;
              }),
              malformed);
}

TEST(LogSvcCommandClient, AcknowledgeLongerThanAnyDatagram_IsMalformedNotCut) {
    // 12 + 1488 bytes: the client reads 1400 of them, which agree with a length
    // field of 1388; only the cut shows that the rest is missing.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  std::vector<uint8_t> bytes = peertest::Raw(
                      AckHeader(request, 1388), "{\"a\":\"" + std::string(1480, 'x') + "\"}");
                  return bytes;
              }),
              malformed);
}

TEST(LogSvcCommandClient, AcknowledgeWithFlags_Unsupported) {
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.flags = 1;
                  return peertest::Raw(header, "");
              }),
              "The received acknowledge contains unsupported flags");
}

TEST(LogSvcCommandClient, NegativeAcknowledge) {
    EXPECT_EQ(ErrorOfGetConfiguration(
                  [](const Datagram& request) { return Acknowledge(request, 1, ""); }),
              "The command was not successful (negative acknowledge received)");
}

TEST(LogSvcCommandClient, ChecksComeInOrder) {
    // Mismatched and flagged and negative: the mismatch is reported.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.request_id = static_cast<uint16_t>(header.request_id ^ 0x8000);
                  header.flags = 2;
                  header.status = 7;
                  return peertest::Raw(header, "");
              }),
              mismatched);
    // Flagged and negative: the flags are reported.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 0);
                  header.flags = 2;
                  header.status = 7;
                  return peertest::Raw(header, "");
              }),
              "The received acknowledge contains unsupported flags");
    // Malformed and mismatched: malformed.
    EXPECT_EQ(ErrorOfGetConfiguration([](const Datagram& request) {
                  nw::datagram_header header = AckHeader(request, 3);
                  header.command = 1;
                  return peertest::Raw(header, "");
              }),
              malformed);
}

TEST(LogSvcCommandClient, AnswerThatIsNotJson_CannotBeDeserialized) {
    EXPECT_EQ(ErrorOfGetConfiguration(
                  [](const Datagram& request) { return Acknowledge(request, 0, "level=info"); }),
              "Failed to deserialize the configuration set");
}

TEST(LogSvcCommandClient, NoAnswer_TwoAttemptsThenFailure) {
    FakePeer peer;
    std::vector<Datagram> requests;
    peertest::ScriptThread script([&] {
        // Both attempts arrive within their 500 ms waits; a third never comes.
        for (int i = 0; i < 2; ++i) {
            if (std::optional<Datagram> request = peer.Receive())
                requests.push_back(*request);
        }
    });
    std::string text;
    try {
        nw::logsvc_command_client client(peer.Endpoint());
        client.get_configuration("GDRVM", {});
    } catch (const nw::LogSvcError& e) {
        text = e.what();
    }
    script.join();
    EXPECT_EQ(text, "Log client command execution failure when communicating with the server.");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].bytes, requests[1].bytes) << "the same request again";
    EXPECT_FALSE(peer.Receive(0)) << "no third attempt";
}

TEST(LogSvcCommandClient, ReplyFromAnotherPort_IgnoredAndTheRequestRepeatedOnce) {
    FakePeer peer;
    FakePeer impostor; // same address, another port
    std::vector<Datagram> requests;
    peertest::ScriptThread script([&] {
        std::optional<Datagram> first = peer.Receive();
        if (!first)
            return;
        requests.push_back(*first);
        impostor.Send(Acknowledge(*first, 0, R"({"destination":"file","level":"all"})"),
                      first->from);
        std::optional<Datagram> second = peer.Receive();
        if (!second)
            return;
        requests.push_back(*second);
        peer.Send(Acknowledge(*second, 0, kSet), second->from);
    });
    nw::logsvc_command_client client(peer.Endpoint());
    const boost::property_tree::ptree set = client.get_configuration("GDRVM", {});
    script.join();
    EXPECT_EQ(set.get<std::string>("destination"), "cout") << "the impostor's set was taken";
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].bytes, requests[1].bytes);
}

TEST(LogSvcCommandClient, StaleAcknowledgeWaiting_IsDiscardedBeforeTheCommand) {
    FakePeer peer;
    nw::logsvc_command_client client(peer.Endpoint());
    std::optional<Datagram> old;
    peertest::ScriptThread first(AnswerWithSet(peer, old));
    client.get_configuration("GDRVM", {});
    first.join();
    ASSERT_TRUE(old);

    // A late duplicate of the old answer is waiting when the next command starts.
    peer.Send(Acknowledge(*old, 0, R"({"destination":"stale","level":"all"})"), old->from);
    ASSERT_EQ(client.socket().socket().WaitReadable(10000).status, platform::WaitStatus::Ready);
    std::optional<Datagram> answered;
    peertest::ScriptThread second(AnswerWithSet(peer, answered));
    const boost::property_tree::ptree set = client.get_configuration("GDRVM", {});
    second.join();
    EXPECT_EQ(set.get<std::string>("destination"), "cout");
}

TEST(LogSvcCommandClient, StaleDatagramLongerThanTheDrainBuffer_IsDiscardedToo) {
    FakePeer peer;
    nw::logsvc_command_client client(peer.Endpoint());
    std::optional<Datagram> old;
    peertest::ScriptThread first(AnswerWithSet(peer, old));
    client.get_configuration("GDRVM", {});
    first.join();
    ASSERT_TRUE(old);

    peer.Send(std::vector<uint8_t>(1300, 0x5A), old->from);
    ASSERT_EQ(client.socket().socket().WaitReadable(10000).status, platform::WaitStatus::Ready);
    std::optional<Datagram> answered;
    peertest::ScriptThread second(AnswerWithSet(peer, answered));
    EXPECT_EQ(client.get_configuration("GDRVM", {}).get<std::string>("level"), "info");
    second.join();
}

TEST(LogSvcCommandClient, ConfigurationRequestTooLong_IsRefusedBeforeSending) {
    FakePeer peer;
    nw::logsvc_command_client client(peer.Endpoint());
    try {
        client.get_configuration(std::string(1400, 'M'), {});
        ADD_FAILURE() << "sent";
    } catch (const nw::LogSvcError& e) {
        EXPECT_STREQ(e.what(), "The log configuration attribute list is too long");
    }
    try {
        client.get_configuration("GDRVM", {{"note", std::string(1380, 'n')}});
        ADD_FAILURE() << "sent";
    } catch (const nw::LogSvcError& e) {
        EXPECT_STREQ(e.what(), "The log configuration attribute list is too long");
    }
    EXPECT_FALSE(peer.Receive(0));
}

TEST(LogSvcCommandClient, SetDescription_SendsModuleAndDescription) {
    FakePeer peer;
    std::optional<Datagram> request;
    peertest::ScriptThread script([&] {
        request = peer.Receive();
        if (request)
            peer.Send(Acknowledge(*request, 0, ""), request->from);
    });
    nw::logsvc_command_client client(peer.Endpoint());
    client.set_description("GDRVM", "Silicon Software frame grabbers");
    script.join();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Header().command, 0x0041);
    const boost::property_tree::ptree keys = Json(request->Payload());
    EXPECT_EQ(keys.get<std::string>("module"), "GDRVM");
    EXPECT_EQ(keys.get<std::string>("description"), "Silicon Software frame grabbers");
    EXPECT_EQ(keys.size(), 2u);
}

TEST(LogSvcCommandClient, SetDescription_EmptyDescriptionSendsNothing) {
    FakePeer peer;
    nw::logsvc_command_client client(peer.Endpoint());
    std::optional<Datagram> request;
    peertest::ScriptThread script(AnswerWithSet(peer, request));
    client.set_description("GDRVM", "");
    client.get_configuration("GDRVM", {});
    script.join();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Header().command, 0x0001) << "the first datagram is the next command";
}

TEST(LogSvcCommandClient, SetDescription_Refusals) {
    FakePeer peer;
    nw::logsvc_command_client client(peer.Endpoint());
    try {
        client.set_description("", "text");
        ADD_FAILURE();
    } catch (const nw::LogSvcError& e) {
        EXPECT_STREQ(e.what(), "Trying to set description for a module with empty name");
    }
    try {
        client.set_description("GDRVM", std::string(1370, 'd'));
        ADD_FAILURE();
    } catch (const nw::LogSvcError& e) {
        EXPECT_STREQ(e.what(), "The module name/description combination is too long");
    }
    EXPECT_FALSE(peer.Receive(0));
}

TEST(LogSvcCommandClient, SetDescription_NegativeAcknowledgeIsAnError) {
    FakePeer peer;
    peertest::ScriptThread script([&] {
        if (std::optional<Datagram> request = peer.Receive())
            peer.Send(Acknowledge(*request, 3, ""), request->from);
    });
    nw::logsvc_command_client client(peer.Endpoint());
    EXPECT_THROW(client.set_description("GDRVM", "d"), nw::LogSvcError);
    script.join();
}
