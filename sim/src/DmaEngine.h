// The acquisition engine of one DMA: a thread that writes frames into a memory's buffers.
#pragma once

#include "DmaConfig.h"
#include "MemoryHead.h"

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
// the buffers' records in the memory. Pixels are written without the mutex; stop() joins
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

    unsigned index() const { return m_index; }
    DmaConfig& config() { return m_config; }
    const DmaConfig& config() const { return m_config; }
    // Wakes the engine so a changed trigger mode or frame rate applies at once.
    void configChanged() { m_engineCv.notify_all(); }

    // From Fg_AcquireEx until Fg_StopAcquire returns (also once the frame count is done).
    bool acquiring() const { return m_state != State::Idle; }
    // The memory of the current or last acquisition, nullptr before the first.
    MemoryHead* memory() const { return m_memory; }
    // The memory is being freed; forget it if it was the last one.
    void forget(const MemoryHead* head);

    int start(MemoryHead& head, std::int64_t frameCount, int mode);
    int stop(std::unique_lock<std::mutex>& lock);
    std::int64_t waitImage(std::unique_lock<std::mutex>& lock, std::int64_t picture,
                           int timeoutSeconds);
    std::int64_t status(int code, std::int64_t data) const;
    int unblock(std::int64_t bufferNumber);
    int trigger();
    // FG_OK once the current acquisition has produced `frames` frames, FG_ERR_TIMEOUT.
    int waitProduced(std::unique_lock<std::mutex>& lock, std::int64_t frames,
                     std::chrono::milliseconds timeout);
    Counters counters() const;
    std::int64_t imageCounter() const { return m_imageCounter; }

private:
    enum class State { Idle, Running, Finished, Stopping };

    void run();
    // Makes one frame into the next ring buffer and records it.
    void produce(std::unique_lock<std::mutex>& lock);

    const unsigned m_index;
    std::mutex& m_mutex;
    const Clock::time_point m_epoch;
    std::condition_variable m_engineCv; // wakes the engine: stop, trigger, unlock, settings
    std::condition_variable m_eventCv;  // wakes waiters: image, lost frame, state change
    std::thread m_thread;

    DmaConfig m_config;
    State m_state = State::Idle;
    std::uint64_t m_generation = 0; // counts acquisitions, so waiters notice a restart
    MemoryHead* m_memory = nullptr;
    int m_mode = 1;
    std::int64_t m_frameLimit = -1;
    std::int64_t m_delivered = 0;
    std::int64_t m_lost = 0;
    std::int64_t m_lostBlocked = 0;
    std::int64_t m_produced = 0;
    std::int64_t m_collected = 0;
    std::int64_t m_pendingTriggers = 0;
    std::int64_t m_imageCounter = 0;
};

} // namespace sim
