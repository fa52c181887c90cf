#include <platform/Console.h>

#include "FdIo.h"

#include <cerrno>
#include <unistd.h>

namespace platform {
namespace {

// Windows attribute bits are blue 1, green 2, red 4; ANSI colour numbers are red 1,
// green 2, blue 4.
int AnsiColourIndex(uint16_t nibble) {
    return ((nibble & 0x4) ? 1 : 0) | ((nibble & 0x2) ? 2 : 0) | ((nibble & 0x1) ? 4 : 0);
}

} // namespace

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

std::string ConsoleColourSequence(uint16_t attribute) {
    const uint16_t foreground = attribute & 0x0F;
    const uint16_t background = (attribute >> 4) & 0x0F;
    const int fg = ((foreground & 0x8) ? 90 : 30) + AnsiColourIndex(foreground);
    int bg = 49; // the terminal's own background, as a Windows console's black one is
    if (background != 0)
        bg = ((background & 0x8) ? 100 : 40) + AnsiColourIndex(background);
    return "\x1b[" + std::to_string(fg) + ";" + std::to_string(bg) + "m";
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
