#include "Grabber.h"

#include "DmaDescription.h"
#include "ErrorText.h"
#include "MemorySlots.h"
#include "ParameterTable.h"
#include "simctl/SimControl.h"
#include <fglib5.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

namespace sim {

namespace {

// Upper bound of buffers per memory: far beyond any real ring, low enough that a typo
// does not try to allocate terabytes of bookkeeping.
constexpr std::int64_t MaxBuffers = std::int64_t{1} << 24;

} // namespace

Grabber::Grabber(const BoardSetup& board, const AppletConfig& applet, const std::string& runtime)
    : board_(board), appletName_(applet.name), runtime_(runtime) {
    handle_.serial = NextHandleSerial();
    handle_.object.store(this, std::memory_order_release);
    const auto epoch = DmaEngine::Clock::now();
    for (unsigned i = 0; i < applet.dmas.size(); ++i) {
        engines_.push_back(std::make_unique<DmaEngine>(i, mutex_, applet.dmas[i], epoch));
    }
}

Grabber::~Grabber() {
    Invalidate();
    Shutdown();
    for (auto& entry : memories_) {
        MemorySlots::Instance().Release(entry.second->Handle());
    }
}

void Grabber::Shutdown() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (auto& engine : engines_) {
        engine->Stop(lock);
    }
}

int Grabber::Fail(int code, const char* detail) {
    return lastError_.Set(code, FgErrorText(code), detail);
}

int Grabber::GetParameter(int id, void* value, unsigned dma, int type) {
    if (value == nullptr) {
        return Fail(FG_ERR_NULL_ARGUMENT, "value");
    }
    const ParameterInfo* info = ParameterTable::Find(id);
    if (info == nullptr) {
        char detail[64];
        std::snprintf(detail, sizeof(detail), "parameter id %d", id);
        return Fail(FG_ERR_INVALID_PARAMETER, detail);
    }
    if (ParameterTable::CheckType(*info, type) != FG_OK) {
        return Fail(FG_ERR_WRONG_TYPE, info->name);
    }
    if (info->access == ParameterAccess::WO) {
        return Fail(FG_ERR_ACCESS_DENIED, info->name);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA, info->name);
    }
    if (id == SIM_PARAM_IMAGE_COUNTER) {
        const std::int64_t count = engines_[dma]->ImageCounter();
        std::memcpy(value, &count, sizeof(count));
        return FG_OK;
    }
    ParameterTable::Read(engines_[dma]->Config(), *info, value);
    return FG_OK;
}

int Grabber::SetParameter(int id, const void* value, unsigned dma, int type) {
    if (value == nullptr) {
        return Fail(FG_ERR_NULL_ARGUMENT, "value");
    }
    const ParameterInfo* info = ParameterTable::Find(id);
    if (info == nullptr) {
        char detail[64];
        std::snprintf(detail, sizeof(detail), "parameter id %d", id);
        return Fail(FG_ERR_INVALID_PARAMETER, detail);
    }
    if (ParameterTable::CheckType(*info, type) != FG_OK) {
        return Fail(FG_ERR_WRONG_TYPE, info->name);
    }
    if (info->access == ParameterAccess::RO) {
        return Fail(FG_ERR_ACCESS_DENIED, info->name);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA, info->name);
    }
    DmaEngine& engine = *engines_[dma];
    if (id == SIM_PARAM_SENDSOFTWARETRIGGER) {
        std::uint32_t command = 0;
        std::memcpy(&command, value, sizeof(command));
        if (command != 1) {
            return Fail(FG_ERR_INVALID_VALUE, info->name);
        }
        const int result = engine.Trigger();
        return result == FG_OK ? FG_OK : Fail(result, info->name);
    }
    const int result = ParameterTable::Write(engine.Config(), *info, value);
    if (result != FG_OK) {
        return Fail(result, info->name);
    }
    engine.ConfigChanged();
    return FG_OK;
}

MemoryHead* Grabber::FindMemory(const Fg_Memory* memory) const {
    return MemorySlots::Instance().Resolve(memory, this);
}

Fg_Memory* Grabber::AddMemory(MemoryHead::Kind kind, std::size_t totalBytes,
                              std::int64_t bufferCount) {
    if (bufferCount < 1 || bufferCount > MaxBuffers || totalBytes == 0 ||
        (kind == MemoryHead::Kind::Allocated &&
         totalBytes / static_cast<std::size_t>(bufferCount) == 0)) {
        Fail(FG_ERR_INVALID_SIZE);
        return nullptr;
    }
    try {
        auto head = std::make_unique<MemoryHead>(kind, totalBytes, bufferCount);
        std::lock_guard<std::mutex> lock(mutex_);
        Fg_Memory* handle = MemorySlots::Instance().Acquire(this, head.get());
        head->SetHandle(handle);
        try {
            memories_.emplace(handle, std::move(head));
        } catch (...) {
            MemorySlots::Instance().Release(handle);
            throw;
        }
        return handle;
    } catch (const std::bad_alloc&) {
        Fail(FG_ERR_OUT_OF_MEMORY);
        return nullptr;
    }
}

