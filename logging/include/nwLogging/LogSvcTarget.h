#pragma once
// Sends each record to the log service as a datagram.

#include <nwLogging/LogSvcRecordClient.h>
#include <nwLogging/Target.h>

namespace nwLogging {

/// Records are sent under the base's mutex, which also guards the client's
/// sequence counters and buffer.
class basic_logsvc_target : public basic_target {
public:
    /// See logsvc_record_client: opens the socket, LogSvcError on failure.
    basic_logsvc_target(endpoint receiver, bool thread_id);

    const endpoint& receiver() const { return client_.receiver(); }
    bool thread_id() const { return client_.thread_id(); }

protected:
    void do_write(const basic_timed_msgstate& record, const std::string& text) override;

private:
    logsvc_record_client client_;
};

} // namespace nwLogging
