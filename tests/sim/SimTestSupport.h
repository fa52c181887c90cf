// Helpers shared by the simulator tests: machine set-up and RAII owners of
// the SDK handles, so a failing assertion never leaves a DMA running.
#pragma once

#include <fglib5.h>
#include <gbelib.h>
#include "simctl/SimControl.h"

#include "support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

// The tests' temporary directories.
using orvtest::TempDir;

// Loads a machine description (or the embedded default for an empty text), clears faults
// and counters; fails the test when the machine does not load.
void useMachine(const std::string& text = std::string());

// Owns an open grabber.
class Board {
public:
    Board(const std::string& appletPath, unsigned boardIndex);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    Fg_Grabber* get() const { return m_grabber; }
    explicit operator bool() const { return m_grabber != nullptr; }

private:
    Fg_Grabber* m_grabber;
};

// Owns caller-allocated buffers registered under a custom-memory head.
class CustomRing {
public:
    CustomRing(Fg_Grabber* grabber, std::size_t bufferBytes, std::int64_t count);
    ~CustomRing();
    CustomRing(const CustomRing&) = delete;
    CustomRing& operator=(const CustomRing&) = delete;

    Fg_Memory* head() const { return m_head; }
    const std::uint8_t* buffer(std::int64_t bufferNumber) const {
        return m_storage[static_cast<std::size_t>(bufferNumber - 1)].data();
    }
    std::int64_t count() const { return static_cast<std::int64_t>(m_storage.size()); }

private:
    Fg_Grabber* m_grabber;
    Fg_Memory* m_head;
    std::vector<std::vector<std::uint8_t>> m_storage;
};

// Stops a DMA at scope exit when it still acquires.
class Acquisition {
public:
    Acquisition(Fg_Grabber* grabber, unsigned dma, Fg_Memory* memory)
        : m_grabber(grabber), m_dma(dma), m_memory(memory) {}
    ~Acquisition() { Fg_StopAcquire(m_grabber, m_dma, m_memory, FG_STOP_SYNC); }
    Acquisition(const Acquisition&) = delete;
    Acquisition& operator=(const Acquisition&) = delete;

private:
    Fg_Grabber* m_grabber;
    unsigned m_dma;
    Fg_Memory* m_memory;
};

// Owns an open GigE board.
class GigeBoard {
public:
    explicit GigeBoard(int boardIndex);
    ~GigeBoard();
    GigeBoard(const GigeBoard&) = delete;
    GigeBoard& operator=(const GigeBoard&) = delete;

    Gbe_Board* get() const { return m_board; }
    int result() const { return m_result; }

private:
    Gbe_Board* m_board = nullptr;
    int m_result;
};

// Owns a GigE camera handle.
class GigeCamera {
public:
    GigeCamera(Gbe_Board* board, int port);
    ~GigeCamera();
    GigeCamera(const GigeCamera&) = delete;
    GigeCamera& operator=(const GigeCamera&) = delete;

    Gbe_Camera* get() const { return m_camera; }
    int result() const { return m_result; }

private:
    Gbe_Camera* m_camera = nullptr;
    int m_result;
};

// Generous bound for anything the tests wait for; never a timing assertion.
constexpr unsigned kPatienceMs = 10000;
constexpr int kPatienceSeconds = 10;

// Reads one parameter as the given type.
template <typename T> T parameter(Fg_Grabber* grabber, int id, unsigned dma) {
    T value{};
    Fg_GetParameter(grabber, id, &value, dma);
    return value;
}

} // namespace simtest
