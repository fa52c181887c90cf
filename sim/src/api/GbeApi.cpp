// gbelib entry points.
#include "ErrorText.h"
#include "FaultTable.h"
#include "HandleTable.h"
#include "Machine.h"
#include "SimExport.h"
#include "gige/GigeBoard.h"
#include "gige/GigeCamera.h"
#include <gbelib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace sim;

namespace {

HandleTable<Gbe_Board, GigeBoard>& Boards() {
    static HandleTable<Gbe_Board, GigeBoard> table;
    return table;
}

HandleTable<Gbe_Camera, GigeCamera>& Cameras() {
    static HandleTable<Gbe_Camera, GigeCamera> table;
    return table;
}

int ToGbe(DeviceStatus status) {
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

bool Runtime51() {
    const char* runtime = Machine::Instance().RuntimeVersion();
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

// The library's byte-order quirk, in the form the driver's register port was written for:
// every runtime but 5.1 hands a read over reversed as a whole (host order) and writes the
// bytes as given (wire order); runtime 5.1 reads them as they came off the wire and
// reverses what it writes. The port reverses reads except on 5.1 and writes only on 5.1,
// so its node map deals in the wire's big-endian bytes on every runtime, which is what the
// BigEndian registers of GigE Vision descriptions declare.
bool ReversesReads() {
    return !Runtime51();
}
bool ReversesWrites() {
    return Runtime51();
}

} // namespace

extern "C" {

SIM_EXPORT int Gbe_OpenBoard(int boardIndex, int flags, Gbe_Board** board) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_OpenBoard)) {
        return *fault;
    }
    if (board == nullptr || flags != 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    Machine& machine = Machine::Instance();
    const auto setup = machine.Setup();
    if (setup == nullptr) {
        return GBE_ERR_MACHINE;
    }
    if (boardIndex < 0 || boardIndex >= MaxBoards ||
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
            ports.back().push_back(machine.Camera(name));
        }
    }
    if (!machine.ClaimSession(Machine::Session::GigE, boardIndex)) {
        return GBE_ERR_BOARD_BUSY;
    }
    auto opened = std::make_shared<GigeBoard>(boardIndex, std::move(ports));
    Gbe_Board* handle = opened->Handle();
    Boards().Add(handle, std::move(opened));
    *board = handle;
    return GBE_OK;
}

SIM_EXPORT int Gbe_CloseBoard(Gbe_Board* board) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_CloseBoard)) {
        return *fault;
    }
    const auto closed = Boards().Take(board);
    if (closed == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    // Cameras of a closed board lose their handles and connections.
    for (const auto& camera : Cameras().TakeIf(
             [&](const GigeCamera& c) { return c.BoardIndex() == closed->BoardIndex(); })) {
        camera->Device().Release(camera->Owner());
    }
    Machine::Instance().ReleaseSession(Machine::Session::GigE, closed->BoardIndex());
    return GBE_OK;
}

SIM_EXPORT const char* Gbe_ErrorText(int code) {
    return GbeErrorText(code);
}

SIM_EXPORT int Gbe_ScanPort(Gbe_Board* board, int port, int argument) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_ScanPort)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    return found ? found->Scan(port, argument) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_CameraCount(Gbe_Board* board, int port) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_CameraCount)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    return found ? found->CameraCount(port) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_FirstCamera(Gbe_Board* board, int port, Gbe_Camera** camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_FirstCamera)) {
        return *fault;
    }
    if (camera == nullptr) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    std::shared_ptr<CameraDevice> device;
    const int result = found->FirstCamera(port, device);
    if (result != GBE_OK) {
        return result;
    }
    auto handed = std::make_shared<GigeCamera>(std::move(device), found->BoardIndex(), port);
    Gbe_Camera* handle = handed->Handle();
    Cameras().Add(handle, std::move(handed));
    *camera = handle;
    return GBE_OK;
}

SIM_EXPORT int Gbe_Connect(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_Connect)) {
        return *fault;
    }
    const auto found = Cameras().Find(camera);
    return found ? ToGbe(found->Device().Connect(found->Owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_Disconnect(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_Disconnect)) {
        return *fault;
    }
    const auto found = Cameras().Find(camera);
    return found ? ToGbe(found->Device().Disconnect(found->Owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_ReleaseCamera(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_ReleaseCamera)) {
        return *fault;
    }
    const auto released = Cameras().Take(camera);
    if (released == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    released->Device().Release(released->Owner());
    return GBE_OK;
}

SIM_EXPORT int Gbe_StartAcquisition(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_StartAcquisition)) {
        return *fault;
    }
    const auto found = Cameras().Find(camera);
    return found ? ToGbe(found->Device().StartAcquisition(found->Owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_StopAcquisition(Gbe_Camera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_StopAcquisition)) {
        return *fault;
    }
    const auto found = Cameras().Find(camera);
    return found ? ToGbe(found->Device().StopAcquisition(found->Owner())) : GBE_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Gbe_CameraDescription(Gbe_Camera* camera, char* buffer, size_t* size) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_CameraDescription)) {
        return *fault;
    }
    if (size == nullptr) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = Cameras().Find(camera);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    // The description is read over the control channel, which needs the connection.
    const DeviceStatus status = found->Device().CheckOwner(found->Owner());
    if (status != DeviceStatus::Ok) {
        return ToGbe(status);
    }
    const std::string& text = found->Device().Description();
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
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_MemoryRead)) {
        return *fault;
    }
    if (buffer == nullptr && length > 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = Cameras().Find(camera);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    const int result = ToGbe(found->Device().Read(found->Owner(), address, buffer, length));
    if (result == GBE_OK && ReversesReads()) {
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        std::reverse(bytes, bytes + length);
    }
    return result;
}

SIM_EXPORT int Gbe_MemoryWrite(Gbe_Camera* camera, const void* buffer, uint64_t address,
                               size_t length) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Gbe_MemoryWrite)) {
        return *fault;
    }
    if (buffer == nullptr && length > 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    const auto found = Cameras().Find(camera);
    if (found == nullptr) {
        return GBE_ERR_INVALID_HANDLE;
    }
    if (!ReversesWrites()) {
        return ToGbe(found->Device().Write(found->Owner(), address, buffer, length));
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::vector<std::uint8_t> reversed(bytes, bytes + length);
    std::reverse(reversed.begin(), reversed.end());
    return ToGbe(found->Device().Write(found->Owner(), address, reversed.data(), length));
}

} // extern "C"
