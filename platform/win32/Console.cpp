#include "WindowsApi.h"

#include <platform/Console.h>

#include "HandleIo.h"
#include "Win32Error.h"

namespace platform {
namespace {

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
