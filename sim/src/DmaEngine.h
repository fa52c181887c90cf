// The acquisition engine of one DMA: a thread that writes frames into a memory's buffers.
#pragma once

#include "DmaConfig.h"
#include "MemoryHead.h"
#include "Relaxed.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace sim {

// While acquiring, one thread per DMA makes frames: free-running as fast as the buffers
// allow (frame rate 0), paced by the frame rate, or one per software trigger. Picture p
// lands in buffer ((p - 1) mod n) + 1; a frame lost because that buffer is still locked
// (blocking mode) uses no picture number. Free-running blocking acquisitions wait for the
// unlock instead of losing frames, so they never spin.
//
// Thread-safety: every member function except the constructor and destructor must be
// called with the owning grabber's mutex held; the ones that block take that lock as an
// argument and release it while waiting. The grabber mutex guards all fields below, and
// the buffers' records in the memory. Pixels are written without the mutex; Stop() joins
// the thread, so nothing touches a buffer after it returns.
class DmaEngine {
public:
    using Clock = std::chrono::steady_clock;

    struct Counters {
        bool acquiring = false;
        std::int64_t delivered = 0;
        std::int64_t lost = 0;
        std::int64_t lostBlocked = 0;
        std::int64_t produced = 0;
        std::int64_t collected = 0;
        std::int64_t pendingTriggers = 0;
    };

    DmaEngine(unsigned index, std::mutex& mutex, const DmaConfig& config, Clock::time_point epoch);
    ~DmaEngine();
    DmaEngine(const DmaEngine&) = delete;
    DmaEngine& operator=(const DmaEngine&) = delete;

    unsigned Index() const { return index_; }
    DmaConfig& Config() { return config_; }
    const DmaConfig& Config() const { return config_; }
    // Wakes the engine so a changed trigger mode or frame rate applies at once.
    void ConfigChanged() { engineCv_.notify_all(); }

    // From Fg_AcquireEx until Fg_StopAcquire returns (also once the frame count is done).
    bool Acquiring() const { return state_ != State::Idle; }
    // The memory of the current or last acquisition, nullptr before the first. Readable
    // without the mutex (the per-buffer status reads compare it).
    MemoryHead* Memory() const { return memory_; }
    // The memory is being freed; forget it if it was the last one.
    void Forget(const MemoryHead* head);

    int Start(MemoryHead& head, std::int64_t frameCount, int mode);
    int Stop(std::unique_lock<std::mutex>& lock);
    std::int64_t WaitImage(std::unique_lock<std::mutex>& lock, std::int64_t picture,
                           int timeoutSeconds);
    std::int64_t Status(int code, std::int64_t data) const;
    int Unblock(std::int64_t bufferNumber);
    int Trigger();
    // FG_OK once the current acquisition has produced `frames` frames, FG_ERR_TIMEOUT.
    int WaitProduced(std::unique_lock<std::mutex>& lock, std::int64_t frames,
                     std::chrono::milliseconds timeout);
    Counters CurrentCounters() const;
    std::int64_t ImageCounter() const { return imageCounter_; }

private:
    enum class State { Idle, Running, Finished, Stopping };

    void Run();
    // Makes one frame into the next ring buffer and records it.
    void Produce(std::unique_lock<std::mutex>& lock);

    const unsigned index_;
    std::mutex& mutex_;
    const Clock::time_point epoch_;
    std::condition_variable engineCv_; // wakes the engine: stop, trigger, unlock, settings
    std::condition_variable eventCv_;  // wakes waiters: image, lost frame, state change
    std::thread thread_;

    DmaConfig config_;
    State state_ = State::Idle;
    std::uint64_t generation_ = 0; // counts acquisitions, so waiters notice a restart
    Relaxed<MemoryHead*> memory_ = nullptr;
    int mode_ = 1;
    std::int64_t frameLimit_ = -1;
    std::int64_t delivered_ = 0;
    std::int64_t lost_ = 0;
    std::int64_t lostBlocked_ = 0;
    std::int64_t produced_ = 0;
    std::int64_t collected_ = 0;
    std::int64_t pendingTriggers_ = 0;
    std::int64_t imageCounter_ = 0;
};

} // namespace sim
