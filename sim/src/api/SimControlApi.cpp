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

thread_local char t_error[512] = "";

int failed(int code, const std::string& text) {
    std::snprintf(t_error, sizeof(t_error), "%s", text.c_str());
    return code;
}

int succeeded() {
    t_error[0] = '\0';
    return SIMCTL_OK;
}

int fromFg(int code) {
    switch (code) {
    case FG_OK:
        return succeeded();
    case FG_ERR_INVALID_DMA:
        return failed(SIMCTL_ERR_NO_DMA, "DMA index not offered by the applet");
    case FG_ERR_INVALID_MEMORY:
        return failed(SIMCTL_ERR_NO_MEMORY, "the DMA has not acquired into any memory");
    case FG_ERR_INVALID_BUFFER_NUMBER:
        return failed(SIMCTL_ERR_RANGE, "buffer number out of range");
    case FG_ERR_TIMEOUT:
        return failed(SIMCTL_ERR_TIMEOUT, "frames not produced in time");
    default:
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "unexpected failure");
    }
}

std::shared_ptr<Grabber> openBoard(int boardIndex) {
    Machine::instance().ensureLoaded();
    return Machine::instance().grabberOfBoard(boardIndex);
}

int noBoard(int boardIndex) {
    return failed(SIMCTL_ERR_NO_BOARD, "no open board at index " + std::to_string(boardIndex));
}

int patternByte(const FrameSetup& setup, std::uint32_t x, std::uint32_t y, unsigned k,
                std::int64_t picture) {
    if (x >= setup.width || y >= setup.height || k >= PixelFormat::bytesPerPixel(setup.format)) {
        return failed(SIMCTL_ERR_RANGE, "position outside the image");
    }
    succeeded();
    return PatternGenerator::byteAt(
        setup.pattern, setup.format, static_cast<std::uint64_t>(x) + setup.xoffset,
        static_cast<std::uint64_t>(y) + setup.yoffset, k, picture, setup.patternOffset);
}

} // namespace

extern "C" {

int SimCtl_FailCall(const char* function, int code, int count) {
    const auto found = FaultTable::lookup(function);
    if (!found) {
        return failed(SIMCTL_ERR_UNKNOWN_FUNCTION,
                      std::string("no SDK function ") + (function ? function : "(null)"));
    }
    // Load first: a lazy load later would replace the faults armed now.
    Machine::instance().ensureLoaded();
    FaultTable::instance().armFailure(*found, code, count);
    return succeeded();
}

int SimCtl_DelayCall(const char* function, unsigned milliseconds, int count) {
    const auto found = FaultTable::lookup(function);
    if (!found) {
        return failed(SIMCTL_ERR_UNKNOWN_FUNCTION,
                      std::string("no SDK function ") + (function ? function : "(null)"));
    }
    Machine::instance().ensureLoaded();
    FaultTable::instance().armDelay(*found, milliseconds, count);
    return succeeded();
}

void SimCtl_ClearFaults(void) {
    FaultTable::instance().clear();
}

int64_t SimCtl_CallCount(const char* function) {
    const auto found = FaultTable::lookup(function);
    return found ? FaultTable::instance().callCount(*found) : -1;
}

void SimCtl_ResetCallCounts(void) {
    FaultTable::instance().resetCounts();
}

int SimCtl_LoadMachineFile(const char* path) {
    if (path == nullptr) {
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "no path");
    }
    std::string error;
    const int result = Machine::instance().loadFile(path, error);
    return result == SIMCTL_OK ? succeeded() : failed(result, error);
}

int SimCtl_LoadMachineText(const char* text) {
    if (text == nullptr) {
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "no text");
    }
    std::string error;
    const int result = Machine::instance().loadText(text, error);
    return result == SIMCTL_OK ? succeeded() : failed(result, error);
}

int SimCtl_ResetMachine(void) {
    std::string error;
    const int result = Machine::instance().reset(error);
    return result == SIMCTL_OK ? succeeded() : failed(result, error);
}

const char* SimCtl_EmbeddedMachine(void) {
    return MachineParser::embeddedDefault();
}

const char* SimCtl_LastError(void) {
    if (t_error[0] == '\0') {
        const std::string loadError = Machine::instance().loadError();
        std::snprintf(t_error, sizeof(t_error), "%s", loadError.c_str());
    }
    return t_error;
}

int SimCtl_ReadCameraMemory(const char* camera, uint64_t address, void* buffer, size_t length) {
    const auto device = Machine::instance().camera(camera ? camera : "");
    if (device == nullptr) {
        return failed(SIMCTL_ERR_NO_CAMERA, std::string("no camera ") + (camera ? camera : ""));
    }
    if (buffer == nullptr || !device->peek(address, buffer, length)) {
        return failed(SIMCTL_ERR_RANGE, "range outside the camera's memory");
    }
    return succeeded();
}

