#include <nwLogging/LogSvcTarget.h>

namespace nwLogging {

basic_logsvc_target::basic_logsvc_target(endpoint receiver, bool thread_id)
    : client_(receiver, thread_id) {}

void basic_logsvc_target::do_write(const basic_timed_msgstate& record, const std::string& text) {
    client_.send(record, text);
}

} // namespace nwLogging
