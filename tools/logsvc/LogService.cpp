#include "LogService.h"
#include "DropCounter.h"
#include "RecordPrinter.h"

#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/DatagramHeader.h>

#include <platform/Ipv4Address.h>
#include <platform/Process.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <thread>

namespace logsvc {

namespace {

constexpr int PollMilliseconds = 100;
// Larger than any datagram the protocol allows, so an oversized one shows as cut.
constexpr std::size_t ReceiveBufferSize = 2048;
// Datagrams handled between two looks at the stop request; each takes
// microseconds, so a stop is seen well within 100 ms under any load.
constexpr unsigned DatagramsPerStopCheck = 64;

platform::UdpSocket BindLoopback(uint16_t port, const char* what, nwLogging::endpoint* bound) {
    std::error_code error;
    platform::UdpSocket socket = platform::UdpSocket::Open(&error);
    if (!socket)
        throw std::runtime_error(std::string("cannot open the ") + what +
                                 " socket: " + error.message());
    error = socket.Bind(platform::kIpv4Loopback, port);
    if (error)
        throw std::runtime_error(std::string("cannot bind the ") + what + " socket to 127.0.0.1:" +
                                 std::to_string(port) + ": " + error.message());
    socket.SetReceiveBufferSize(1 << 20); // bursts of records from busy modules
    // Reads follow a readiness test; non-blocking keeps a vanished datagram
    // from stalling the loop.
    socket.SetNonBlocking(true);
    bound->address = platform::kIpv4Loopback;
    error = socket.LocalAddress(nullptr, &bound->port);
    if (error)
        throw std::runtime_error(std::string("cannot read the ") + what +
                                 " socket's port: " + error.message());
    return socket;
}

} // namespace

LogService::LogService(const ServiceOptions& options)
    : options_(options), store_(options.configFile), handler_(store_), output_(options.outputFile) {
    // A configuration file that cannot be used is a mistake to report now,
    // not at the first module's request.
    store_.Load();
    uint16_t granted = 0;
    int32_t result = 0;
    library_ = platform::SocketLibrary::Start(platform::kSocketVersion22, &granted, &result);
    if (!library_)
        throw std::runtime_error("cannot start the socket library (" + std::to_string(result) +
                                 ")");
    commandSocket_ = BindLoopback(options.commandPort, "command", &command_);
    recordSocket_ = BindLoopback(options.recordPort, "record", &records_);
    output_.Open();
    Publish();
    WriteReadyFile();
}

LogService::~LogService() {
    if (block_) {
        // Readers that look before the block is gone see it withdrawn.
        const uint32_t invalid = 0;
        block_.Write(4, &invalid, sizeof invalid);
        block_.reset();
    }
    if (!options_.readyFile.empty())
        std::remove(options_.readyFile.c_str());
}

void LogService::Publish() {
    std::string error;
    block_ = platform::SharedMemoryBlock::Create(
        options_.blockName, nwLogging::connection_info_size, &error, options_.replaceBlock);
    if (!block_)
        throw std::runtime_error(
            "cannot create shared-memory block '" + options_.blockName + "': " + error +
            (options_.replaceBlock ? ""
                                   : " (is another log service running? --replace takes "
                                     "over a block left behind)"));
    nwLogging::connection_info info;
    info.valid = 0;
    info.reserved = platform::CurrentProcessId(); // who owns the block, for people looking
    info.command = command_;
    info.records = records_;
    const auto bytes = info.encode();
    block_.Write(0, bytes.data(), bytes.size());
    // Valid only once the endpoints are in place.
    const uint32_t valid = 1;
    block_.Write(4, &valid, sizeof valid);
}

void LogService::WriteReadyFile() const {
    if (options_.readyFile.empty())
        return;
    // Written aside and renamed, so whoever waits for it never reads half.
    const std::string temporary = options_.readyFile + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << "command " << command_.to_string() << "\n"
             << "records " << records_.to_string() << "\n"
             << "pid " << platform::CurrentProcessId() << "\n";
        if (!file)
            throw std::runtime_error("cannot write ready file " + temporary);
    }
    if (std::rename(temporary.c_str(), options_.readyFile.c_str()) != 0)
        throw std::runtime_error("cannot write ready file " + options_.readyFile);
}

void LogService::Note(const std::string& text) {
    std::cerr << "orvlogsvc: " << text << std::endl;
}

void LogService::Run(const std::function<bool()>& stopRequested) {
    Note("listening for commands on " + command_.to_string() + " and records on " +
         records_.to_string() + " (shared memory '" + options_.blockName + "')");
    // Either loop failing ends the other one too.
    std::atomic<bool> failed{false};
    const std::function<bool()> stop = [&] { return failed.load() || stopRequested(); };
    std::exception_ptr recordFailure;
    std::thread records([&] {
        try {
            ServeRecords(stop);
        } catch (...) {
            recordFailure = std::current_exception();
            failed = true;
        }
    });
    try {
        ServeCommands(stop);
    } catch (...) {
        failed = true;
        records.join();
        throw;
    }
    records.join();
    if (recordFailure)
        std::rethrow_exception(recordFailure);
}

void LogService::ServeCommands(const std::function<bool()>& stopRequested) {
    std::array<uint8_t, ReceiveBufferSize> buffer;
    while (!stopRequested()) {
        if (commandSocket_.WaitReadable(PollMilliseconds).status != platform::WaitStatus::Ready)
            continue;
        const platform::ReceiveResult request =
            commandSocket_.ReceiveFrom(buffer.data(), buffer.size());
        if (request.status != platform::IoStatus::Ok)
            continue;
        CommandHandler::Outcome outcome =
            handler_.Handle(buffer.data(), request.bytes, request.truncated);
        const nwLogging::endpoint sender{request.address, request.port};
        if (outcome.reply) {
            const platform::SendResult sent = commandSocket_.SendTo(
                outcome.reply->data(), outcome.reply->size(), sender.address, sender.port);
            if (sent.status != platform::IoStatus::Ok)
                Note("cannot answer " + sender.to_string() + ": " + sent.error.message());
        }
        if (!outcome.note.empty())
            Note(outcome.note + " [" + sender.to_string() + "]");
    }
}

void LogService::ServeRecords(const std::function<bool()>& stopRequested) {
    std::array<uint8_t, ReceiveBufferSize> buffer;
    DropCounter drops;
    while (!stopRequested()) {
        drops.Report(&LogService::Note);
        if (recordSocket_.WaitReadable(PollMilliseconds).status != platform::WaitStatus::Ready)
            continue;
        // Everything waiting, but a steady stream must not keep a stop request
        // waiting: the request is asked again every few datagrams.
        for (unsigned received = 0;; ++received) {
            if (received % DatagramsPerStopCheck == DatagramsPerStopCheck - 1) {
                drops.Report(&LogService::Note);
                if (stopRequested())
                    break;
            }
            const platform::ReceiveResult datagram =
                recordSocket_.ReceiveFrom(buffer.data(), buffer.size());
            if (datagram.status != platform::IoStatus::Ok)
                break;
            try {
                output_.WriteLine(RecordPrinter::Format(
                    RecordPrinter::Decode(buffer.data(), datagram.bytes, datagram.truncated)));
            } catch (const std::exception& e) {
                drops.Add("from " +
                          nwLogging::endpoint{datagram.address, datagram.port}.to_string() + ": " +
                          e.what());
            }
        }
    }
    drops.Report(&LogService::Note, true);
}

} // namespace logsvc
