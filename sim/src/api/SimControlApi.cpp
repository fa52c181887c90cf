// The test control API of simctl/SimControl.h.
#include "simctl/SimControl.h"

#include "FaultTable.h"
#include "Machine.h"
#include "MachineParser.h"
#include "PatternGenerator.h"
#include "PixelFormat.h"
#include <fglib5.h>

#include <chrono>
#include <cstdio>
#include <string>

using namespace sim;

namespace {

thread_local char threadError[512] = "";

int Failed(int code, const std::string& text) {
    std::snprintf(threadError, sizeof(threadError), "%s", text.c_str());
    return code;
}

int Succeeded() {
    threadError[0] = '\0';
    return SIMCTL_OK;
}

int FromFg(int code) {
    switch (code) {
    case FG_OK:
        return Succeeded();
    case FG_ERR_INVALID_DMA:
        return Failed(SIMCTL_ERR_NO_DMA, "DMA index not offered by the applet");
    case FG_ERR_INVALID_MEMORY:
        return Failed(SIMCTL_ERR_NO_MEMORY, "the DMA has not acquired into any memory");
    case FG_ERR_INVALID_BUFFER_NUMBER:
        return Failed(SIMCTL_ERR_RANGE, "buffer number out of range");
    case FG_ERR_TIMEOUT:
        return Failed(SIMCTL_ERR_TIMEOUT, "frames not produced in time");
    default:
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "unexpected failure");
    }
}

std::shared_ptr<Grabber> OpenBoard(int boardIndex) {
    Machine::Instance().EnsureLoaded();
    return Machine::Instance().GrabberOfBoard(boardIndex);
}

int NoBoard(int boardIndex) {
    return Failed(SIMCTL_ERR_NO_BOARD, "no open board at index " + std::to_string(boardIndex));
}

int PatternByte(const FrameSetup& setup, std::uint32_t x, std::uint32_t y, unsigned k,
                std::int64_t picture) {
    if (x >= setup.width || y >= setup.height || k >= PixelFormat::BytesPerPixel(setup.format)) {
        return Failed(SIMCTL_ERR_RANGE, "position outside the image");
    }
    Succeeded();
    return PatternGenerator::ByteAt(
        setup.pattern, setup.format, static_cast<std::uint64_t>(x) + setup.xoffset,
        static_cast<std::uint64_t>(y) + setup.yoffset, k, picture, setup.patternOffset);
}

} // namespace

extern "C" {

int SimCtl_FailCall(const char* function, int code, int count) {
    const auto found = FaultTable::Lookup(function);
    if (!found) {
        return Failed(SIMCTL_ERR_UNKNOWN_FUNCTION,
                      std::string("no SDK function ") + (function ? function : "(null)"));
    }
    // Load first: a lazy load later would replace the faults armed now.
    Machine::Instance().EnsureLoaded();
    FaultTable::Instance().ArmFailure(*found, code, count);
    return Succeeded();
}

int SimCtl_DelayCall(const char* function, unsigned milliseconds, int count) {
    const auto found = FaultTable::Lookup(function);
    if (!found) {
        return Failed(SIMCTL_ERR_UNKNOWN_FUNCTION,
                      std::string("no SDK function ") + (function ? function : "(null)"));
    }
    Machine::Instance().EnsureLoaded();
    FaultTable::Instance().ArmDelay(*found, milliseconds, count);
    return Succeeded();
}

void SimCtl_ClearFaults(void) {
    FaultTable::Instance().Clear();
}

int64_t SimCtl_CallCount(const char* function) {
    const auto found = FaultTable::Lookup(function);
    return found ? FaultTable::Instance().CallCount(*found) : -1;
}

void SimCtl_ResetCallCounts(void) {
    FaultTable::Instance().ResetCounts();
}

void SimCtl_RecordCallOrder(int on) {
    FaultTable::Instance().RecordOrder(on != 0);
}

int64_t SimCtl_LastCallOrder(const char* function) {
    const auto found = FaultTable::Lookup(function);
    return found ? FaultTable::Instance().LastOrder(*found) : -1;
}

int SimCtl_LoadMachineFile(const char* path) {
    if (path == nullptr) {
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "no path");
    }
    std::string error;
    const int result = Machine::Instance().LoadFile(path, error);
    return result == SIMCTL_OK ? Succeeded() : Failed(result, error);
}

int SimCtl_LoadMachineText(const char* text) {
    if (text == nullptr) {
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "no text");
    }
    std::string error;
    const int result = Machine::Instance().LoadText(text, error);
    return result == SIMCTL_OK ? Succeeded() : Failed(result, error);
}

int SimCtl_ResetMachine(void) {
    std::string error;
    const int result = Machine::Instance().Reset(error);
    return result == SIMCTL_OK ? Succeeded() : Failed(result, error);
}

const char* SimCtl_EmbeddedMachine(void) {
    return MachineParser::EmbeddedDefault();
}

const char* SimCtl_LastError(void) {
    if (threadError[0] == '\0') {
        const std::string loadError = Machine::Instance().LoadError();
        std::snprintf(threadError, sizeof(threadError), "%s", loadError.c_str());
    }
    return threadError;
}

int SimCtl_ReadCameraMemory(const char* camera, uint64_t address, void* buffer, size_t length) {
    const auto device = Machine::Instance().Camera(camera ? camera : "");
    if (device == nullptr) {
        return Failed(SIMCTL_ERR_NO_CAMERA, std::string("no camera ") + (camera ? camera : ""));
    }
    if (buffer == nullptr || !device->Peek(address, buffer, length)) {
        return Failed(SIMCTL_ERR_RANGE, "range outside the camera's memory");
    }
    return Succeeded();
}

