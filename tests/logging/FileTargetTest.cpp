// The file target: the exact line, appending, flushing, refusing a bad path.
#include "TargetTestSupport.h"
#include "support/TempDir.h"

#include <nwLogging/FileTarget.h>

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace nw = nwLogging;
using orvtest::ReadFileText;
using targettest::FixedRecord;

TEST(FileTarget, WritesTheLineAndALineEnd_FlushedAtOnce) {
    orvtest::TempDir dir;
    nw::basic_file_target target(dir.File("module.log"));
    target.write(FixedRecord(nw::level_err), "Board failed");
    // Read while the target is still open: every line is flushed when written.
    EXPECT_EQ(ReadFileText(dir.File("module.log")),
              "2021-Mar-03 08:05:07.125000 GDRVM [err] Board failed\n");
    nw::basic_timed_msgstate second = FixedRecord(nw::level_info, "GDRVM.producer");
    second.timestamp -= boost::posix_time::microseconds(125000);
    target.write(second, "first\nsecond\n");
    EXPECT_EQ(ReadFileText(dir.File("module.log")),
              "2021-Mar-03 08:05:07.125000 GDRVM [err] Board failed\n"
              "2021-Mar-03 08:05:07 GDRVM.producer [info] first second\n");
}

TEST(FileTarget, AnExistingFileKeepsItsContent) {
    orvtest::TempDir dir;
    orvtest::WriteFileText(dir.File("old.log"), "earlier line\n");
    {
        nw::basic_file_target target(dir.File("old.log"));
        target.write(FixedRecord(nw::level_warn), "appended");
    }
    EXPECT_EQ(ReadFileText(dir.File("old.log")),
              "earlier line\n2021-Mar-03 08:05:07.125000 GDRVM [warn] appended\n");
}

TEST(FileTarget, PathThatCannotBeOpened_ErrorOpeningFile) {
    orvtest::TempDir dir;
    const std::string path = dir.File("missing/dir/x.log");
    try {
        nw::basic_file_target target(path);
        ADD_FAILURE() << "opened " << path;
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Error opening file: " + path);
    }
    EXPECT_THROW(nw::basic_file_target target(dir.path()), std::runtime_error) << "a directory";
}

TEST(FileTarget, BackslashPathsWorkAsOnWindows) {
    orvtest::TempDir dir;
    const std::string windowsStyle = dir.path() + "\\logs.txt";
    nw::basic_file_target target(windowsStyle);
    EXPECT_EQ(target.path(), windowsStyle);
    target.write(FixedRecord(), "x");
    EXPECT_EQ(ReadFileText(dir.File("logs.txt")), "2021-Mar-03 08:05:07.125000 GDRVM [err] x\n");
}

TEST(FileTarget, LinesFromManyThreadsStayWhole) {
    orvtest::TempDir dir;
    auto target = std::make_shared<nw::basic_file_target>(dir.File("threads.log"));
    constexpr int kThreads = 4;
    constexpr int kLines = 250;
    const std::string filler(300, '#');
    {
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < kLines; ++i) {
                    nw::basic_timed_msgstate record = FixedRecord(nw::level_info, "T");
                    target->write(record, "thread " + std::to_string(t) + " line " +
                                              std::to_string(i) + " " + filler);
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    std::istringstream lines(ReadFileText(dir.File("threads.log")));
    std::string line;
    int count = 0;
    const std::string prefix = "2021-Mar-03 08:05:07.125000 T [info] thread ";
    while (std::getline(lines, line)) {
        ++count;
        ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
        ASSERT_EQ(line.substr(line.size() - filler.size()), filler) << line;
    }
    EXPECT_EQ(count, kThreads * kLines);
}
