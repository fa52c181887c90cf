#pragma once
// What a framework test tells the test driver, and what the test driver records.
// One object per loaded test module, reached through its extra export
// TestDriver_Control(); the test and the module are built with the same compiler
// and library, so they can share this structure.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

struct TestDriverControl {
    // Wiring.
    std::atomic<int32_t> boardCount{2};
    std::atomic<int32_t> channelCount{2};
    std::atomic<bool> producerCreatesNoBoard{false};
    std::atomic<bool> boardCreatesNoChannel{false};
    std::atomic<bool> offerEvent{false}; // the channel offers event 7 "frame"

    // Providers.
    std::atomic<int32_t> numBuffers{3};
    std::atomic<int32_t> width{4};
    std::atomic<int32_t> height{3};

    /// Records a call ("Grab2.GrabStart"), throws when the test asked for it, and
    /// answers the chosen result (0 unless set).
    int32_t Call(const std::string& operation);
    void SetResult(const std::string& operation, int32_t result);
    void ThrowIn(const std::string& operation);
    /// GrabWait answers these indices in order (then -1 with a failure result).
    void QueueWaitIndices(std::initializer_list<int32_t> indices);
    bool NextWaitIndex(int32_t* index);

    std::vector<std::string> Calls() const;
    size_t CountOf(const std::string& operation) const;
    void Reset();

    // Log lines the module wrote (its capturing target).
    std::vector<std::string> LogLines() const;
    void AddLogLine(const std::string& line);

private:
    mutable std::mutex lock_;
    std::vector<std::string> calls_;
    std::map<std::string, int32_t> results_;
    std::string throwIn_;
    std::deque<int32_t> waitIndices_;
    std::vector<std::string> logLines_;
};

// Methods are inline so that the test and the module run the same code on the
// module's one object.
inline int32_t TestDriverControl::Call(const std::string& operation) {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.push_back(operation);
    if (operation == throwIn_)
        throw std::runtime_error("provider failure in " + operation);
    const auto found = results_.find(operation);
    return found == results_.end() ? 0 : found->second;
}

inline void TestDriverControl::SetResult(const std::string& operation, int32_t result) {
    std::lock_guard<std::mutex> guard(lock_);
    results_[operation] = result;
}

inline void TestDriverControl::ThrowIn(const std::string& operation) {
    std::lock_guard<std::mutex> guard(lock_);
    throwIn_ = operation;
}

inline void TestDriverControl::QueueWaitIndices(std::initializer_list<int32_t> indices) {
    std::lock_guard<std::mutex> guard(lock_);
    waitIndices_.insert(waitIndices_.end(), indices.begin(), indices.end());
}

inline bool TestDriverControl::NextWaitIndex(int32_t* index) {
    std::lock_guard<std::mutex> guard(lock_);
    if (waitIndices_.empty())
        return false;
    *index = waitIndices_.front();
    waitIndices_.pop_front();
    return true;
}

inline std::vector<std::string> TestDriverControl::Calls() const {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
}

inline size_t TestDriverControl::CountOf(const std::string& operation) const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<size_t>(std::count(calls_.begin(), calls_.end(), operation));
}

inline void TestDriverControl::Reset() {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.clear();
    results_.clear();
    throwIn_.clear();
    waitIndices_.clear();
    logLines_.clear();
    boardCount = 2;
    channelCount = 2;
    producerCreatesNoBoard = false;
    boardCreatesNoChannel = false;
    offerEvent = false;
    numBuffers = 3;
    width = 4;
    height = 3;
}

inline std::vector<std::string> TestDriverControl::LogLines() const {
    std::lock_guard<std::mutex> guard(lock_);
    return logLines_;
}

inline void TestDriverControl::AddLogLine(const std::string& line) {
    std::lock_guard<std::mutex> guard(lock_);
    logLines_.push_back(line);
}

extern "C" TestDriverControl* TestDriver_Control();
