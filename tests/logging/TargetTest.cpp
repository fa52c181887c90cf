#include <nwLogging/nwLogging.h>

#include "support/CapturingTarget.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace nw = nwLogging;

namespace {

class ThrowingTarget : public nw::basic_target {
public:
    explicit ThrowingTarget(bool standard) : standard_(standard) {}
    int calls = 0;

protected:
    void do_write(const nw::basic_timed_msgstate&, const std::string&) override {
        ++calls;
        if (standard_)
            throw std::runtime_error("disk full");
        throw 42;
    }

private:
    bool standard_;
};

class LevelFilter : public nw::basic_target_filter {
public:
    explicit LevelFilter(uint32_t levels) : levels_(levels) {}
    bool accepts(const nw::basic_timed_msgstate& record) const override {
        return (record.level & levels_) != 0;
    }

private:
    uint32_t levels_;
};

class ThrowingFilter : public nw::basic_target_filter {
public:
    bool accepts(const nw::basic_timed_msgstate&) const override {
        throw std::runtime_error("broken filter");
    }
};

// Records the order in which filters and targets are destroyed.
struct DestructionLog {
    std::mutex mutex;
    std::vector<std::string> order;
    void add(const std::string& what) {
        std::lock_guard<std::mutex> guard(mutex);
        order.push_back(what);
    }
};

class NamedFilter : public nw::basic_target_filter {
public:
    NamedFilter(DestructionLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    ~NamedFilter() override { log_.add(name_); }

private:
    DestructionLog& log_;
    std::string name_;
};

class NamedTarget : public nw::basic_target {
public:
    NamedTarget(DestructionLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    ~NamedTarget() override { log_.add(name_); }

protected:
    void do_write(const nw::basic_timed_msgstate&, const std::string&) override {}

private:
    DestructionLog& log_;
    std::string name_;
};

// Holds the first record inside do_write until the test lets it go.
class GateTarget : public nw::basic_target {
public:
    void waitUntilEntered() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return entered_; });
    }
    void open() {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    std::vector<std::string> texts() {
        std::lock_guard<std::mutex> guard(mutex_);
        return texts_;
    }

protected:
    void do_write(const nw::basic_timed_msgstate&, const std::string& text) override {
        std::unique_lock<std::mutex> lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_; });
        texts_.push_back(text);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool open_ = false;
    std::vector<std::string> texts_;
};

// Logs from inside its own write, as a careless target might.
class ReentrantTarget : public nw::basic_target {
public:
    int calls = 0;

protected:
    void do_write(const nw::basic_timed_msgstate&, const std::string&) override {
        ++calls;
        NWLOG(nw::root_logger(), nw::level_err, "from inside the target");
    }
};

} // namespace

TEST(Targets, ThrowingTargetNeverThrowsIntoTheLogSite) {
    ScopedCapture capture;
    auto standard = std::make_shared<ThrowingTarget>(true);
    auto other = std::make_shared<ThrowingTarget>(false);
    nw::install_target(nullptr, standard);
    nw::install_target(nullptr, other);
    EXPECT_NO_THROW(NWLOG(nw::root_logger(), nw::level_err, "survives"));
    EXPECT_EQ(standard->calls, 1);
    EXPECT_EQ(other->calls, 1);
    // The capture was installed first and still got the record; a target after
    // a failing one is not skipped either.
    EXPECT_TRUE(capture->contains("survives"));
}

TEST(Targets, TargetAfterAFailingOneStillReceivesTheRecord) {
    ScopedCapture capture;
    nw::release_targets();
    auto thrower = std::make_shared<ThrowingTarget>(true);
    nw::install_target(nullptr, thrower);
    nw::install_target(nullptr, capture.shared());
    NWLOG(nw::root_logger(), nw::level_err, "passes on");
    EXPECT_EQ(thrower->calls, 1);
    EXPECT_TRUE(capture->contains("passes on"));
}

TEST(Targets, WriteSwallowsTheHooksException) {
    ThrowingTarget target(true);
    nw::basic_timed_msgstate record;
    EXPECT_NO_THROW(target.write(record, "x"));
    EXPECT_NO_THROW(target.write(record, "y"));
    EXPECT_EQ(target.calls, 2); // the mutex was released after the throw
}

TEST(Targets, InstallCountsAndReleaseEmptiesTheList) {
    ScopedCapture capture;
    EXPECT_EQ(nw::installed_target_count(), 1u);
    nw::install_target(std::make_shared<nw::basic_target_filter>(),
                       std::make_shared<CapturingTarget>());
    EXPECT_EQ(nw::installed_target_count(), 2u);
    EXPECT_EQ(nw::installed_targets().size(), 2u);
    EXPECT_EQ(nw::installed_targets()[0].second, capture.shared());
    nw::release_targets();
    EXPECT_EQ(nw::installed_target_count(), 0u);
    EXPECT_TRUE(nw::installed_targets().empty());
}

