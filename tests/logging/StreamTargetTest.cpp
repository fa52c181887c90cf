// The standard-output, standard-error and debugger-output targets.
#include "TargetTestSupport.h"
#include "support/TempDir.h"

#include <nwLogging/StdoutTarget.h>
#include <nwLogging/TraceTarget.h>

#include <platform/DebugOutput.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace nw = nwLogging;
using targettest::FixedRecord;

namespace {

#ifdef _WIN32
// Not inherited, and binary: the C run-time would turn "\n" into "\r\n".
constexpr int kPrivateFile = _O_NOINHERIT | _O_BINARY;
#else
constexpr int kPrivateFile = O_CLOEXEC;
#endif

// Points a standard descriptor at a file for the length of a scope.
class Redirect {
public:
    Redirect(int fd, const std::string& path) : fd_(fd), saved_(::dup(fd)) {
        std::fflush(nullptr);
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | kPrivateFile, 0644);
        ::dup2(file, fd_);
        ::close(file);
    }
    ~Redirect() {
        std::fflush(nullptr);
        ::dup2(saved_, fd_);
        ::close(saved_);
    }
    Redirect(const Redirect&) = delete;
    Redirect& operator=(const Redirect&) = delete;

private:
    int fd_;
    int saved_;
};

} // namespace

TEST(StdoutTarget, StandardOutputGetsTheLineAndALineEnd) {
    orvtest::TempDir dir;
    {
        Redirect redirect(STDOUT_FILENO, dir.File("out.txt"));
        nw::basic_stdout_target target(nw::basic_stdout_target::stream::standard_output);
        target.write(FixedRecord(nw::level_info), "to stdout");
        // Flushed by the target: read before the redirect ends.
        EXPECT_EQ(orvtest::ReadFileText(dir.File("out.txt")),
                  "2021-Mar-03 08:05:07.125000 GDRVM [info] to stdout\n");
    }
}

TEST(StdoutTarget, StandardErrorGetsTheLineAndALineEnd) {
    orvtest::TempDir dir;
    {
        Redirect redirect(STDERR_FILENO, dir.File("err.txt"));
        nw::basic_stdout_target target(nw::basic_stdout_target::stream::standard_error);
        EXPECT_EQ(target.which(), nw::basic_stdout_target::stream::standard_error);
        target.write(FixedRecord(nw::level_fatal), "to stderr");
        EXPECT_EQ(orvtest::ReadFileText(dir.File("err.txt")),
                  "2021-Mar-03 08:05:07.125000 GDRVM [fatal] to stderr\n");
    }
}

TEST(StdoutTarget, BothStreamsOnOneFile_LinesNeverInterleave) {
    orvtest::TempDir dir;
    const std::string path = dir.File("both.txt");
    const std::string filler(2000, '=');
    {
        Redirect out(STDOUT_FILENO, path);
        // Standard error appends to the same open file as standard output.
        const int saved = ::dup(STDERR_FILENO);
        ::dup2(STDOUT_FILENO, STDERR_FILENO);
        nw::basic_stdout_target toOut(nw::basic_stdout_target::stream::standard_output);
        nw::basic_stdout_target toErr(nw::basic_stdout_target::stream::standard_error);
        std::thread a([&] {
            for (int i = 0; i < 200; ++i)
                toOut.write(FixedRecord(), "out " + filler);
        });
        std::thread b([&] {
            for (int i = 0; i < 200; ++i)
                toErr.write(FixedRecord(), "err " + filler);
        });
        a.join();
        b.join();
        std::fflush(nullptr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    std::istringstream lines(orvtest::ReadFileText(path));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        const bool whole = line == "2021-Mar-03 08:05:07.125000 GDRVM [err] out " + filler ||
                           line == "2021-Mar-03 08:05:07.125000 GDRVM [err] err " + filler;
        ASSERT_TRUE(whole) << line.substr(0, 80);
    }
    EXPECT_EQ(count, 400);
}

TEST(TraceTarget, TheLineThenALineFeed) {
    std::mutex mutex;
    std::vector<std::string> calls;
    platform::SetDebugOutputHook([&](const std::string& text) {
        std::lock_guard<std::mutex> guard(mutex);
        calls.push_back(text);
    });
    nw::basic_trace_target target;
    target.write(FixedRecord(nw::level_debug, "GDRVM.channel"), "two\nlines");
    platform::SetDebugOutputHook(nullptr);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "2021-Mar-03 08:05:07.125000 GDRVM.channel [debug] two lines");
    EXPECT_EQ(calls[1], "\n");
}
