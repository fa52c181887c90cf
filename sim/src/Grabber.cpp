#include "Grabber.h"

#include "DmaDescription.h"
#include "ErrorText.h"
#include "ParameterTable.h"
#include <fglib5.h>
#include "simctl/SimControl.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

namespace sim {

namespace {

// Upper bound of buffers per memory: far beyond any real ring, low enough that a typo
// does not try to allocate terabytes of bookkeeping.
constexpr std::int64_t kMaxBuffers = std::int64_t{1} << 24;

} // namespace

Grabber::Grabber(const BoardSetup& board, const AppletConfig& applet, const std::string& runtime)
    : m_board(board), m_appletName(applet.name), m_runtime(runtime) {
    m_handle.serial = nextHandleSerial();
    const auto epoch = DmaEngine::Clock::now();
    for (unsigned i = 0; i < applet.dmas.size(); ++i) {
        m_engines.push_back(std::make_unique<DmaEngine>(i, m_mutex, applet.dmas[i], epoch));
    }
}

Grabber::~Grabber() {
    shutdown();
}

void Grabber::shutdown() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (auto& engine : m_engines) {
        engine->stop(lock);
    }
}

int Grabber::fail(int code, const char* detail) {
    return m_lastError.set(code, fgErrorText(code), detail);
}

int Grabber::getParameter(int id, void* value, unsigned dma, int type) {
    if (value == nullptr) {
        return fail(FG_ERR_NULL_ARGUMENT, "value");
    }
    const ParameterInfo* info = ParameterTable::find(id);
    if (info == nullptr) {
        char detail[64];
        std::snprintf(detail, sizeof(detail), "parameter id %d", id);
        return fail(FG_ERR_INVALID_PARAMETER, detail);
    }
    if (ParameterTable::checkType(*info, type) != FG_OK) {
        return fail(FG_ERR_WRONG_TYPE, info->name);
    }
    if (info->access == ParameterAccess::WO) {
        return fail(FG_ERR_ACCESS_DENIED, info->name);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return fail(FG_ERR_INVALID_DMA, info->name);
    }
    if (id == SIM_PARAM_IMAGE_COUNTER) {
        const std::int64_t count = m_engines[dma]->imageCounter();
        std::memcpy(value, &count, sizeof(count));
        return FG_OK;
    }
    ParameterTable::read(m_engines[dma]->config(), *info, value);
    return FG_OK;
}

int Grabber::setParameter(int id, const void* value, unsigned dma, int type) {
    if (value == nullptr) {
        return fail(FG_ERR_NULL_ARGUMENT, "value");
    }
    const ParameterInfo* info = ParameterTable::find(id);
    if (info == nullptr) {
        char detail[64];
        std::snprintf(detail, sizeof(detail), "parameter id %d", id);
        return fail(FG_ERR_INVALID_PARAMETER, detail);
    }
    if (ParameterTable::checkType(*info, type) != FG_OK) {
        return fail(FG_ERR_WRONG_TYPE, info->name);
    }
    if (info->access == ParameterAccess::RO) {
        return fail(FG_ERR_ACCESS_DENIED, info->name);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return fail(FG_ERR_INVALID_DMA, info->name);
    }
    DmaEngine& engine = *m_engines[dma];
    if (id == SIM_PARAM_SENDSOFTWARETRIGGER) {
        std::uint32_t command = 0;
        std::memcpy(&command, value, sizeof(command));
        if (command != 1) {
            return fail(FG_ERR_INVALID_VALUE, info->name);
        }
        const int result = engine.trigger();
        return result == FG_OK ? FG_OK : fail(result, info->name);
    }
    const int result = ParameterTable::write(engine.config(), *info, value);
    if (result != FG_OK) {
        return fail(result, info->name);
    }
    engine.configChanged();
    return FG_OK;
}

MemoryHead* Grabber::findMemory(const Fg_Memory* memory) {
    const auto found = m_memories.find(memory);
    return found == m_memories.end() ? nullptr : found->second.get();
}

Fg_Memory* Grabber::addMemory(MemoryHead::Kind kind, std::size_t totalBytes,
                              std::int64_t bufferCount) {
    if (bufferCount < 1 || bufferCount > kMaxBuffers || totalBytes == 0 ||
        (kind == MemoryHead::Kind::Allocated &&
         totalBytes / static_cast<std::size_t>(bufferCount) == 0)) {
        fail(FG_ERR_INVALID_SIZE);
        return nullptr;
    }
    try {
        auto head = std::make_unique<MemoryHead>(kind, totalBytes, bufferCount);
        Fg_Memory* handle = head->handle();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_memories.emplace(handle, std::move(head));
        return handle;
    } catch (const std::bad_alloc&) {
        fail(FG_ERR_OUT_OF_MEMORY);
        return nullptr;
    }
}