int SimCtl_WriteCameraMemory(const char* camera, uint64_t address, const void* buffer,
                             size_t length) {
    const auto device = Machine::instance().camera(camera ? camera : "");
    if (device == nullptr) {
        return failed(SIMCTL_ERR_NO_CAMERA, std::string("no camera ") + (camera ? camera : ""));
    }
    if (buffer == nullptr || !device->poke(address, buffer, length)) {
        return failed(SIMCTL_ERR_RANGE, "range outside the camera's memory");
    }
    return succeeded();
}

int SimCtl_CameraState(const char* camera) {
    const auto device = Machine::instance().camera(camera ? camera : "");
    if (device == nullptr) {
        return failed(SIMCTL_ERR_NO_CAMERA, std::string("no camera ") + (camera ? camera : ""));
    }
    succeeded();
    return (device->linked() ? SIM_CAMERA_LINK_UP : 0) |
           (device->connected() ? SIM_CAMERA_CONNECTED : 0) |
           (device->acquiring() ? SIM_CAMERA_ACQUIRING : 0) |
           (device->powered() ? SIM_CAMERA_POWERED : 0);
}

int SimCtl_GetBufferRecord(int boardIndex, unsigned dma, int64_t bufferNumber,
                           SimCtlBufferRecord* record) {
    const auto grabber = openBoard(boardIndex);
    if (grabber == nullptr) {
        return noBoard(boardIndex);
    }
    if (record == nullptr) {
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "no record");
    }
    BufferRecord found;
    const int result = grabber->bufferRecord(dma, bufferNumber, found);
    if (result != FG_OK) {
        return fromFg(result);
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
    return succeeded();
}

int SimCtl_GetDmaCounters(int boardIndex, unsigned dma, SimCtlDmaCounters* counters) {
    const auto grabber = openBoard(boardIndex);
    if (grabber == nullptr) {
        return noBoard(boardIndex);
    }
    if (counters == nullptr) {
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "no counters");
    }
    DmaEngine::Counters found;
    const int result = grabber->counters(dma, found);
    if (result != FG_OK) {
        return fromFg(result);
    }
    counters->acquiring = found.acquiring ? 1 : 0;
    counters->delivered = found.delivered;
    counters->lost = found.lost;
    counters->lostBlocked = found.lostBlocked;
    counters->produced = found.produced;
    counters->collected = found.collected;
    counters->pendingTriggers = found.pendingTriggers;
    return succeeded();
}

int SimCtl_WaitFrames(int boardIndex, unsigned dma, int64_t frames, unsigned timeoutMs) {
    const auto grabber = openBoard(boardIndex);
    if (grabber == nullptr) {
        return noBoard(boardIndex);
    }
    return fromFg(grabber->waitFrames(dma, frames, std::chrono::milliseconds(timeoutMs)));
}

int SimCtl_PatternByte(int pattern, int format, uint64_t sensorX, uint64_t sensorY,
                       unsigned byteInPixel, int64_t picture, int32_t offset) {
    if (pattern < 0 || static_cast<std::uint32_t>(pattern) >= PatternGenerator::kPatternCount) {
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "unknown pattern");
    }
    succeeded();
    return PatternGenerator::byteAt(static_cast<std::uint32_t>(pattern),
                                    static_cast<std::uint32_t>(format), sensorX, sensorY,
                                    byteInPixel, picture, offset);
}

int SimCtl_BytesPerPixel(int format) {
    return static_cast<int>(PixelFormat::bytesPerPixel(static_cast<std::uint32_t>(format)));
}

int SimCtl_ExpectedPixelByte(int boardIndex, unsigned dma, uint32_t x, uint32_t y,
                             unsigned byteInPixel, int64_t picture) {
    const auto grabber = openBoard(boardIndex);
    if (grabber == nullptr) {
        return noBoard(boardIndex);
    }
    FrameSetup setup;
    const int result = grabber->frameSetup(dma, setup);
    if (result != FG_OK) {
        return fromFg(result);
    }
    return patternByte(setup, x, y, byteInPixel, picture);
}

int SimCtl_RecordPixelByte(const SimCtlBufferRecord* record, uint32_t x, uint32_t y,
                           unsigned byteInPixel) {
    if (record == nullptr || record->pictureNumber < 1) {
        return failed(SIMCTL_ERR_INVALID_ARGUMENT, "no delivered frame in the record");
    }
    FrameSetup setup;
    setup.width = record->width;
    setup.height = record->height;
    setup.xoffset = record->xoffset;
    setup.yoffset = record->yoffset;
    setup.format = record->format;
    setup.pattern = record->pattern;
    setup.patternOffset = record->patternOffset;
    return patternByte(setup, x, y, byteInPixel, record->pictureNumber);
}

} // extern "C"
