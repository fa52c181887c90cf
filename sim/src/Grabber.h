// An open frame-grabber board: its applet, DMA engines, memories and last error.
#pragma once

#include "AppletParser.h"
#include "DmaEngine.h"
#include "Handles.h"
#include "LastError.h"
#include "MachineSetup.h"
#include "MemoryHead.h"
#include "SimExport.h"
#include <fglib5.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace sim {

// Behind every Fg_Grabber handle. The public functions implement the fglib5 calls after
// the handle was resolved: they check their arguments, record failures as the last error
// and answer the FG code (or value) the call answers.
//
// Thread-safe: mutex_ guards memories_, every engine's state and configuration, and the
// records in the memories. Blocking calls (wait, stop) release it while they wait. The
// board setup, applet name, runtime, epoch and the engines themselves are fixed at
// construction. The per-buffer reads (lock state, tag, time stamp, length) take no
// lock: they resolve the memory's handle and read the record's relaxed fields, as a
// real board's status reads are memory reads. A caller that frees a memory while it
// still reads from it on another thread breaks the SDK's contract, as it would with a
// board.
class SIM_EXPORT Grabber {
public:
    Grabber(const BoardSetup& board, const AppletConfig& applet, const std::string& runtime);
    ~Grabber();
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    Fg_Grabber* Handle() { return &handle_; }
    // The handle stops resolving to this grabber (Fg_CloseBoard).
    void Invalidate() { handle_.object.store(nullptr, std::memory_order_release); }
    bool IsOpen() const { return handle_.object.load(std::memory_order_acquire) != nullptr; }
    int BoardIndex() const { return board_.index; }
    const BoardSetup& Board() const { return board_; }
    unsigned DmaCount() const { return static_cast<unsigned>(engines_.size()); }
    // Stops every DMA; returns once no engine writes any more.
    void Shutdown();

    int Fail(int code, const char* detail = nullptr);
    const LastError& LastFailure() const { return lastError_; }

    int GetParameter(int id, void* value, unsigned dma, int type);
    int SetParameter(int id, const void* value, unsigned dma, int type);

    Fg_Memory* AllocMemory(std::size_t totalBytes, std::int64_t bufferCount);
    Fg_Memory* CreateMemoryHead(std::size_t totalBytes, std::int64_t bufferCount);
    int FreeMemory(Fg_Memory* memory, MemoryHead::Kind kind);
    std::int64_t AddBuffer(void* address, std::size_t size, std::int64_t index, Fg_Memory* head);
    int RemoveBuffer(Fg_Memory* head, std::int64_t index);

    int Acquire(unsigned dma, std::int64_t frameCount, int mode, Fg_Memory* memory);
    int Stop(unsigned dma, Fg_Memory* memory, int flags);
    std::int64_t WaitImage(int mode, std::int64_t picture, unsigned dma, int timeoutSeconds,
                           Fg_Memory* memory);
    std::int64_t QueryStatus(int code, std::int64_t data, unsigned dma, Fg_Memory* memory);
    int SetBufferStatus(int command, std::int64_t bufferNumber, unsigned dma, Fg_Memory* memory);
    int GetBufferParameter(int id, void* value, unsigned dma, Fg_Memory* memory,
                           std::int64_t bufferNumber);

    // The per-image reads of a buffer of the memory `dma` acquires into, inline and
    // without a lock; the full calls above handle everything else (and every failure).
    std::int64_t QueryStatusFast(int code, std::int64_t data, unsigned dma, Fg_Memory* memory) {
        if (code == FG_STATUS_BUFFER_LOCKED) {
            if (const MemoryHead* head = EngineMemoryFast(dma, memory, data)) {
                return head->Record(data).locked ? 1 : 0;
            }
        }
        return QueryStatus(code, data, dma, memory);
    }
    int GetBufferParameterFast(int id, void* value, unsigned dma, Fg_Memory* memory,
                               std::int64_t bufferNumber) {
        const MemoryHead* head = EngineMemoryFast(dma, memory, bufferNumber);
        if (head != nullptr && value != nullptr) {
            const BufferRecord& record = head->Record(bufferNumber);
            if (id == FG_BUFPARAM_TRANSFER_LENGTH) {
                const std::uint64_t length = record.transferLength;
                std::memcpy(value, &length, sizeof(length));
                return FG_OK;
            }
            if (id == FG_BUFPARAM_TAG) {
                const std::uint16_t tag = record.tag;
                std::memcpy(value, &tag, sizeof(tag));
                return FG_OK;
            }
        }
        return GetBufferParameter(id, value, dma, memory, bufferNumber);
    }
    int SoftwareTrigger(unsigned dma);
    int DmaDescription(unsigned dma, char* buffer, std::size_t* size);

    // Test control: FG_OK or an FG_ERR_* code, without touching the last error.
    int GetBufferRecord(unsigned dma, std::int64_t bufferNumber, BufferRecord& record);
    int GetCounters(unsigned dma, DmaEngine::Counters& counters);
    int WaitFrames(unsigned dma, std::int64_t frames, std::chrono::milliseconds timeout);
    int GetFrameSetup(unsigned dma, FrameSetup& setup);

private:
    // The memory `dma` acquires or last acquired into when that is `memory` and holds
    // `bufferNumber`; nullptr otherwise.
    const MemoryHead* EngineMemoryFast(unsigned dma, const Fg_Memory* memory,
                                       std::int64_t bufferNumber) const {
        if (dma >= engines_.size()) {
            return nullptr;
        }
        const MemoryHead* head = engines_[dma]->Memory();
        return head != nullptr && head->Handle() == memory && head->ValidNumber(bufferNumber)
                   ? head
                   : nullptr;
    }
    MemoryHead* FindMemory(const Fg_Memory* memory) const;
    // The memory `dma` acquires or last acquired into, when that is `memory`: found by
    // comparing handles, without reading the caller's handle.
    MemoryHead* MemoryOfEngine(unsigned dma, const Fg_Memory* memory) const;
    // FG_STATUS_BUFFER_LOCKED, without the mutex.
    std::int64_t BufferLocked(std::int64_t bufferNumber, unsigned dma, const Fg_Memory* memory);
    // The engine of `dma` when the memory is the one it acquires or last acquired into.
    int EngineFor(unsigned dma, const Fg_Memory* memory, DmaEngine*& engine);
    Fg_Memory* AddMemory(MemoryHead::Kind kind, std::size_t totalBytes, std::int64_t bufferCount);

    Fg_Grabber handle_;
    const BoardSetup board_;
    const std::string appletName_;
    const std::string runtime_;
    LastError lastError_;

    std::mutex mutex_;
    std::vector<std::unique_ptr<DmaEngine>> engines_;
    std::unordered_map<const Fg_Memory*, std::unique_ptr<MemoryHead>> memories_;
};

} // namespace sim