Fg_Memory* Grabber::allocMemory(std::size_t totalBytes, std::int64_t bufferCount) {
    return addMemory(MemoryHead::Kind::Allocated, totalBytes, bufferCount);
}

Fg_Memory* Grabber::createMemoryHead(std::size_t totalBytes, std::int64_t bufferCount) {
    return addMemory(MemoryHead::Kind::Custom, totalBytes, bufferCount);
}

int Grabber::freeMemory(Fg_Memory* memory, MemoryHead::Kind kind) {
    std::unique_ptr<MemoryHead> doomed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        MemoryHead* head = findMemory(memory);
        if (head == nullptr) {
            return fail(FG_ERR_INVALID_MEMORY);
        }
        if (head->kind() != kind) {
            return fail(FG_ERR_WRONG_MEMORY_KIND);
        }
        if (head->acquiring) {
            return fail(FG_ERR_MEMORY_IN_USE);
        }
        for (auto& engine : m_engines) {
            engine->forget(head);
        }
        const auto found = m_memories.find(memory);
        doomed = std::move(found->second);
        m_memories.erase(found);
    }
    return FG_OK; // storage is released outside the lock
}

std::int64_t Grabber::addBuffer(void* address, std::size_t size, std::int64_t index,
                                Fg_Memory* memory) {
    std::lock_guard<std::mutex> lock(m_mutex);
    MemoryHead* head = findMemory(memory);
    if (head == nullptr) {
        return fail(FG_ERR_INVALID_MEMORY);
    }
    if (head->acquiring) {
        return fail(FG_ERR_MEMORY_IN_USE);
    }
    const int result = head->add(address, size, index);
    return result == FG_OK ? index : fail(result);
}

int Grabber::removeBuffer(Fg_Memory* memory, std::int64_t index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    MemoryHead* head = findMemory(memory);
    if (head == nullptr) {
        return fail(FG_ERR_INVALID_MEMORY);
    }
    if (head->acquiring) {
        return fail(FG_ERR_MEMORY_IN_USE);
    }
    const int result = head->remove(index);
    return result == FG_OK ? FG_OK : fail(result);
}

int Grabber::acquire(unsigned dma, std::int64_t frameCount, int mode, Fg_Memory* memory) {
    if (mode != FG_ACQ_STANDARD && mode != FG_ACQ_BLOCKING) {
        return fail(FG_ERR_INVALID_MODE);
    }
    if (frameCount == 0 || frameCount < FG_FRAMES_ENDLESS) {
        return fail(FG_ERR_INVALID_ARGUMENT, "frame count");
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return fail(FG_ERR_INVALID_DMA);
    }
    MemoryHead* head = findMemory(memory);
    if (head == nullptr) {
        return fail(FG_ERR_INVALID_MEMORY);
    }
    DmaEngine& engine = *m_engines[dma];
    if (engine.acquiring()) {
        return fail(FG_ERR_DMA_BUSY);
    }
    if (head->acquiring) {
        return fail(FG_ERR_MEMORY_IN_USE);
    }
    if (!head->complete()) {
        return fail(FG_ERR_NO_BUFFERS);
    }
    const int result = engine.start(*head, frameCount, mode);
    return result == FG_OK ? FG_OK : fail(result);
}

