#include "DmaEngine.h"

#include "PatternGenerator.h"
#include "simctl/SimControl.h"
#include <fglib5.h>

#include <algorithm>
#include <system_error>

namespace sim {

DmaEngine::DmaEngine(unsigned index, std::mutex& mutex, const DmaConfig& config,
                     Clock::time_point epoch)
    : index_(index), mutex_(mutex), epoch_(epoch), config_(config) {}

DmaEngine::~DmaEngine() {
    // The grabber stops every DMA before it lets engines go; this only covers a thread
    // that ended on its own after its frame count.
    if (thread_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            state_ = State::Stopping;
        }
        engineCv_.notify_all();
        thread_.join();
    }
}

void DmaEngine::Forget(const MemoryHead* head) {
    if (memory_ == head && !Acquiring()) {
        memory_ = nullptr;
    }
}

int DmaEngine::Start(MemoryHead& head, std::int64_t frameCount, int mode) {
    if (state_ != State::Idle) {
        return FG_ERR_DMA_BUSY;
    }
    head.ResetRecords();
    memory_ = &head;
    mode_ = mode;
    frameLimit_ = frameCount;
    delivered_ = lost_ = lostBlocked_ = produced_ = collected_ = pendingTriggers_ = 0;
    ++generation_;
    state_ = State::Running;
    try {
        thread_ = std::thread(&DmaEngine::Run, this);
    } catch (const std::system_error&) {
        state_ = State::Idle;
        return FG_ERR_OUT_OF_MEMORY;
    }
    head.boundDma = static_cast<int>(index_);
    head.acquiring = true;
    return FG_OK;
}

int DmaEngine::Stop(std::unique_lock<std::mutex>& lock) {
    if (state_ == State::Stopping) {
        // Another thread stops this DMA; answer once it no longer writes.
        eventCv_.wait(lock, [this] { return state_ != State::Stopping; });
        return FG_ERR_NOT_ACQUIRING;
    }
    if (state_ == State::Idle) {
        return FG_ERR_NOT_ACQUIRING;
    }
    state_ = State::Stopping;
    engineCv_.notify_all();
    eventCv_.notify_all(); // waiters end now, not after the join
    std::thread thread = std::move(thread_);
    lock.unlock();
    thread.join();
    lock.lock();
    state_ = State::Idle;
    pendingTriggers_ = 0;
    if (memory_ != nullptr) {
        memory_->acquiring = false;
    }
    eventCv_.notify_all();
    return FG_OK;
}

std::int64_t DmaEngine::WaitImage(std::unique_lock<std::mutex>& lock, std::int64_t picture,
                                  int timeoutSeconds) {
    if (picture < 1) {
        return FG_ERR_INVALID_ARGUMENT;
    }
    if (state_ == State::Idle) {
        return FG_ERR_NOT_ACQUIRING;
    }
    const std::uint64_t generation = generation_;
    // The clock is read only when the picture is not there yet.
    Clock::time_point deadline{};
    bool deadlineSet = false;
    while (true) {
        if (delivered_ >= picture) {
            collected_ = std::max(collected_, picture);
            return picture;
        }
        if (state_ == State::Stopping || state_ == State::Idle || generation != generation_) {
            return FG_ERR_ACQUISITION_STOPPED;
        }
        if (state_ == State::Finished || (frameLimit_ >= 0 && picture > frameLimit_)) {
            return FG_ERR_FRAME_LIMIT;
        }
        if (!deadlineSet) {
            deadline = Clock::now() + std::chrono::seconds(std::max(timeoutSeconds, 0));
            deadlineSet = true;
        }
        if (eventCv_.wait_until(lock, deadline) == std::cv_status::timeout &&
            delivered_ < picture) {
            return FG_ERR_TIMEOUT;
        }
    }
}

std::int64_t DmaEngine::Status(int code, std::int64_t data) const {
    switch (code) {
    case FG_STATUS_GRABBED:
        return delivered_;
    case FG_STATUS_LOST:
        return lost_;
    case FG_STATUS_LOST_BLOCKED:
        return lostBlocked_;
    case FG_STATUS_BLOCKED:
        return memory_ != nullptr ? memory_->LockedCount() : 0;
    case FG_STATUS_PENDING:
        return std::max<std::int64_t>(delivered_ - collected_, 0);
    case FG_STATUS_BUFFER_LOCKED:
        if (memory_ == nullptr || !memory_->ValidNumber(data)) {
            return FG_ERR_INVALID_BUFFER_NUMBER;
        }
        return memory_->Record(data).locked ? 1 : 0;
    default:
        return FG_ERR_INVALID_STATUS;
    }
}

