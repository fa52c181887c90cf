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
// Thread-safe: m_mutex guards m_memories, every engine's state and configuration, and the
// records in the memories. Blocking calls (wait, stop) release it while they wait. The
// board setup, applet name, runtime and epoch are fixed at construction.
class SIM_EXPORT Grabber {
public:
    Grabber(const BoardSetup& board, const AppletConfig& applet, const std::string& runtime);
    ~Grabber();
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    Fg_Grabber* handle() { return &m_handle; }
    int boardIndex() const { return m_board.index; }
    const BoardSetup& board() const { return m_board; }
    unsigned dmaCount() const { return static_cast<unsigned>(m_engines.size()); }
    // Stops every DMA; returns once no engine writes any more.
    void shutdown();

    int fail(int code, const char* detail = nullptr);
    const LastError& lastError() const { return m_lastError; }

    int getParameter(int id, void* value, unsigned dma, int type);
    int setParameter(int id, const void* value, unsigned dma, int type);

    Fg_Memory* allocMemory(std::size_t totalBytes, std::int64_t bufferCount);
    Fg_Memory* createMemoryHead(std::size_t totalBytes, std::int64_t bufferCount);
    int freeMemory(Fg_Memory* memory, MemoryHead::Kind kind);
    std::int64_t addBuffer(void* address, std::size_t size, std::int64_t index, Fg_Memory* head);
    int removeBuffer(Fg_Memory* head, std::int64_t index);

    int acquire(unsigned dma, std::int64_t frameCount, int mode, Fg_Memory* memory);
    int stop(unsigned dma, Fg_Memory* memory, int flags);
    std::int64_t waitImage(int mode, std::int64_t picture, unsigned dma, int timeoutSeconds,
                           Fg_Memory* memory);
    std::int64_t queryStatus(int code, std::int64_t data, unsigned dma, Fg_Memory* memory);
    int setBufferStatus(int command, std::int64_t bufferNumber, unsigned dma, Fg_Memory* memory);
    int getBufferParameter(int id, void* value, unsigned dma, Fg_Memory* memory,
                           std::int64_t bufferNumber);
    int softwareTrigger(unsigned dma);
    int dmaDescription(unsigned dma, char* buffer, std::size_t* size);

    // Test control: FG_OK or an FG_ERR_* code, without touching the last error.
    int bufferRecord(unsigned dma, std::int64_t bufferNumber, BufferRecord& record);
    int counters(unsigned dma, DmaEngine::Counters& counters);
    int waitFrames(unsigned dma, std::int64_t frames, std::chrono::milliseconds timeout);
    int frameSetup(unsigned dma, FrameSetup& setup);

private:
    MemoryHead* findMemory(const Fg_Memory* memory);
    // The engine of `dma` when the memory is the one it acquires or last acquired into.
    int engineFor(unsigned dma, const Fg_Memory* memory, DmaEngine*& engine);
    Fg_Memory* addMemory(MemoryHead::Kind kind, std::size_t totalBytes, std::int64_t bufferCount);

    Fg_Grabber m_handle;
    const BoardSetup m_board;
    const std::string m_appletName;
    const std::string m_runtime;
    LastError m_lastError;

    std::mutex m_mutex;
    std::vector<std::unique_ptr<DmaEngine>> m_engines;
    std::unordered_map<const Fg_Memory*, std::unique_ptr<MemoryHead>> m_memories;
};

} // namespace sim
