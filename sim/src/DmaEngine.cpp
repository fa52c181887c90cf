#include "DmaEngine.h"

#include "PatternGenerator.h"
#include <fglib5.h>
#include "simctl/SimControl.h"

#include <algorithm>
#include <system_error>

namespace sim {

DmaEngine::DmaEngine(unsigned index, std::mutex& mutex, const DmaConfig& config,
                     Clock::time_point epoch)
    : m_index(index), m_mutex(mutex), m_epoch(epoch), m_config(config) {}

DmaEngine::~DmaEngine() {
    // The grabber stops every DMA before it lets engines go; this only covers a thread
    // that ended on its own after its frame count.
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_state = State::Stopping;
        }
        m_engineCv.notify_all();
        m_thread.join();
    }
}

void DmaEngine::forget(const MemoryHead* head) {
    if (m_memory == head && !acquiring()) {
        m_memory = nullptr;
    }
}

int DmaEngine::start(MemoryHead& head, std::int64_t frameCount, int mode) {
    if (m_state != State::Idle) {
        return FG_ERR_DMA_BUSY;
    }
    head.resetRecords();
    m_memory = &head;
    m_mode = mode;
    m_frameLimit = frameCount;
    m_delivered = m_lost = m_lostBlocked = m_produced = m_collected = m_pendingTriggers = 0;
    ++m_generation;
    m_state = State::Running;
    try {
        m_thread = std::thread(&DmaEngine::run, this);
    } catch (const std::system_error&) {
        m_state = State::Idle;
        return FG_ERR_OUT_OF_MEMORY;
    }
    head.boundDma = static_cast<int>(m_index);
    head.acquiring = true;
    return FG_OK;
}

int DmaEngine::stop(std::unique_lock<std::mutex>& lock) {
    if (m_state == State::Stopping) {
        // Another thread stops this DMA; answer once it no longer writes.
        m_eventCv.wait(lock, [this] { return m_state != State::Stopping; });
        return FG_ERR_NOT_ACQUIRING;
    }
    if (m_state == State::Idle) {
        return FG_ERR_NOT_ACQUIRING;
    }
    m_state = State::Stopping;
    m_engineCv.notify_all();
    m_eventCv.notify_all(); // waiters end now, not after the join
    std::thread thread = std::move(m_thread);
    lock.unlock();
    thread.join();
    lock.lock();
    m_state = State::Idle;
    m_pendingTriggers = 0;
    if (m_memory != nullptr) {
        m_memory->acquiring = false;
    }
    m_eventCv.notify_all();
    return FG_OK;
}

std::int64_t DmaEngine::waitImage(std::unique_lock<std::mutex>& lock, std::int64_t picture,
                                  int timeoutSeconds) {
    if (picture < 1) {
        return FG_ERR_INVALID_ARGUMENT;
    }
    if (m_state == State::Idle) {
        return FG_ERR_NOT_ACQUIRING;
    }
    const std::uint64_t generation = m_generation;
    const auto deadline = Clock::now() + std::chrono::seconds(std::max(timeoutSeconds, 0));
    while (true) {
        if (m_delivered >= picture) {
            m_collected = std::max(m_collected, picture);
            return picture;
        }
        if (m_state == State::Stopping || m_state == State::Idle || generation != m_generation) {
            return FG_ERR_ACQUISITION_STOPPED;
        }
        if (m_state == State::Finished || (m_frameLimit >= 0 && picture > m_frameLimit)) {
            return FG_ERR_FRAME_LIMIT;
        }
        if (m_eventCv.wait_until(lock, deadline) == std::cv_status::timeout &&
            m_delivered < picture) {
            return FG_ERR_TIMEOUT;
        }
    }
}

std::int64_t DmaEngine::status(int code, std::int64_t data) const {
    switch (code) {
    case FG_STATUS_GRABBED:
        return m_delivered;
    case FG_STATUS_LOST:
        return m_lost;
    case FG_STATUS_LOST_BLOCKED:
        return m_lostBlocked;
    case FG_STATUS_BLOCKED:
        return m_memory != nullptr ? m_memory->lockedCount() : 0;
    case FG_STATUS_PENDING:
        return std::max<std::int64_t>(m_delivered - m_collected, 0);
    case FG_STATUS_BUFFER_LOCKED:
        if (m_memory == nullptr || !m_memory->validNumber(data)) {
            return FG_ERR_INVALID_BUFFER_NUMBER;
        }
        return m_memory->record(data).locked ? 1 : 0;
    default:
        return FG_ERR_INVALID_STATUS;
    }
}

