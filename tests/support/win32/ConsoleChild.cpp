#include "support/win32/LeanWindows.h"

#include "support/ChildProcess.h"
#include "support/ConsoleChild.h"
#include "support/TempDir.h"

#include <platform/Environment.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

namespace orvtest {
namespace {

const char* const kChildVariable = "ORV_CONSOLE_CHILD";

// The console's screen as C run-time descriptor `fd` and as the system's handle.
bool ScreenOn(int fd, DWORD standardHandle) {
    HANDLE screen =
        ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (screen == INVALID_HANDLE_VALUE)
        return false;
    const int opened = ::_open_osfhandle(reinterpret_cast<intptr_t>(screen), _O_WRONLY | _O_BINARY);
    if (opened < 0) {
        ::CloseHandle(screen);
        return false;
    }
    const bool moved = ::_dup2(opened, fd) == 0;
    ::_close(opened);
    return moved && ::SetStdHandle(standardHandle, reinterpret_cast<HANDLE>(::_get_osfhandle(fd)));
}

} // namespace

bool InConsoleChild() {
    return platform::GetEnv(kChildVariable).has_value();
}

bool ConsoleOnStandardOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    return ScreenOn(1, STD_OUTPUT_HANDLE) && ScreenOn(2, STD_ERROR_HANDLE);
}

TerminalScreen RunThisTestInPseudoConsole() {
    const TempDir scratch("console-child");
    ChildSetup setup = ThisTestAgain();
    setup.outputPath = scratch.File("screen");
    setup.pseudoConsole = true;
    setup.environment = {{kChildVariable, "1"}};
    int status = -1;
    {
        ChildProcess child(setup);
        if (!child.StartError().empty())
            ADD_FAILURE() << "the child did not start: " << child.StartError();
        status = child.Wait();
    }
    TerminalScreen screen(ReadFileText(setup.outputPath));
    if (status != 0)
        ADD_FAILURE() << "the child's part failed (status " << status << "):\n" << screen.Output();
    return screen;
}

} // namespace orvtest
