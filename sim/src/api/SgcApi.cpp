// siso_genicam.dll entry points.
#include "ErrorText.h"
#include "FaultTable.h"
#include "HandleTable.h"
#include "Machine.h"
#include "SimExport.h"
#include "cxp/CxpBoard.h"
#include <siso_genicam.h>

#include <cstring>
#include <string>
#include <type_traits>

using namespace sim;

namespace {

HandleTable<SgcBoard, CxpBoard>& Boards() {
    static HandleTable<SgcBoard, CxpBoard> table;
    return table;
}

// Camera handles, each with the board that owns it.
HandleTable<SgcCamera, CxpBoard>& CameraBoards() {
    static HandleTable<SgcCamera, CxpBoard> table;
    return table;
}

int ToSgc(DeviceStatus status) {
    switch (status) {
    case DeviceStatus::Ok:
    case DeviceStatus::AlreadyConnected:
        return SGC_OK;
    case DeviceStatus::LinkDown:
        return SGC_ERR_LINK_DOWN;
    case DeviceStatus::PoweredOff:
        return SGC_ERR_POWERED_OFF;
    case DeviceStatus::Address:
        return SGC_ERR_ADDRESS;
    case DeviceStatus::AccessDenied:
        return SGC_ERR_ACCESS_DENIED;
    case DeviceStatus::InvalidValue:
        return SGC_ERR_INVALID_VALUE;
    case DeviceStatus::Busy:
    case DeviceStatus::NotConnected:
    default:
        return SGC_ERR_NOT_CONNECTED;
    }
}

// Resolves a camera handle to its camera, or answers the code for a bad one.
int Resolve(SgcCamera* handle, std::shared_ptr<CxpBoard>& board, CxpCamera*& camera) {
    board = CameraBoards().Find(handle);
    if (board == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    const int grabber = board->CheckGrabber();
    if (grabber != SGC_OK) {
        return grabber;
    }
    camera = board->Own(handle);
    return camera != nullptr ? SGC_OK : SGC_ERR_INVALID_HANDLE;
}

int CopyOut(const void* data, std::size_t needed, void* value, std::size_t* size) {
    if (size == nullptr) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    if (value == nullptr) {
        *size = needed;
        return SGC_OK;
    }
    if (*size < needed) {
        *size = needed;
        return SGC_ERR_BUFFER_TOO_SMALL;
    }
    std::memcpy(value, data, needed);
    *size = needed;
    return SGC_OK;
}

// One camera property: a text or a 32-bit number.
struct Property {
    unsigned type = 0;
    std::string text;
    std::uint32_t number = 0;
};

bool FindProperty(const CxpCamera& camera, int what, Property& out) {
    const CameraDevice& device = camera.Device();
    switch (what) {
    case SGC_INFO_VENDOR_NAME:
        out = {SGC_PROPERTY_STRING, device.Text("DeviceVendorName"), 0};
        return true;
    case SGC_INFO_MODEL_NAME:
        out = {SGC_PROPERTY_STRING, device.Text("DeviceModelName"), 0};
        return true;
    case SGC_INFO_SERIAL_NUMBER:
        out = {SGC_PROPERTY_STRING, device.Text("DeviceSerialNumber"), 0};
        return true;
    case SGC_INFO_PORT:
        out = {SGC_PROPERTY_UINT32, std::string(), camera.Port()};
        return true;
    case SGC_INFO_LINK_SPEED:
        out = {SGC_PROPERTY_UINT32, std::string(), camera.Speed()};
        return true;
    case SGC_INFO_STATE:
        out = {SGC_PROPERTY_UINT32, std::string(),
               (device.Linked() ? unsigned{SGC_STATE_LINK_UP} : 0u) |
                   (device.CheckOwner(camera.Owner()) == DeviceStatus::Ok
                        ? unsigned{SGC_STATE_CONNECTED}
                        : 0u) |
                   (device.Acquiring() ? unsigned{SGC_STATE_ACQUIRING} : 0u)};
        return true;
    default:
        return false;
    }
}

int PropertyOut(const Property& property, void* value, std::size_t* size) {
    if (property.type == SGC_PROPERTY_STRING) {
        return CopyOut(property.text.c_str(), property.text.size() + 1, value, size);
    }
    return CopyOut(&property.number, sizeof(property.number), value, size);
}

[[maybe_unused]] int PropertyCode(const char* name) {
    static const std::pair<const char*, int> names[] = {
        {"DeviceVendorName", SGC_INFO_VENDOR_NAME},
        {"DeviceModelName", SGC_INFO_MODEL_NAME},
        {"DeviceSerialNumber", SGC_INFO_SERIAL_NUMBER},
        {"PortIndex", SGC_INFO_PORT},
        {"LinkSpeed", SGC_INFO_LINK_SPEED},
        {"State", SGC_INFO_STATE}};
    for (const auto& entry : names) {
        if (name != nullptr && std::strcmp(name, entry.first) == 0) {
            return entry.second;
        }
    }
    return 0;
}

} // namespace

extern "C" {

SIM_EXPORT int Sgc_initBoard(Fg_Grabber* grabber, int flags, SgcBoard** board) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_initBoard)) {
        return *fault;
    }
    if (board == nullptr || flags != 0) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    Machine& machine = Machine::Instance();
    if (!machine.EnsureLoaded()) {
        return SGC_ERR_MACHINE;
    }
    const auto open = machine.FindGrabber(grabber);
    if (open == nullptr) {
        return SGC_ERR_INVALID_GRABBER;
    }
    const BoardSetup& setup = open->Board();
    if (setup.interface != BoardInterface::CoaXPress) {
        return SGC_ERR_NOT_CXP_BOARD;
    }
    std::vector<std::shared_ptr<CameraDevice>> ports;
    for (const auto& name : setup.cxpCameras) {
        ports.push_back(name.empty() ? nullptr : machine.Camera(name));
    }
    if (!machine.ClaimSession(Machine::Session::GenICam, setup.index)) {
        return SGC_ERR_BOARD_BUSY;
    }
    auto created =
        std::make_shared<CxpBoard>(open, setup.index, std::move(ports), setup.cxpAnswering);
    for (SgcCamera* camera : created->Handles()) {
        CameraBoards().Add(camera, created);
    }
    *board = created->Handle();
    Boards().Add(created->Handle(), created);
    return SGC_OK;
}