Fg_Memory* Grabber::AllocMemory(std::size_t totalBytes, std::int64_t bufferCount) {
    return AddMemory(MemoryHead::Kind::Allocated, totalBytes, bufferCount);
}

Fg_Memory* Grabber::CreateMemoryHead(std::size_t totalBytes, std::int64_t bufferCount) {
    return AddMemory(MemoryHead::Kind::Custom, totalBytes, bufferCount);
}

int Grabber::FreeMemory(Fg_Memory* memory, MemoryHead::Kind kind) {
    std::unique_ptr<MemoryHead> doomed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        MemoryHead* head = FindMemory(memory);
        if (head == nullptr) {
            return Fail(FG_ERR_INVALID_MEMORY);
        }
        if (head->HeadKind() != kind) {
            return Fail(FG_ERR_WRONG_MEMORY_KIND);
        }
        if (head->acquiring) {
            return Fail(FG_ERR_MEMORY_IN_USE);
        }
        for (auto& engine : engines_) {
            engine->Forget(head);
        }
        const auto found = memories_.find(memory);
        doomed = std::move(found->second);
        memories_.erase(found);
        MemorySlots::Instance().Release(doomed->Handle());
    }
    return FG_OK; // storage is released outside the lock
}

std::int64_t Grabber::AddBuffer(void* address, std::size_t size, std::int64_t index,
                                Fg_Memory* memory) {
    std::lock_guard<std::mutex> lock(mutex_);
    MemoryHead* head = FindMemory(memory);
    if (head == nullptr) {
        return Fail(FG_ERR_INVALID_MEMORY);
    }
    if (head->acquiring) {
        return Fail(FG_ERR_MEMORY_IN_USE);
    }
    const int result = head->Add(address, size, index);
    return result == FG_OK ? index : Fail(result);
}

int Grabber::RemoveBuffer(Fg_Memory* memory, std::int64_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    MemoryHead* head = FindMemory(memory);
    if (head == nullptr) {
        return Fail(FG_ERR_INVALID_MEMORY);
    }
    if (head->acquiring) {
        return Fail(FG_ERR_MEMORY_IN_USE);
    }
    const int result = head->Remove(index);
    return result == FG_OK ? FG_OK : Fail(result);
}

int Grabber::Acquire(unsigned dma, std::int64_t frameCount, int mode, Fg_Memory* memory) {
    if (mode != FG_ACQ_STANDARD && mode != FG_ACQ_BLOCKING) {
        return Fail(FG_ERR_INVALID_MODE);
    }
    if (frameCount == 0 || frameCount < FG_FRAMES_ENDLESS) {
        return Fail(FG_ERR_INVALID_ARGUMENT, "frame count");
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA);
    }
    MemoryHead* head = FindMemory(memory);
    if (head == nullptr) {
        return Fail(FG_ERR_INVALID_MEMORY);
    }
    DmaEngine& engine = *engines_[dma];
    if (engine.Acquiring()) {
        return Fail(FG_ERR_DMA_BUSY);
    }
    if (head->acquiring) {
        return Fail(FG_ERR_MEMORY_IN_USE);
    }
    if (!head->Complete()) {
        return Fail(FG_ERR_NO_BUFFERS);
    }
    const int result = engine.Start(*head, frameCount, mode);
    return result == FG_OK ? FG_OK : Fail(result);
}

int Grabber::Stop(unsigned dma, Fg_Memory* memory, int flags) {
    if (flags != FG_STOP_SYNC) {
        return Fail(FG_ERR_INVALID_ARGUMENT, "stop flags");
    }
    std::unique_lock<std::mutex> lock(mutex_);
    DmaEngine* engine = nullptr;
    const int found = EngineFor(dma, memory, engine);
    if (found != FG_OK) {
        return Fail(found);
    }
    const int result = engine->Stop(lock);
    return result == FG_OK ? FG_OK : Fail(result);
}

MemoryHead* Grabber::MemoryOfEngine(unsigned dma, const Fg_Memory* memory) const {
    MemoryHead* head = engines_[dma]->Memory();
    return head != nullptr && head->Handle() == memory ? head : nullptr;
}

int Grabber::EngineFor(unsigned dma, const Fg_Memory* memory, DmaEngine*& engine) {
    if (dma >= engines_.size()) {
        return FG_ERR_INVALID_DMA;
    }
    // The engine's own memory is what the per-image calls name; only another one is
    // looked for.
    MemoryHead* head = MemoryOfEngine(dma, memory);
    if (head == nullptr) {
        head = FindMemory(memory);
    }
    if (head == nullptr || engines_[dma]->Memory() != head) {
        return FG_ERR_INVALID_MEMORY;
    }
    engine = engines_[dma].get();
    return FG_OK;
}