TEST(Targets, AfterReleaseRecordsGoNowhere) {
    ScopedCapture capture;
    NWLOG(nw::root_logger(), nw::level_err, "before");
    nw::release_targets();
    NWLOG(nw::root_logger(), nw::level_err, "after");
    EXPECT_EQ(capture->count(), 1u);
    EXPECT_FALSE(capture->contains("after"));
}

TEST(Targets, ReleaseDropsFilterThenTargetInListOrder) {
    ScopedCapture capture;
    nw::release_targets();
    DestructionLog log;
    nw::install_target(std::make_shared<NamedFilter>(log, "filter A"),
                       std::make_shared<NamedTarget>(log, "target A"));
    nw::install_target(std::make_shared<NamedFilter>(log, "filter B"),
                       std::make_shared<NamedTarget>(log, "target B"));
    nw::install_target(std::make_shared<NamedFilter>(log, "filter C"),
                       std::make_shared<NamedTarget>(log, "target C"));
    nw::release_targets();
    EXPECT_EQ(log.order, (std::vector<std::string>{"filter A", "target A", "filter B", "target B",
                                                   "filter C", "target C"}));
}

TEST(Targets, NullTargetIsRefused) {
    ScopedCapture capture;
    EXPECT_THROW(nw::install_target(nullptr, nullptr), std::invalid_argument);
    EXPECT_EQ(nw::installed_target_count(), 1u);
}

TEST(Targets, FilterDecidesWhichRecordsReachItsTarget) {
    ScopedCapture capture;
    auto errorsOnly = std::make_shared<CapturingTarget>();
    nw::install_target(std::make_shared<LevelFilter>(nw::level_err), errorsOnly);
    NWLOG(nw::root_logger(), nw::level_err, "an error");
    NWLOG(nw::root_logger(), nw::level_info, "some info");
    EXPECT_EQ(capture->count(), 2u);
    ASSERT_EQ(errorsOnly->count(), 1u);
    EXPECT_EQ(errorsOnly->records()[0].text, "an error");
}

TEST(Targets, ThrowingFilterSkipsOnlyItsOwnTarget) {
    ScopedCapture capture;
    auto behind = std::make_shared<CapturingTarget>();
    nw::install_target(std::make_shared<ThrowingFilter>(), behind);
    EXPECT_NO_THROW(NWLOG(nw::root_logger(), nw::level_err, "filtered"));
    EXPECT_EQ(behind->count(), 0u);
    EXPECT_EQ(capture->count(), 1u);
}

TEST(Targets, RecordLoggedFromInsideATargetIsDroppedWithoutDeadlock) {
    ScopedCapture capture;
    auto reentrant = std::make_shared<ReentrantTarget>();
    nw::install_target(nullptr, reentrant);
    NWLOG(nw::root_logger(), nw::level_err, "outer");
    EXPECT_EQ(reentrant->calls, 1);
    EXPECT_EQ(capture->count(), 1u);
    EXPECT_FALSE(capture->contains("from inside the target"));
    // The thread logs normally again afterwards.
    NWLOG(nw::root_logger(), nw::level_err, "next");
    EXPECT_EQ(reentrant->calls, 2);
    EXPECT_EQ(capture->count(), 2u);
}

TEST(Targets, ReleaseDuringAWriteLetsTheRecordFinishAndStopsLaterOnes) {
    ScopedCapture capture;
    nw::release_targets();
    auto gate = std::make_shared<GateTarget>();
    std::weak_ptr<GateTarget> watch = gate;
    nw::install_target(nullptr, gate);
    std::thread writer([] { NWLOG(nw::root_logger(), nw::level_err, "in flight"); });
    gate->waitUntilEntered();
    nw::release_targets(); // must not wait for the blocked write
    EXPECT_EQ(nw::installed_target_count(), 0u);
    NWLOG(nw::root_logger(), nw::level_err, "after release");
    gate->open();
    writer.join();
    EXPECT_EQ(gate->texts(), std::vector<std::string>{"in flight"});
    gate.reset();
    EXPECT_TRUE(watch.expired()); // the list let go of it once the write ended
}

TEST(Targets, DefaultFilterAcceptsEveryRecord) {
    nw::basic_target_filter filter;
    nw::basic_timed_msgstate record;
    for (uint32_t level : {0u, 1u, 2u, 64u}) {
        record.level = level;
        EXPECT_TRUE(filter.accepts(record));
    }
}