SIM_EXPORT int Sgc_LoadBoardConfiguration(SgcBoard* board, const char* path) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_LoadBoardConfiguration)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    const int grabber = found->CheckGrabber();
    return grabber != SGC_OK ? grabber : found->LoadLayout(path);
}

SIM_EXPORT void Sgc_freeBoard(SgcBoard* board) {
    // Counted like every call; a void function has no way to report a fault.
    (void)FaultTable::Instance().Enter(SimFunction::Sgc_freeBoard);
    const auto freed = Boards().Take(board);
    if (freed == nullptr) {
        return;
    }
    CameraBoards().TakeIf([&](const CxpBoard& owner) { return &owner == freed.get(); });
    freed->Shutdown();
    Machine::Instance().ReleaseSession(Machine::Session::GenICam, freed->BoardIndex());
}

SIM_EXPORT int Sgc_scanPorts(SgcBoard* board, unsigned portMask, int discoveryTimeoutMs,
                             int speed) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_scanPorts)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    const int grabber = found->CheckGrabber();
    return grabber != SGC_OK ? grabber : found->Scan(portMask, discoveryTimeoutMs, speed);
}

SIM_EXPORT int Sgc_getCameraCount(SgcBoard* board) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_getCameraCount)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    const int grabber = found->CheckGrabber();
    return grabber != SGC_OK ? grabber : found->CameraCount();
}

SIM_EXPORT int Sgc_getCameraByIndex(SgcBoard* board, unsigned index, SgcCamera** camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_getCameraByIndex)) {
        return *fault;
    }
    if (camera == nullptr) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    const int grabber = found->CheckGrabber();
    return grabber != SGC_OK ? grabber : found->CameraByIndex(index, camera);
}

SIM_EXPORT int Sgc_LinkConnect(SgcBoard* board, SgcCamera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_LinkConnect)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    if (owner != found) {
        return SGC_ERR_WRONG_BOARD;
    }
    return ToSgc(resolved->Device().LinkUp());
}

