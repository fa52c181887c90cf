#include <platform/Console.h>

#include "FdIo.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

bool HasConsole() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool AllocateConsole() {
    return false;
}

bool AttachParentConsole() {
    return HasConsole();
}

std::error_code SetConsoleTitle(const std::string& title, int fd) {
    if (::isatty(fd) != 1)
        return std::error_code(ENOTTY, std::system_category());
    // A control character in the title could end the sequence early and inject another.
    std::string sequence = "\x1b]0;";
    for (char c : title) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F)
            sequence += c;
    }
    sequence += '\x07';
    posix::WriteOutcome outcome = posix::WriteAll(fd, sequence.data(), sequence.size());
    if (outcome.complete)
        return {};
    return outcome.error ? outcome.error : std::error_code(EIO, std::system_category());
}

ConsoleWriteResult WriteConsoleLine(const std::string& text, uint16_t attribute, int fd,
                                    bool colours) {
    std::string line;
    if (colours)
        line = ConsoleColourSequence(attribute) + text + kConsoleColourReset + "\n";
    else
        line = text + "\n";
    posix::WriteOutcome outcome = posix::WriteAll(fd, line.data(), line.size());
    ConsoleWriteResult result;
    result.written = outcome.written;
    result.complete = outcome.complete;
    result.error = outcome.error;
    return result;
}

} // namespace platform
