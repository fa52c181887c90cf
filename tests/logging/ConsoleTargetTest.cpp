// The console target on a pseudo-terminal: colours by level, restored after
// each line; no terminal, no output.
#include "TargetTestSupport.h"
#include "support/TempDir.h"

#include <nwLogging/ConsoleTarget.h>
#include <nwLogging/SystemError.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace nw = nwLogging;
using targettest::FixedRecord;

namespace {

// Standard output on the slave side of a raw pseudo-terminal for the length of
// a scope; the test reads what the target wrote from the master side.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        const int slave = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
        if (slave < 0)
            return;
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw); // no "\r\n" for "\n"
        ::tcsetattr(slave, TCSANOW, &raw);
        std::fflush(stdout);
        saved_ = ::dup(STDOUT_FILENO);
        ::dup2(slave, STDOUT_FILENO);
        ::close(slave);
        ok_ = true;
    }
    ~PseudoTerminal() {
        if (saved_ >= 0) {
            ::dup2(saved_, STDOUT_FILENO);
            ::close(saved_);
        }
        if (master_ >= 0)
            ::close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return ok_; }

    /// Reads until `expected` bytes arrived or nothing more comes within 10 s.
    std::string Read(std::size_t expected) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (text.size() < expected && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{master_, POLLIN, 0};
            if (::poll(&entry, 1, 100) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

private:
    int master_ = -1;
    int saved_ = -1;
    bool ok_ = false;
};

} // namespace

TEST(ConsoleTarget, OnATerminal_EachLineInItsLevelColourThenTheDefault) {
    PseudoTerminal terminal;
    ASSERT_TRUE(terminal.ok()) << "no pseudo-terminal: " << std::strerror(errno);
    nw::basic_console_target target;
    ASSERT_TRUE(target.has_console());
    target.write(FixedRecord(nw::level_err), "red");
    target.write(FixedRecord(nw::level_fatal), "alarm");
    target.write(FixedRecord(nw::level_info), "plain");
    const std::string line = "2021-Mar-03 08:05:07.125000 GDRVM ";
    const std::string expected = "\x1b[91;49m" + line + "[err] red\x1b[0m\n" + "\x1b[30;101m" +
                                 line + "[fatal] alarm\x1b[0m\n" + "\x1b[97;49m" + line +
                                 "[info] plain\x1b[0m\n";
    EXPECT_EQ(terminal.Read(expected.size()), expected);
}

TEST(ConsoleTarget, Title_SetOnTheTerminal) {
    PseudoTerminal terminal;
    ASSERT_TRUE(terminal.ok());
    nw::basic_console_target target("GDRVM log");
    target.write(FixedRecord(nw::level_warn), "w");
    const std::string expected = "\x1b]0;GDRVM log\x07\x1b[93;49m"
                                 "2021-Mar-03 08:05:07.125000 GDRVM [warn] w\x1b[0m\n";
    EXPECT_EQ(terminal.Read(expected.size()), expected);
}

TEST(ConsoleTarget, ColoursOff_PlainLines) {
    PseudoTerminal terminal;
    ASSERT_TRUE(terminal.ok());
    nw::basic_console_target target("", 80, 25, true, false);
    target.write(FixedRecord(nw::level_debug), "d");
    const std::string expected = "2021-Mar-03 08:05:07.125000 GDRVM [debug] d\n";
    EXPECT_EQ(terminal.Read(expected.size()), expected);
}

TEST(ConsoleTarget, NoTerminal_WritesNowhere) {
    orvtest::TempDir dir;
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(dir.File("out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
    bool hasConsole = true;
    {
        nw::basic_console_target target;
        hasConsole = target.has_console();
        target.write(FixedRecord(nw::level_err), "lost");
    }
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    EXPECT_FALSE(hasConsole);
    EXPECT_EQ(orvtest::ReadFileText(dir.File("out")), "");
}

TEST(ConsoleTarget, TitleWithoutTerminal_SystemErrorWithTheCode) {
    orvtest::TempDir dir;
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(dir.File("out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
    int code = 0;
    std::string text;
    try {
        nw::basic_console_target target("title");
    } catch (const nw::system_error& e) {
        code = e.code();
        text = e.what();
    }
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    EXPECT_EQ(code, ENOTTY);
    EXPECT_EQ(text, std::strerror(ENOTTY));
}

TEST(SystemError, CodeWithoutSystemText_IsErrorAndTheNumber) {
    const nw::system_error error(987654);
    EXPECT_EQ(error.code(), 987654);
    EXPECT_STREQ(error.what(), "Error 987654");
    EXPECT_EQ(nw::system_error(EACCES).what(), std::string(std::strerror(EACCES)));
}
