#include <nwLogging/LogSvcError.h>

namespace nwLogging {

const char* LogSvcError::what() const noexcept {
    return message_.empty() ? "Unknown exception" : message_.c_str();
}

} // namespace nwLogging
