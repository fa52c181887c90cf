#include <platform/Console.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

// The two ends of a pipe, closed on destruction.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        read = fds[0];
        write = fds[1];
    }
    ~Pipe() {
        if (read >= 0)
            ::close(read);
        if (write >= 0)
            ::close(write);
    }
    void CloseWrite() {
        ::close(write);
        write = -1;
    }
    std::string ReadAll() {
        CloseWrite();
        return ReadToEnd();
    }
    std::string ReadToEnd() {
        std::string text;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(read, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<size_t>(n));
        return text;
    }
};

// A pseudo-terminal: a real terminal device for the console functions.
struct PseudoTerminal {
    int master = -1;
    int slave = -1;
    PseudoTerminal() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            throw std::runtime_error("pty");
        slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0)
            throw std::runtime_error("pty slave");
    }
    ~PseudoTerminal() {
        ::close(slave);
        ::close(master);
    }
    // Reads what the terminal shows until `count` bytes arrived (or a generous bound).
    std::string Read(size_t count) {
        std::string text;
        char buffer[256];
        while (text.size() < count) {
            pollfd entry{master, POLLIN, 0};
            if (::poll(&entry, 1, 10000) <= 0)
                break;
            ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }
};

// Puts `fd` in place of standard output while alive.
struct StdoutSwap {
    int saved;
    explicit StdoutSwap(int fd) : saved(::dup(STDOUT_FILENO)) { ::dup2(fd, STDOUT_FILENO); }
    ~StdoutSwap() {
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
    }
};

} // namespace

TEST(ConsoleTest, WriteConsoleLine_ColourTextResetAndLineFeed) {
    Pipe pipe;
    ConsoleWriteResult result = WriteConsoleLine("disk full", kConsoleLightRed, pipe.write);
    EXPECT_TRUE(result.complete);
    const std::string expected = "\x1b[91;49mdisk full\x1b[0m\n";
    EXPECT_EQ(result.written, expected.size());
    EXPECT_EQ(pipe.ReadAll(), expected);
}

TEST(ConsoleTest, WriteConsoleLine_LongLine_IsWrittenWhole) {
    // Larger than a pipe's buffer: several writes are needed while a reader drains.
    Pipe pipe;
    const std::string text(300000, 'q');
    std::string received;
    std::thread reader([&] { received = pipe.ReadToEnd(); });
    ConsoleWriteResult result = WriteConsoleLine(text, kConsoleWhite, pipe.write);
    EXPECT_TRUE(result.complete);
    pipe.CloseWrite();
    reader.join();
    EXPECT_EQ(received, ConsoleColourSequence(kConsoleWhite) + text + "\x1b[0m\n");
}

TEST(ConsoleTest, WriteConsoleLine_StreamStopsAccepting_ReportsIncomplete) {
    Pipe pipe;
    ASSERT_EQ(::fcntl(pipe.write, F_SETFL, O_NONBLOCK), 0);
    ConsoleWriteResult result =
        WriteConsoleLine(std::string(1 << 20, 'x'), kConsoleWhite, pipe.write);
    EXPECT_FALSE(result.complete);
    EXPECT_GT(result.written, 0u);
    EXPECT_EQ(result.error.value(), EAGAIN);
}

TEST(ConsoleTest, SetConsoleTitle_NotATerminal_FailsWithNoTty) {
    Pipe pipe;
    EXPECT_EQ(SetConsoleTitle("GDRVM", pipe.write).value(), ENOTTY);
    EXPECT_EQ(pipe.ReadAll(), "");
}

TEST(ConsoleTest, SetConsoleTitle_Terminal_SendsTitleSequenceWithoutControls) {
    PseudoTerminal terminal;
    EXPECT_FALSE(SetConsoleTitle("GDRVM\x07\x1b]0;evil\n log", terminal.slave));
    const std::string expected = "\x1b]0;GDRVM]0;evil log\x07";
    EXPECT_EQ(terminal.Read(expected.size()), expected);
}

TEST(ConsoleTest, HasConsole_FollowsWhatStandardOutputIs) {
    EXPECT_FALSE(AllocateConsole());
    {
        Pipe pipe;
        StdoutSwap swap(pipe.write);
        EXPECT_FALSE(HasConsole());
        EXPECT_FALSE(AttachParentConsole());
    }
    {
        PseudoTerminal terminal;
        StdoutSwap swap(terminal.slave);
        EXPECT_TRUE(HasConsole());
        EXPECT_TRUE(AttachParentConsole());
    }
}
