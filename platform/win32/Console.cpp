#include "WindowsApi.h"

#include <platform/Console.h>

#include "HandleIo.h"
#include "Win32Error.h"

namespace platform {
namespace {

// Windows attribute bits are blue 1, green 2, red 4; ANSI colour numbers are red 1,
// green 2, blue 4.
int AnsiColourIndex(uint16_t nibble) {
    return ((nibble & 0x4) ? 1 : 0) | ((nibble & 0x2) ? 2 : 0) | ((nibble & 0x1) ? 4 : 0);
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr &&
           ::GetConsoleMode(handle, &mode) != 0;
}

} // namespace

bool HasConsole() {
    return ::GetConsoleWindow() != nullptr;
}

bool AllocateConsole() {
    return ::AllocConsole() != 0;
}

bool AttachParentConsole() {
    return ::AttachConsole(ATTACH_PARENT_PROCESS) != 0 || HasConsole();
}

std::error_code SetConsoleTitle(const std::string& title, int fd) {
    if (!IsConsole(win32::DescriptorHandle(fd)))
        return win32::MakeError(ERROR_INVALID_HANDLE);
    if (!::SetConsoleTitleA(title.c_str()))
        return win32::MakeError(::GetLastError());
    return {};
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
    const HANDLE handle = win32::DescriptorHandle(fd);
    std::string line;
    CONSOLE_SCREEN_BUFFER_INFO previous{};
    // A console takes its colours as attributes; a redirected stream gets the same
    // escape sequences a terminal would.
    const bool attributes =
        colours && IsConsole(handle) && ::GetConsoleScreenBufferInfo(handle, &previous);
    if (colours && !attributes)
        line = ConsoleColourSequence(attribute) + text + kConsoleColourReset + "\n";
    else
        line = text + "\n";
    if (attributes)
        ::SetConsoleTextAttribute(handle, attribute);
    win32::WriteOutcome outcome = win32::WriteAll(handle, line.data(), line.size());
    if (attributes)
        ::SetConsoleTextAttribute(handle, previous.wAttributes);
    ConsoleWriteResult result;
    result.written = outcome.written;
    result.complete = outcome.complete;
    result.error = outcome.error;
    return result;
}

} // namespace platform
