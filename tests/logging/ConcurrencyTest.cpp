#include <nwLogging/nwLogging.h>

#include "support/CapturingTarget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace nw = nwLogging;

namespace {

// Writes a line one character at a time into a sink it does not lock itself:
// only the base's mutex keeps lines from different threads apart.
class CharByCharTarget : public nw::basic_target {
public:
    std::string sink; // guarded by the base's mutex while records arrive

protected:
    void do_write(const nw::basic_timed_msgstate& record, const std::string& text) override {
        const std::string line = nw::format_line(record, text);
        for (char c : line) {
            sink.push_back(c);
            std::this_thread::yield();
        }
        sink.push_back('\n');
    }
};

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

TEST(Concurrency, LinesFromSeveralThreadsNeverInterleave) {
    ScopedCapture capture;
    nw::release_targets();
    auto target = std::make_shared<CharByCharTarget>();
    nw::install_target(nullptr, target);

    constexpr int threadCount = 6;
    constexpr int perThread = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([t] {
            const nw::logger_ptr logger = nw::get_logger("worker" + std::to_string(t));
            for (int n = 0; n < perThread; ++n)
                NWLOG(logger, nw::level_info, "thread " << t << " message " << n << " end");
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    nw::release_targets(); // no writer left: the sink can be read

    const std::vector<std::string> lines = split_lines(target->sink);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(threadCount * perThread));
    std::map<int, int> nextOfThread;
    for (const std::string& line : lines) {
        const auto open = line.find(" worker");
        ASSERT_NE(open, std::string::npos) << line;
        const int t = std::stoi(line.substr(open + 7));
        const std::string tail = "worker" + std::to_string(t) + " [info] thread " +
                                 std::to_string(t) + " message " + std::to_string(nextOfThread[t]) +
                                 " end";
        ASSERT_GE(line.size(), tail.size());
        ASSERT_EQ(line.substr(line.size() - tail.size()), tail) << line;
        ++nextOfThread[t];
    }
    for (int t = 0; t < threadCount; ++t)
        EXPECT_EQ(nextOfThread[t], perThread);
}

TEST(Concurrency, InstallAndReleaseWhileThreadsLog) {
    ScopedCapture capture;
    std::atomic<bool> stop{false};
    std::atomic<int> logged{0};
    std::vector<std::thread> loggers;
    for (int t = 0; t < 4; ++t) {
        loggers.emplace_back([&, t] {
            while (!stop.load()) {
                NWLOG(nw::root_logger(), nw::level_info, "from " << t);
                ++logged;
            }
        });
    }
    std::vector<std::shared_ptr<CapturingTarget>> seen;
    for (int round = 0; round < 200; ++round) {
        auto target = std::make_shared<CapturingTarget>();
        seen.push_back(target);
        nw::install_target(nullptr, target);
        nw::install_target(std::make_shared<nw::basic_target_filter>(), target);
        nw::release_targets();
    }
    // Let the loggers reach a target at least once more before stopping.
    nw::install_target(nullptr, capture.shared());
    EXPECT_TRUE(capture->waitForCount(1));
    stop = true;
    for (std::thread& t : loggers)
        t.join();
    EXPECT_GT(logged.load(), 0);
    for (const auto& target : seen) {
        for (const CapturedRecord& record : target->records())
            EXPECT_EQ(record.text.substr(0, 5), "from ");
    }
}

TEST(Concurrency, MaskChangesWhileThreadsTestTheLevel) {
    const nw::logger_ptr root = nw::basic_logger::make_root("M");
    std::atomic<bool> stop{false};
    std::atomic<long> fatalSeen{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                // Fatal is in every mask the writer sets; err only in some.
                if (root->enabled(nw::level_fatal))
                    ++fatalSeen;
                (void)root->enabled(nw::level_err);
            }
        });
    }
    for (int n = 0; n < 2000; ++n)
        root->state()->set_level_mask(n % 2 ? 1u : 3u);
    while (fatalSeen.load() == 0)
        std::this_thread::yield();
    stop = true;
    for (std::thread& t : readers)
        t.join();
    EXPECT_GT(fatalSeen.load(), 0);
}

TEST(Concurrency, GroupsAreRegisteredWhileOtherThreadsLookThemUp) {
    nw::inner_logstate state;
    state.register_group(1, "first");
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop.load()) {
            EXPECT_EQ(state.group_name(1), "first");
            EXPECT_EQ(state.group_id("first"), 1u);
        }
    });
    for (uint64_t id = 2; id < 500; ++id)
        state.register_group(id, "g" + std::to_string(id));
    stop = true;
    reader.join();
    EXPECT_EQ(state.group_id("g499"), 499u);
}
