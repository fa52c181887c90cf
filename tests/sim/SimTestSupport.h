// Helpers shared by the simulator tests: temporary files, machine set-up and RAII owners of
// the SDK handles, so a failing assertion never leaves a DMA running.
#pragma once

#include "simctl/SimControl.h"
#include <fglib5.h>
#include <gbelib.h>

#include "support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace simtest {

// The tests' temporary directory (support/TempDir.h), with a path that the
// simulator tests join names to.
class TempDir : public orvtest::TempDir {
public:
    TempDir() : orvtest::TempDir("fgsim-test") {}
    std::filesystem::path Path() const { return path(); }
};

// Loads a machine description (or the embedded default for an empty text), clears faults
// and counters; fails the test when the machine does not load.
void UseMachine(const std::string& text = std::string());

// Owns an open grabber.
class Board {
public:
    Board(const std::string& appletPath, unsigned boardIndex);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    Fg_Grabber* get() const { return grabber_; }
    explicit operator bool() const { return grabber_ != nullptr; }

private:
    Fg_Grabber* grabber_;
};

// Owns caller-allocated buffers registered under a custom-memory head.
class CustomRing {
public:
    CustomRing(Fg_Grabber* grabber, std::size_t bufferBytes, std::int64_t count);
    ~CustomRing();
    CustomRing(const CustomRing&) = delete;
    CustomRing& operator=(const CustomRing&) = delete;

    Fg_Memory* Head() const { return head_; }
    const std::uint8_t* Buffer(std::int64_t bufferNumber) const {
        return storage_[static_cast<std::size_t>(bufferNumber - 1)].data();
    }
    std::int64_t Count() const { return static_cast<std::int64_t>(storage_.size()); }

private:
    Fg_Grabber* grabber_;
    Fg_Memory* head_;
    std::vector<std::vector<std::uint8_t>> storage_;
};

// Stops a DMA at scope exit when it still acquires.
class Acquisition {
public:
    Acquisition(Fg_Grabber* grabber, unsigned dma, Fg_Memory* memory)
        : grabber_(grabber), dma_(dma), memory_(memory) {}
    ~Acquisition() { Fg_StopAcquire(grabber_, dma_, memory_, FG_STOP_SYNC); }
    Acquisition(const Acquisition&) = delete;
    Acquisition& operator=(const Acquisition&) = delete;

private:
    Fg_Grabber* grabber_;
    unsigned dma_;
    Fg_Memory* memory_;
};

// Owns an open GigE board.
class GigeBoard {
public:
    explicit GigeBoard(int boardIndex);
    ~GigeBoard();
    GigeBoard(const GigeBoard&) = delete;
    GigeBoard& operator=(const GigeBoard&) = delete;

    Gbe_Board* get() const { return board_; }
    int Result() const { return result_; }

private:
    Gbe_Board* board_ = nullptr;
    int result_;
};

// Owns a GigE camera handle.
class GigeCamera {
public:
    GigeCamera(Gbe_Board* board, int port);
    ~GigeCamera();
    GigeCamera(const GigeCamera&) = delete;
    GigeCamera& operator=(const GigeCamera&) = delete;

    Gbe_Camera* get() const { return camera_; }
    int Result() const { return result_; }

private:
    Gbe_Camera* camera_ = nullptr;
    int result_;
};

// Generous bound for anything the tests wait for; never a timing assertion.
constexpr unsigned PatienceMs = 10000;
constexpr int PatienceSeconds = 10;

// Reads one parameter as the given type.
template <typename T> T Parameter(Fg_Grabber* grabber, int id, unsigned dma) {
    T value{};
    Fg_GetParameter(grabber, id, &value, dma);
    return value;
}

} // namespace simtest
