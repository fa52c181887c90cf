// gbelib entry points.
#include "ErrorText.h"
#include "FaultTable.h"
#include "HandleTable.h"
#include "Machine.h"
#include "SimExport.h"
#include <gbelib.h>
#include "gige/GigeBoard.h"
#include "gige/GigeCamera.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace sim;

namespace {

HandleTable<Gbe_Board, GigeBoard>& boards() {
    static HandleTable<Gbe_Board, GigeBoard> table;
    return table;
}

HandleTable<Gbe_Camera, GigeCamera>& cameras() {
    static HandleTable<Gbe_Camera, GigeCamera> table;
    return table;
}

int toGbe(DeviceStatus status) {
    switch (status) {
    case DeviceStatus::Ok:
        return GBE_OK;
    case DeviceStatus::Busy:
        return GBE_ERR_CAMERA_BUSY;
    case DeviceStatus::AlreadyConnected:
        return GBE_ERR_ALREADY_CONNECTED;
    case DeviceStatus::Address:
        return GBE_ERR_ADDRESS;
    case DeviceStatus::AccessDenied:
        return GBE_ERR_ACCESS_DENIED;
    case DeviceStatus::InvalidValue:
        return GBE_ERR_INVALID_VALUE;
    case DeviceStatus::NotConnected:
    case DeviceStatus::LinkDown:
    case DeviceStatus::PoweredOff:
    default:
        return GBE_ERR_NOT_CONNECTED;
    }
}

bool runtime51() {
    const char* runtime = Machine::instance().runtimeVersion();
    if (runtime == nullptr) {
        return false;
    }
    char* end = nullptr;
    const long major = std::strtol(runtime, &end, 10);
    if (end == nullptr || *end != '.') {
        return false;
    }
    const long minor = std::strtol(end + 1, &end, 10);
    return major == 5 && minor == 1 && (*end == '\0' || *end == '.');
}

// The library's byte order quirk: runtime 5.1 hands read bytes over reversed and writes
// them as given; every other runtime reads them as the camera sent them and reverses what
// it writes. Callers that reverse reads except on 5.1, and writes only on 5.1, therefore
// always deal in little-endian values while the camera keeps its big-endian registers.
bool reversesReads() {
    return runtime51();
}
bool reversesWrites() {
    return !runtime51();
}

} // namespace

extern "C" {

SIM_EXPORT int Gbe_OpenBoard(int boardIndex, int flags, Gbe_Board** board) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_OpenBoard)) {
        return *fault;
    }
    if (board == nullptr || flags != 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    Machine& machine = Machine::instance();
    const auto setup = machine.setup();
    if (setup == nullptr) {
        return GBE_ERR_MACHINE;
    }
    if (boardIndex < 0 || boardIndex >= kMaxBoards ||
        !setup->boards[static_cast<std::size_t>(boardIndex)] ||
        setup->boards[static_cast<std::size_t>(boardIndex)]->type < 0) {
        return GBE_ERR_NO_SUCH_BOARD;
    }
    const BoardSetup& boardSetup = *setup->boards[static_cast<std::size_t>(boardIndex)];
    if (boardSetup.interface != BoardInterface::GigE) {
        return GBE_ERR_NOT_GIGE_BOARD;
    }
    std::vector<std::vector<std::shared_ptr<CameraDevice>>> ports;
    for (const auto& names : boardSetup.gigeCameras) {
        ports.emplace_back();
        for (const auto& name : names) {
            ports.back().push_back(machine.camera(name));
        }
    }
    if (!machine.claimSession(Machine::Session::GigE, boardIndex)) {
        return GBE_ERR_BOARD_BUSY;
    }
    auto opened = std::make_shared<GigeBoard>(boardIndex, std::move(ports));
    Gbe_Board* handle = opened->handle();
    boards().add(handle, std::move(opened));
    *board = handle;
    return GBE_OK;
}