int DmaEngine::Unblock(std::int64_t bufferNumber) {
    if (memory_ == nullptr || !memory_->ValidNumber(bufferNumber)) {
        return FG_ERR_INVALID_BUFFER_NUMBER;
    }
    memory_->Record(bufferNumber).locked = false;
    engineCv_.notify_all();
    return FG_OK;
}

int DmaEngine::Trigger() {
    if (state_ != State::Running) {
        return FG_ERR_NOT_ACQUIRING;
    }
    if (config_.triggerMode != SIM_TRIGGER_SOFTWARE) {
        return FG_ERR_NOT_TRIGGER_MODE;
    }
    ++pendingTriggers_;
    engineCv_.notify_all();
    return FG_OK;
}

int DmaEngine::WaitProduced(std::unique_lock<std::mutex>& lock, std::int64_t frames,
                            std::chrono::milliseconds timeout) {
    const bool reached = eventCv_.wait_for(lock, timeout, [&] {
        return produced_ >= frames || state_ == State::Idle || state_ == State::Stopping;
    });
    return reached && produced_ >= frames ? FG_OK : FG_ERR_TIMEOUT;
}

DmaEngine::Counters DmaEngine::CurrentCounters() const {
    Counters counters;
    counters.acquiring = Acquiring();
    counters.delivered = delivered_;
    counters.lost = lost_;
    counters.lostBlocked = lostBlocked_;
    counters.produced = produced_;
    counters.collected = collected_;
    counters.pendingTriggers = pendingTriggers_;
    return counters;
}

void DmaEngine::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    Clock::time_point due = Clock::now();
    while (state_ == State::Running) {
        if (frameLimit_ >= 0 && delivered_ >= frameLimit_) {
            state_ = State::Finished;
            eventCv_.notify_all();
            return;
        }
        const bool triggered = config_.triggerMode == SIM_TRIGGER_SOFTWARE;
        const bool paced = !triggered && config_.frameRate > 0.0;
        if (triggered) {
            if (pendingTriggers_ == 0) {
                engineCv_.wait(lock);
                continue; // settings or state may have changed meanwhile
            }
        } else if (paced) {
            const Clock::time_point now = Clock::now();
            if (now < due) {
                engineCv_.wait_until(lock, due);
                continue;
            }
            const auto period = std::chrono::duration_cast<Clock::duration>(
                std::chrono::duration<double>(1.0 / config_.frameRate));
            // A late engine does not make up for missed frames with a burst.
            due = std::max(due + period, now);
        }

        const std::int64_t bufferNumber = delivered_ % memory_->BufferCount() + 1;
        if (mode_ == FG_ACQ_BLOCKING && memory_->Record(bufferNumber).locked) {
            if (!triggered && !paced) {
                engineCv_.wait(lock); // free-running: wait for the unlock
                continue;
            }
            if (triggered) {
                --pendingTriggers_;
            }
            ++produced_;
            ++lost_;
            ++lostBlocked_;
            eventCv_.notify_all();
            continue;
        }
        if (triggered) {
            --pendingTriggers_;
        }
        Produce(lock);
    }
}

void DmaEngine::Produce(std::unique_lock<std::mutex>& lock) {
    const std::int64_t bufferNumber = delivered_ % memory_->BufferCount() + 1;
    const std::int64_t picture = delivered_ + 1;
    const FrameSetup setup = FrameSetup::Of(config_);
    std::uint8_t* const address = memory_->Address(bufferNumber);
    const std::size_t capacity = memory_->BufferSize(bufferNumber);
    // The tag numbers every frame made, lost ones included.
    const std::uint16_t tag = static_cast<std::uint16_t>(produced_ + 1);

    lock.unlock();
    const std::uint64_t written = PatternGenerator::Fill(address, capacity, setup, picture);
    lock.lock();

    if (state_ != State::Running) {
        return; // a stop aborts the transfer in flight
    }
    BufferRecord& record = memory_->Record(bufferNumber);
    record.picture = picture;
    record.tag = tag;
    record.timestamp = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - epoch_).count());
    record.transferLength = written;
    record.locked = mode_ == FG_ACQ_BLOCKING;
    record.setup = setup;
    ++produced_;
    ++delivered_;
    ++imageCounter_;
    eventCv_.notify_all();
}

} // namespace sim
