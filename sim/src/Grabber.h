// An open frame-grabber board: its applet, DMA engines, memories and last error.
#pragma once

#include "AppletParser.h"
#include "DmaEngine.h"
#include "Handles.h"
#include "LastError.h"
#include "MachineSetup.h"
#include "MemoryHead.h"
#include "SimExport.h"

#include <chrono>
#include <cstdint>
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
// board setup, applet name, runtime and epoch are fixed at construction.
class SIM_EXPORT Grabber {
public:
    Grabber(const BoardSetup& board, const AppletConfig& applet, const std::string& runtime);
    ~Grabber();
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    Fg_Grabber* Handle() { return &handle_; }
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
    int SoftwareTrigger(unsigned dma);
    int DmaDescription(unsigned dma, char* buffer, std::size_t* size);

    // Test control: FG_OK or an FG_ERR_* code, without touching the last error.
    int GetBufferRecord(unsigned dma, std::int64_t bufferNumber, BufferRecord& record);
    int GetCounters(unsigned dma, DmaEngine::Counters& counters);
    int WaitFrames(unsigned dma, std::int64_t frames, std::chrono::milliseconds timeout);
    int GetFrameSetup(unsigned dma, FrameSetup& setup);

private:
    MemoryHead* FindMemory(const Fg_Memory* memory);
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