SIM_EXPORT int Gbe_CloseBoard(Gbe_Board* board) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_CloseBoard)) {
        return *fault;
    }
    const auto closed = boards().take(board);
    if (closed == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    // Cameras of a closed board lose their handles and connections.
    for (const auto& camera : cameras().takeIf(
             [&](const GigeCamera& c) { return c.boardIndex() == closed->boardIndex(); })) {
        camera->device().release(camera->owner());
    }
    Machine::instance().releaseSession(Machine::Session::GigE, closed->boardIndex());
    return GBE_OK;
}

SIM_EXPORT const char* Gbe_ErrorText(int code) {
    return gbeErrorText(code);
}

SIM_EXPORT int Gbe_ScanPort(Gbe_Board* board, int port, int argument) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_ScanPort)) {
        return *fault;
    }
    const auto found = boards().find(board);
    return found ? found->scan(port, argument) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_CameraCount(Gbe_Board* board, int port) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_CameraCount)) {
        return *fault;
    }
    const auto found = boards().find(board);
    return found ? found->cameraCount(port) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_FirstCamera(Gbe_Board* board, int port, Gbe_Camera** camera) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_FirstCamera)) {
        return *fault;
    }
    if (camera == nullptr) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = boards().find(board);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    std::shared_ptr<CameraDevice> device;
    const int result = found->firstCamera(port, device);
    if (result != GBE_OK) {
        return result;
    }
    auto handed = std::make_shared<GigeCamera>(std::move(device), found->boardIndex(), port);
    Gbe_Camera* handle = handed->handle();
    cameras().add(handle, std::move(handed));
    *camera = handle;
    return GBE_OK;
}

SIM_EXPORT int Gbe_Connect(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_Connect)) {
        return *fault;
    }
    const auto found = cameras().find(camera);
    return found ? toGbe(found->device().connect(found->owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_Disconnect(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_Disconnect)) {
        return *fault;
    }
    const auto found = cameras().find(camera);
    return found ? toGbe(found->device().disconnect(found->owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_ReleaseCamera(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_ReleaseCamera)) {
        return *fault;
    }
    const auto released = cameras().take(camera);
    if (released == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    released->device().release(released->owner());
    return GBE_OK;
}

SIM_EXPORT int Gbe_StartAcquisition(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_StartAcquisition)) {
        return *fault;
    }
    const auto found = cameras().find(camera);
    return found ? toGbe(found->device().startAcquisition(found->owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_StopAcquisition(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_StopAcquisition)) {
        return *fault;
    }
    const auto found = cameras().find(camera);
    return found ? toGbe(found->device().stopAcquisition(found->owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_CameraDescription(Gbe_Camera* camera, char* buffer, size_t* size) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_CameraDescription)) {
        return *fault;
    }
    if (size == nullptr) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = cameras().find(camera);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    // The description is read over the control channel, which needs the connection.
    const DeviceStatus status = found->device().checkOwner(found->owner());
    if (status != DeviceStatus::Ok) {
        return toGbe(status);
    }
    const std::string& text = found->device().description();
    const std::size_t needed = text.size() + 1;
    if (buffer == nullptr) {
        *size = needed;
        return GBE_OK;
    }
    if (*size < needed) {
        *size = needed;
        return GBE_ERR_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return GBE_OK;
}

SIM_EXPORT int Gbe_MemoryRead(Gbe_Camera* camera, void* buffer, uint64_t address, size_t length) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_MemoryRead)) {
        return *fault;
    }
    if (buffer == nullptr && length > 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = cameras().find(camera);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    const int result = toGbe(found->device().read(found->owner(), address, buffer, length));
    if (result == GBE_OK && reversesReads()) {
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        std::reverse(bytes, bytes + length);
    }
    return result;
}

SIM_EXPORT int Gbe_MemoryWrite(Gbe_Camera* camera, const void* buffer, uint64_t address,
                               size_t length) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Gbe_MemoryWrite)) {
        return *fault;
    }
    if (buffer == nullptr && length > 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = cameras().find(camera);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    if (!reversesWrites()) {
        return toGbe(found->device().write(found->owner(), address, buffer, length));
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::vector<std::uint8_t> reversed(bytes, bytes + length);
    std::reverse(reversed.begin(), reversed.end());
    return toGbe(found->device().write(found->owner(), address, reversed.data(), length));
}

} // extern "C"