std::int64_t Grabber::WaitImage(int mode, std::int64_t picture, unsigned dma, int timeoutSeconds,
                                Fg_Memory* memory) {
    if (mode != FG_WAIT_PICTURE_NUMBER) {
        return Fail(FG_ERR_INVALID_MODE);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    DmaEngine* engine = nullptr;
    const int found = EngineFor(dma, memory, engine);
    if (found != FG_OK) {
        return Fail(found);
    }
    const std::int64_t result = engine->WaitImage(lock, picture, timeoutSeconds);
    return result >= 0 ? result : Fail(static_cast<int>(result));
}

std::int64_t Grabber::BufferLocked(std::int64_t bufferNumber, unsigned dma,
                                   const Fg_Memory* memory) {
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA);
    }
    const MemoryHead* head = MemoryOfEngine(dma, memory);
    if (head == nullptr) {
        return Fail(FG_ERR_INVALID_MEMORY);
    }
    if (!head->ValidNumber(bufferNumber)) {
        return Fail(FG_ERR_INVALID_BUFFER_NUMBER);
    }
    return head->Record(bufferNumber).locked ? 1 : 0;
}

std::int64_t Grabber::QueryStatus(int code, std::int64_t data, unsigned dma, Fg_Memory* memory) {
    if (code == FG_STATUS_BUFFER_LOCKED) {
        return BufferLocked(data, dma, memory);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    DmaEngine* engine = nullptr;
    const int found = EngineFor(dma, memory, engine);
    if (found != FG_OK) {
        return Fail(found);
    }
    const std::int64_t result = engine->Status(code, data);
    return result >= 0 ? result : Fail(static_cast<int>(result));
}

int Grabber::SetBufferStatus(int command, std::int64_t bufferNumber, unsigned dma,
                             Fg_Memory* memory) {
    if (command != FG_BUFFER_UNBLOCK) {
        return Fail(FG_ERR_INVALID_STATUS);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    DmaEngine* engine = nullptr;
    const int found = EngineFor(dma, memory, engine);
    if (found != FG_OK) {
        return Fail(found);
    }
    const int result = engine->Unblock(bufferNumber);
    return result == FG_OK ? FG_OK : Fail(result);
}

int Grabber::GetBufferParameter(int id, void* value, unsigned dma, Fg_Memory* memory,
                                std::int64_t bufferNumber) {
    if (value == nullptr) {
        return Fail(FG_ERR_NULL_ARGUMENT, "value");
    }
    // No lock: the engines are fixed, and the memory and its records are read as
    // registers (see the class comment).
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA);
    }
    const MemoryHead* head = MemoryOfEngine(dma, memory);
    if (head == nullptr) {
        head = FindMemory(memory);
    }
    // Records belong to the DMA that wrote them; a memory never acquired into has none.
    if (head == nullptr || (head->boundDma >= 0 && head->boundDma != static_cast<int>(dma))) {
        return Fail(FG_ERR_INVALID_MEMORY);
    }
    if (!head->ValidNumber(bufferNumber)) {
        return Fail(FG_ERR_INVALID_BUFFER_NUMBER);
    }
    const BufferRecord& record = head->Record(bufferNumber);
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
        return Fail(FG_ERR_INVALID_PARAMETER, "buffer parameter");
    }
}

int Grabber::SoftwareTrigger(unsigned dma) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA);
    }
    const int result = engines_[dma]->Trigger();
    return result == FG_OK ? FG_OK : Fail(result);
}

int Grabber::DmaDescription(unsigned dma, char* buffer, std::size_t* size) {
    if (size == nullptr) {
        return Fail(FG_ERR_NULL_ARGUMENT, "size");
    }
    if (dma >= engines_.size()) {
        return Fail(FG_ERR_INVALID_DMA);
    }
    std::string text;
    if (board_.dmaXmlPath.empty()) {
        text = DmaDescription::Build(runtime_, board_.type, dma, appletName_);
    } else {
        std::ifstream file(board_.dmaXmlPath, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        if (!file) {
            return Fail(FG_ERR_MACHINE, "DMA description file cannot be read");
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
        return Fail(FG_ERR_BUFFER_TOO_SMALL);
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return FG_OK;
}

int Grabber::GetBufferRecord(unsigned dma, std::int64_t bufferNumber, BufferRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return FG_ERR_INVALID_DMA;
    }
    const MemoryHead* head = engines_[dma]->Memory();
    if (head == nullptr) {
        return FG_ERR_INVALID_MEMORY;
    }
    if (!head->ValidNumber(bufferNumber)) {
        return FG_ERR_INVALID_BUFFER_NUMBER;
    }
    record = head->Record(bufferNumber);
    return FG_OK;
}

int Grabber::GetCounters(unsigned dma, DmaEngine::Counters& counters) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return FG_ERR_INVALID_DMA;
    }
    counters = engines_[dma]->CurrentCounters();
    return FG_OK;
}

int Grabber::WaitFrames(unsigned dma, std::int64_t frames, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return FG_ERR_INVALID_DMA;
    }
    return engines_[dma]->WaitProduced(lock, frames, timeout);
}

int Grabber::GetFrameSetup(unsigned dma, FrameSetup& setup) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dma >= engines_.size()) {
        return FG_ERR_INVALID_DMA;
    }
    setup = FrameSetup::Of(engines_[dma]->Config());
    return FG_OK;
}

} // namespace sim