SIM_EXPORT int Sgc_connectCamera(SgcCamera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_connectCamera)) {
        return *fault;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    return result != SGC_OK ? result : ToSgc(resolved->Device().Connect(resolved->Owner()));
}

SIM_EXPORT int Sgc_disconnectCamera(SgcCamera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_disconnectCamera)) {
        return *fault;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    return result != SGC_OK ? result : ToSgc(resolved->Device().Disconnect(resolved->Owner()));
}

SIM_EXPORT int Sgc_LinkDisconnect(SgcCamera* camera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_LinkDisconnect)) {
        return *fault;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    if (!resolved->Device().Linked()) {
        return SGC_ERR_LINK_DOWN;
    }
    resolved->Device().LinkDown();
    return SGC_OK;
}

SIM_EXPORT int Sgc_startAcquisition(SgcCamera* camera, unsigned startCamera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_startAcquisition)) {
        return *fault;
    }
    if (startCamera != SGC_DMA_ONLY && startCamera != SGC_WITH_CAMERA) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    // Without the camera flag only the link is prepared; it must be usable all the same.
    return ToSgc(startCamera == SGC_WITH_CAMERA
                     ? resolved->Device().StartAcquisition(resolved->Owner())
                     : resolved->Device().CheckOwner(resolved->Owner()));
}

SIM_EXPORT int Sgc_stopAcquisition(SgcCamera* camera, unsigned stopCamera) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_stopAcquisition)) {
        return *fault;
    }
    if (stopCamera != SGC_DMA_ONLY && stopCamera != SGC_WITH_CAMERA) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    return ToSgc(stopCamera == SGC_WITH_CAMERA
                     ? resolved->Device().StopAcquisition(resolved->Owner())
                     : resolved->Device().CheckOwner(resolved->Owner()));
}

SIM_EXPORT int Sgc_getGenICamXML(SgcCamera* camera, char* buffer, size_t* size) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_getGenICamXML)) {
        return *fault;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    // The description is read over the control channel, which needs the connection.
    result = ToSgc(resolved->Device().CheckOwner(resolved->Owner()));
    if (result != SGC_OK) {
        return result;
    }
    const std::string& text = resolved->Device().Description();
    return CopyOut(text.c_str(), text.size() + 1, buffer, size);
}

SIM_EXPORT const char* Sgc_getErrorDescription(int code) {
    return SgcErrorText(code);
}

SIM_EXPORT int Sgc_registerReadFromCamera(SgcCamera* camera, uint32_t* value, uint64_t address) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_registerReadFromCamera)) {
        return *fault;
    }
    if (value == nullptr) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    std::uint8_t bytes[4];
    result = ToSgc(resolved->Device().Read(resolved->Owner(), address, bytes, sizeof(bytes)));
    if (result == SGC_OK) {
        // CoaXPress registers are big-endian on the link.
        *value = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                 (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
    }
    return result;
}

SIM_EXPORT int Sgc_registerWriteToCamera(SgcCamera* camera, uint32_t value, uint64_t address) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_registerWriteToCamera)) {
        return *fault;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    return ToSgc(resolved->Device().Write(resolved->Owner(), address, bytes, sizeof(bytes)));
}

SIM_EXPORT int Sgc_memoryReadFromCameraWithTimeout(SgcCamera* camera, void* buffer,
                                                   uint64_t address, size_t length,
                                                   unsigned timeoutMs) {
    if (const auto fault =
            FaultTable::Instance().Enter(SimFunction::Sgc_memoryReadFromCameraWithTimeout)) {
        return *fault;
    }
    if ((buffer == nullptr && length > 0) || timeoutMs == 0) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    return result != SGC_OK
               ? result
               : ToSgc(resolved->Device().Read(resolved->Owner(), address, buffer, length));
}

