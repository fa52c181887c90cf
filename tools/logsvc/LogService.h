#pragma once
// The log service: its two UDP endpoints on 127.0.0.1, the shared-memory
// connection record that tells modules where they are, and the loops that
// answer commands and print records.

#include "CommandHandler.h"
#include "ConfigurationStore.h"
#include "OutputSink.h"
#include "ServiceOptions.h"

#include <nwLogging/Endpoint.h>

#include <platform/SharedMemoryBlock.h>
#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

#include <functional>
#include <string>

namespace logsvc {

/// Construction binds the sockets, publishes the connection record and writes
/// the ready file; destruction withdraws the record (marks it invalid, then
/// removes the block) and removes the ready file. Run() serves until asked to
/// stop. Not copyable.
class LogService {
public:
    /// std::runtime_error with a one-line reason when any step fails.
    explicit LogService(const ServiceOptions& options);
    ~LogService();
    LogService(const LogService&) = delete;
    LogService& operator=(const LogService&) = delete;

    nwLogging::endpoint CommandEndpoint() const { return command_; }
    nwLogging::endpoint RecordEndpoint() const { return records_; }
    const CommandHandler& Handler() const { return handler_; }

    /// Answers commands on this thread and prints records on a second one,
    /// until `stopRequested` answers true (it is asked at least every 100 ms).
    void Run(const std::function<bool()>& stopRequested);

private:
    void ServeCommands(const std::function<bool()>& stopRequested);
    void ServeRecords(const std::function<bool()>& stopRequested);
    void Publish();
    void WriteReadyFile() const;
    static void Note(const std::string& text);

    ServiceOptions options_;
    ConfigurationStore store_;
    CommandHandler handler_;
    OutputSink output_;
    platform::SocketLibrary library_;
    platform::UdpSocket commandSocket_;
    platform::UdpSocket recordSocket_;
    nwLogging::endpoint command_;
    nwLogging::endpoint records_;
    platform::SharedMemoryBlock block_;
};

} // namespace logsvc