int DmaEngine::unblock(std::int64_t bufferNumber) {
    if (m_memory == nullptr || !m_memory->validNumber(bufferNumber)) {
        return FG_ERR_INVALID_BUFFER_NUMBER;
    }
    m_memory->record(bufferNumber).locked = false;
    m_engineCv.notify_all();
    return FG_OK;
}

int DmaEngine::trigger() {
    if (m_state != State::Running) {
        return FG_ERR_NOT_ACQUIRING;
    }
    if (m_config.triggerMode != SIM_TRIGGER_SOFTWARE) {
        return FG_ERR_NOT_TRIGGER_MODE;
    }
    ++m_pendingTriggers;
    m_engineCv.notify_all();
    return FG_OK;
}

int DmaEngine::waitProduced(std::unique_lock<std::mutex>& lock, std::int64_t frames,
                            std::chrono::milliseconds timeout) {
    const bool reached = m_eventCv.wait_for(lock, timeout, [&] {
        return m_produced >= frames || m_state == State::Idle || m_state == State::Stopping;
    });
    return reached && m_produced >= frames ? FG_OK : FG_ERR_TIMEOUT;
}

DmaEngine::Counters DmaEngine::counters() const {
    Counters counters;
    counters.acquiring = acquiring();
    counters.delivered = m_delivered;
    counters.lost = m_lost;
    counters.lostBlocked = m_lostBlocked;
    counters.produced = m_produced;
    counters.collected = m_collected;
    counters.pendingTriggers = m_pendingTriggers;
    return counters;
}

void DmaEngine::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    Clock::time_point due = Clock::now();
    while (m_state == State::Running) {
        if (m_frameLimit >= 0 && m_delivered >= m_frameLimit) {
            m_state = State::Finished;
            m_eventCv.notify_all();
            return;
        }
        const bool triggered = m_config.triggerMode == SIM_TRIGGER_SOFTWARE;
        const bool paced = !triggered && m_config.frameRate > 0.0;
        if (triggered) {
            if (m_pendingTriggers == 0) {
                m_engineCv.wait(lock);
                continue; // settings or state may have changed meanwhile
            }
        } else if (paced) {
            const Clock::time_point now = Clock::now();
            if (now < due) {
                m_engineCv.wait_until(lock, due);
                continue;
            }
            const auto period = std::chrono::duration_cast<Clock::duration>(
                std::chrono::duration<double>(1.0 / m_config.frameRate));
            // A late engine does not make up for missed frames with a burst.
            due = std::max(due + period, now);
        }

        const std::int64_t bufferNumber = m_delivered % m_memory->bufferCount() + 1;
        if (m_mode == FG_ACQ_BLOCKING && m_memory->record(bufferNumber).locked) {
            if (!triggered && !paced) {
                m_engineCv.wait(lock); // free-running: wait for the unlock
                continue;
            }
            if (triggered) {
                --m_pendingTriggers;
            }
            ++m_produced;
            ++m_lost;
            ++m_lostBlocked;
            m_eventCv.notify_all();
            continue;
        }
        if (triggered) {
            --m_pendingTriggers;
        }
        produce(lock);
    }
}

void DmaEngine::produce(std::unique_lock<std::mutex>& lock) {
    const std::int64_t bufferNumber = m_delivered % m_memory->bufferCount() + 1;
    const std::int64_t picture = m_delivered + 1;
    const FrameSetup setup = FrameSetup::of(m_config);
    std::uint8_t* const address = m_memory->address(bufferNumber);
    const std::size_t capacity = m_memory->size(bufferNumber);
    // The tag numbers every frame made, lost ones included.
    const std::uint16_t tag = static_cast<std::uint16_t>(m_produced + 1);

    lock.unlock();
    const std::uint64_t written = PatternGenerator::fill(address, capacity, setup, picture);
    lock.lock();

    if (m_state != State::Running) {
        return; // a stop aborts the transfer in flight
    }
    BufferRecord& record = m_memory->record(bufferNumber);
    record.picture = picture;
    record.tag = tag;
    record.timestamp = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_epoch).count());
    record.transferLength = written;
    record.locked = m_mode == FG_ACQ_BLOCKING;
    record.setup = setup;
    ++m_produced;
    ++m_delivered;
    ++m_imageCounter;
    m_eventCv.notify_all();
}

} // namespace sim