SIM_EXPORT int Sgc_memoryWriteToCameraWithTimeout(SgcCamera* camera, const void* buffer,
                                                  uint64_t address, size_t length,
                                                  unsigned timeoutMs) {
    if (const auto fault =
            FaultTable::Instance().Enter(SimFunction::Sgc_memoryWriteToCameraWithTimeout)) {
        return *fault;
    }
    if ((buffer == nullptr && length > 0) || timeoutMs == 0) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    return result != SGC_OK
               ? result
               : ToSgc(resolved->Device().Write(resolved->Owner(), address, buffer, length));
}

SIM_EXPORT int Sgc_getCameraInfo(SgcCamera* camera, int what, void* value, size_t* size) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_getCameraInfo)) {
        return *fault;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    Property found;
    if (!FindProperty(*resolved, what, found)) {
        return SGC_ERR_UNKNOWN_PROPERTY;
    }
    return PropertyOut(found, value, size);
}

SIM_EXPORT int Sgc_powerSwitchExt(SgcBoard* board, unsigned portMask, int state) {
    if (const auto fault = FaultTable::Instance().Enter(SimFunction::Sgc_powerSwitchExt)) {
        return *fault;
    }
    const auto found = Boards().Find(board);
    if (found == nullptr) {
        return SGC_ERR_INVALID_HANDLE;
    }
    const int grabber = found->CheckGrabber();
    return grabber != SGC_OK ? grabber : found->PowerSwitch(portMask, state);
}

#ifndef SIM_SGC_INCOMPLETE
// The incomplete test build leaves this entry point out, so callers that need all 21
// names can be seen refusing the library.
SIM_EXPORT int Sgc_getCameraPropertyWithType(SgcCamera* camera, const char* name, void* value,
                                             unsigned* type, size_t* size) {
    if (const auto fault =
            FaultTable::Instance().Enter(SimFunction::Sgc_getCameraPropertyWithType)) {
        return *fault;
    }
    if (type == nullptr || size == nullptr) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::shared_ptr<CxpBoard> owner;
    CxpCamera* resolved = nullptr;
    const int result = Resolve(camera, owner, resolved);
    if (result != SGC_OK) {
        return result;
    }
    Property found;
    if (!FindProperty(*resolved, PropertyCode(name), found)) {
        return SGC_ERR_UNKNOWN_PROPERTY;
    }
    *type = found.type;
    return PropertyOut(found, value, size);
}
#endif

} // extern "C"

// Each entry point has exactly the shape its function-pointer type promises.
#define SIM_CHECK_SHAPE(name)                                                                      \
    static_assert(std::is_same<decltype(&name), name##_t>::value, #name " shape");
SIM_CHECK_SHAPE(Sgc_initBoard)
SIM_CHECK_SHAPE(Sgc_LoadBoardConfiguration)
SIM_CHECK_SHAPE(Sgc_freeBoard)
SIM_CHECK_SHAPE(Sgc_scanPorts)
SIM_CHECK_SHAPE(Sgc_connectCamera)
SIM_CHECK_SHAPE(Sgc_disconnectCamera)
SIM_CHECK_SHAPE(Sgc_getCameraByIndex)
SIM_CHECK_SHAPE(Sgc_getGenICamXML)
SIM_CHECK_SHAPE(Sgc_getErrorDescription)
SIM_CHECK_SHAPE(Sgc_registerReadFromCamera)
SIM_CHECK_SHAPE(Sgc_registerWriteToCamera)
SIM_CHECK_SHAPE(Sgc_memoryReadFromCameraWithTimeout)
SIM_CHECK_SHAPE(Sgc_memoryWriteToCameraWithTimeout)
SIM_CHECK_SHAPE(Sgc_getCameraCount)
SIM_CHECK_SHAPE(Sgc_startAcquisition)
SIM_CHECK_SHAPE(Sgc_stopAcquisition)
SIM_CHECK_SHAPE(Sgc_getCameraInfo)
SIM_CHECK_SHAPE(Sgc_powerSwitchExt)
SIM_CHECK_SHAPE(Sgc_LinkConnect)
SIM_CHECK_SHAPE(Sgc_LinkDisconnect)
#ifndef SIM_SGC_INCOMPLETE
SIM_CHECK_SHAPE(Sgc_getCameraPropertyWithType)
#endif
#undef SIM_CHECK_SHAPE