int SimCtl_WriteCameraMemory(const char* camera, uint64_t address, const void* buffer,
                             size_t length) {
    const auto device = Machine::Instance().Camera(camera ? camera : "");
    if (device == nullptr) {
        return Failed(SIMCTL_ERR_NO_CAMERA, std::string("no camera ") + (camera ? camera : ""));
    }
    if (buffer == nullptr || !device->Poke(address, buffer, length)) {
        return Failed(SIMCTL_ERR_RANGE, "range outside the camera's memory");
    }
    return Succeeded();
}

int SimCtl_CameraState(const char* camera) {
    const auto device = Machine::Instance().Camera(camera ? camera : "");
    if (device == nullptr) {
        return Failed(SIMCTL_ERR_NO_CAMERA, std::string("no camera ") + (camera ? camera : ""));
    }
    Succeeded();
    return (device->Linked() ? SIM_CAMERA_LINK_UP : 0) |
           (device->Connected() ? SIM_CAMERA_CONNECTED : 0) |
           (device->Acquiring() ? SIM_CAMERA_ACQUIRING : 0) |
           (device->Powered() ? SIM_CAMERA_POWERED : 0);
}

int SimCtl_GetBufferRecord(int boardIndex, unsigned dma, int64_t bufferNumber,
                           SimCtlBufferRecord* record) {
    const auto grabber = OpenBoard(boardIndex);
    if (grabber == nullptr) {
        return NoBoard(boardIndex);
    }
    if (record == nullptr) {
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "no record");
    }
    BufferRecord found;
    const int result = grabber->GetBufferRecord(dma, bufferNumber, found);
    if (result != FG_OK) {
        return FromFg(result);
    }
    record->pictureNumber = found.picture;
    record->tag = found.tag;
    record->timestamp32 = static_cast<uint32_t>(found.timestamp);
    record->timestamp64 = found.timestamp;
    record->transferLength = found.transferLength;
    record->locked = found.locked ? 1 : 0;
    record->width = found.setup.width;
    record->height = found.setup.height;
    record->xoffset = found.setup.xoffset;
    record->yoffset = found.setup.yoffset;
    record->format = found.setup.format;
    record->pattern = found.setup.pattern;
    record->patternOffset = found.setup.patternOffset;
    return Succeeded();
}

int SimCtl_GetDmaCounters(int boardIndex, unsigned dma, SimCtlDmaCounters* counters) {
    const auto grabber = OpenBoard(boardIndex);
    if (grabber == nullptr) {
        return NoBoard(boardIndex);
    }
    if (counters == nullptr) {
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "no counters");
    }
    DmaEngine::Counters found;
    const int result = grabber->GetCounters(dma, found);
    if (result != FG_OK) {
        return FromFg(result);
    }
    counters->acquiring = found.acquiring ? 1 : 0;
    counters->delivered = found.delivered;
    counters->lost = found.lost;
    counters->lostBlocked = found.lostBlocked;
    counters->produced = found.produced;
    counters->collected = found.collected;
    counters->pendingTriggers = found.pendingTriggers;
    return Succeeded();
}

int SimCtl_WaitFrames(int boardIndex, unsigned dma, int64_t frames, unsigned timeoutMs) {
    const auto grabber = OpenBoard(boardIndex);
    if (grabber == nullptr) {
        return NoBoard(boardIndex);
    }
    return FromFg(grabber->WaitFrames(dma, frames, std::chrono::milliseconds(timeoutMs)));
}

int SimCtl_PatternByte(int pattern, int format, uint64_t sensorX, uint64_t sensorY,
                       unsigned byteInPixel, int64_t picture, int32_t offset) {
    if (pattern < 0 || static_cast<std::uint32_t>(pattern) >= PatternGenerator::PatternCount) {
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "unknown pattern");
    }
    Succeeded();
    return PatternGenerator::ByteAt(static_cast<std::uint32_t>(pattern),
                                    static_cast<std::uint32_t>(format), sensorX, sensorY,
                                    byteInPixel, picture, offset);
}

int SimCtl_BytesPerPixel(int format) {
    return static_cast<int>(PixelFormat::BytesPerPixel(static_cast<std::uint32_t>(format)));
}

int SimCtl_ExpectedPixelByte(int boardIndex, unsigned dma, uint32_t x, uint32_t y,
                             unsigned byteInPixel, int64_t picture) {
    const auto grabber = OpenBoard(boardIndex);
    if (grabber == nullptr) {
        return NoBoard(boardIndex);
    }
    FrameSetup setup;
    const int result = grabber->GetFrameSetup(dma, setup);
    if (result != FG_OK) {
        return FromFg(result);
    }
    return PatternByte(setup, x, y, byteInPixel, picture);
}

int SimCtl_RecordPixelByte(const SimCtlBufferRecord* record, uint32_t x, uint32_t y,
                           unsigned byteInPixel) {
    if (record == nullptr || record->pictureNumber < 1) {
        return Failed(SIMCTL_ERR_INVALID_ARGUMENT, "no delivered frame in the record");
    }
    FrameSetup setup;
    setup.width = record->width;
    setup.height = record->height;
    setup.xoffset = record->xoffset;
    setup.yoffset = record->yoffset;
    setup.format = record->format;
    setup.pattern = record->pattern;
    setup.patternOffset = record->patternOffset;
    return PatternByte(setup, x, y, byteInPixel, record->pictureNumber);
}

} // extern "C"