int Grabber::stop(unsigned dma, Fg_Memory* memory, int flags) {
    if (flags != FG_STOP_SYNC) {
        return fail(FG_ERR_INVALID_ARGUMENT, "stop flags");
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    DmaEngine* engine = nullptr;
    const int found = engineFor(dma, memory, engine);
    if (found != FG_OK) {
        return fail(found);
    }
    const int result = engine->stop(lock);
    return result == FG_OK ? FG_OK : fail(result);
}

int Grabber::engineFor(unsigned dma, const Fg_Memory* memory, DmaEngine*& engine) {
    if (dma >= m_engines.size()) {
        return FG_ERR_INVALID_DMA;
    }
    MemoryHead* head = findMemory(memory);
    if (head == nullptr || m_engines[dma]->memory() != head) {
        return FG_ERR_INVALID_MEMORY;
    }
    engine = m_engines[dma].get();
    return FG_OK;
}

std::int64_t Grabber::waitImage(int mode, std::int64_t picture, unsigned dma, int timeoutSeconds,
                                Fg_Memory* memory) {
    if (mode != FG_WAIT_PICTURE_NUMBER) {
        return fail(FG_ERR_INVALID_MODE);
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    DmaEngine* engine = nullptr;
    const int found = engineFor(dma, memory, engine);
    if (found != FG_OK) {
        return fail(found);
    }
    const std::int64_t result = engine->waitImage(lock, picture, timeoutSeconds);
    return result >= 0 ? result : fail(static_cast<int>(result));
}

std::int64_t Grabber::queryStatus(int code, std::int64_t data, unsigned dma, Fg_Memory* memory) {
    std::lock_guard<std::mutex> lock(m_mutex);
    DmaEngine* engine = nullptr;
    const int found = engineFor(dma, memory, engine);
    if (found != FG_OK) {
        return fail(found);
    }
    const std::int64_t result = engine->status(code, data);
    return result >= 0 ? result : fail(static_cast<int>(result));
}

int Grabber::setBufferStatus(int command, std::int64_t bufferNumber, unsigned dma,
                             Fg_Memory* memory) {
    if (command != FG_BUFFER_UNBLOCK) {
        return fail(FG_ERR_INVALID_STATUS);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    DmaEngine* engine = nullptr;
    const int found = engineFor(dma, memory, engine);
    if (found != FG_OK) {
        return fail(found);
    }
    const int result = engine->unblock(bufferNumber);
    return result == FG_OK ? FG_OK : fail(result);
}

int Grabber::getBufferParameter(int id, void* value, unsigned dma, Fg_Memory* memory,
                                std::int64_t bufferNumber) {
    if (value == nullptr) {
        return fail(FG_ERR_NULL_ARGUMENT, "value");
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return fail(FG_ERR_INVALID_DMA);
    }
    const MemoryHead* head = findMemory(memory);
    // Records belong to the DMA that wrote them; a memory never acquired into has none.
    if (head == nullptr || (head->boundDma >= 0 && head->boundDma != static_cast<int>(dma))) {
        return fail(FG_ERR_INVALID_MEMORY);
    }
    if (!head->validNumber(bufferNumber)) {
        return fail(FG_ERR_INVALID_BUFFER_NUMBER);
    }
    const BufferRecord& record = head->record(bufferNumber);
    switch (id) {
    case FG_BUFPARAM_TAG: {
        const std::uint16_t tag = record.tag;
        std::memcpy(value, &tag, sizeof(tag));
        return FG_OK;
    }
    case FG_BUFPARAM_TIMESTAMP32: {
        const auto low = static_cast<std::uint32_t>(record.timestamp);
        std::memcpy(value, &low, sizeof(low));
        return FG_OK;
    }
    case FG_BUFPARAM_TIMESTAMP64: {
        const std::uint64_t stamp = record.timestamp;
        std::memcpy(value, &stamp, sizeof(stamp));
        return FG_OK;
    }
    case FG_BUFPARAM_TRANSFER_LENGTH: {
        const std::uint64_t length = record.transferLength;
        std::memcpy(value, &length, sizeof(length));
        return FG_OK;
    }
    default:
        return fail(FG_ERR_INVALID_PARAMETER, "buffer parameter");
    }
}

int Grabber::softwareTrigger(unsigned dma) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return fail(FG_ERR_INVALID_DMA);
    }
    const int result = m_engines[dma]->trigger();
    return result == FG_OK ? FG_OK : fail(result);
}

int Grabber::dmaDescription(unsigned dma, char* buffer, std::size_t* size) {
    if (size == nullptr) {
        return fail(FG_ERR_NULL_ARGUMENT, "size");
    }
    if (dma >= m_engines.size()) {
        return fail(FG_ERR_INVALID_DMA);
    }
    std::string text;
    if (m_board.dmaXmlPath.empty()) {
        text = DmaDescription::build(m_runtime, m_board.type, dma, m_appletName);
    } else {
        std::ifstream file(m_board.dmaXmlPath, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        if (!file) {
            return fail(FG_ERR_MACHINE, "DMA description file cannot be read");
        }
        text = content.str();
    }
    const std::size_t needed = text.size() + 1;
    if (buffer == nullptr) {
        *size = needed;
        return FG_OK;
    }
    if (*size < needed) {
        *size = needed;
        return fail(FG_ERR_BUFFER_TOO_SMALL);
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return FG_OK;
}

int Grabber::bufferRecord(unsigned dma, std::int64_t bufferNumber, BufferRecord& record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return FG_ERR_INVALID_DMA;
    }
    const MemoryHead* head = m_engines[dma]->memory();
    if (head == nullptr) {
        return FG_ERR_INVALID_MEMORY;
    }
    if (!head->validNumber(bufferNumber)) {
        return FG_ERR_INVALID_BUFFER_NUMBER;
    }
    record = head->record(bufferNumber);
    return FG_OK;
}

int Grabber::counters(unsigned dma, DmaEngine::Counters& counters) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return FG_ERR_INVALID_DMA;
    }
    counters = m_engines[dma]->counters();
    return FG_OK;
}

int Grabber::waitFrames(unsigned dma, std::int64_t frames, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return FG_ERR_INVALID_DMA;
    }
    return m_engines[dma]->waitProduced(lock, frames, timeout);
}

int Grabber::frameSetup(unsigned dma, FrameSetup& setup) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (dma >= m_engines.size()) {
        return FG_ERR_INVALID_DMA;
    }
    setup = FrameSetup::of(m_engines[dma]->config());
    return FG_OK;
}

} // namespace sim
