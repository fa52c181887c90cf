#include <nwLogging/SystemError.h>

#include <system_error>

namespace nwLogging {

system_error::system_error(int code) : std::runtime_error(message_for(code)), code_(code) {}

std::string system_error::message_for(int code) {
    std::string text;
    try {
        text = std::system_category().message(code);
    } catch (...) {
        text.clear();
    }
    // glibc answers "Unknown error <n>" for codes it has no text for.
    if (text.empty() || text.rfind("Unknown error", 0) == 0)
        return "Error " + std::to_string(code);
    return text;
}

} // namespace nwLogging
