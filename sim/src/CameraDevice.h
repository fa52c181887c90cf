// A simulated GigE Vision or CoaXPress camera: register memory, link and connection.
#pragma once

#include "CameraRegisterMap.h"
#include "MachineSetup.h"
#include "SimExport.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

enum class DeviceStatus {
    Ok,
    Busy,             // another owner holds the connection
    AlreadyConnected, // this owner is connected already
    NotConnected,
    LinkDown,
    PoweredOff,
    Address,      // access outside the register memory
    AccessDenied, // write touching a read-only register
    InvalidValue  // written value outside the register's range
};

// The camera's register memory holds every register big-endian, as the camera sends it.
// Control-channel access needs a connection held by the accessing owner (a GigE camera
// handle or a CoaXPress camera); writes obey the register map: read-only registers refuse,
// integers are range-checked, commands execute and clear themselves, PayloadSize follows
// Width, Height and PixelFormat. CoaXPress cameras also need their link up, and a powered
// port.
//
// Thread-safe: mutex_ guards memory_, owner_, linkUp_ and powered_; the name, kind,
// answer time and description are fixed at construction.
class SIM_EXPORT CameraDevice {
public:
    // Throws ConfigError when the setup's initial values do not fit the register map.
    explicit CameraDevice(const CameraSetup& setup);

    const std::string& Name() const { return name_; }
    CameraKind Kind() const { return kind_; }
    unsigned AnswerMs() const { return answerMs_; }
    const std::string& Description() const { return description_; }
    std::uint64_t MemorySize() const { return memorySize_; }

    DeviceStatus Read(const void* owner, std::uint64_t address, void* buffer,
                      std::size_t length) const;
    DeviceStatus Write(const void* owner, std::uint64_t address, const void* data,
                       std::size_t length);

    // Raw access for the test control: no connection and no access rules, but derived
    // registers still follow. False when the range lies outside the memory.
    bool Peek(std::uint64_t address, void* buffer, std::size_t length) const;
    bool Poke(std::uint64_t address, const void* data, std::size_t length);

    // Ok when `owner` may use the control channel now.
    DeviceStatus CheckOwner(const void* owner) const;

    DeviceStatus LinkUp();
    void LinkDown();
    DeviceStatus Connect(const void* owner);
    DeviceStatus Disconnect(const void* owner);
    // Drops the owner's connection, if it holds one; used when a handle goes away.
    void Release(const void* owner);
    void SetPowered(bool powered);

    DeviceStatus StartAcquisition(const void* owner);
    DeviceStatus StopAcquisition(const void* owner);

    bool Linked() const;
    bool Connected() const;
    bool Powered() const;
    bool Acquiring() const;
    std::uint32_t Integer(const char* name) const;
    std::string Text(const char* name) const;

private:
    DeviceStatus CheckOwnerLocked(const void* owner) const;
    DeviceStatus WriteLocked(std::uint64_t address, const void* data, std::size_t length,
                             bool enforceAccess);
    bool ValidLocked(const CameraRegister& reg, std::uint32_t value,
                     const std::vector<std::uint8_t>& memory) const;
    void ExecuteCommandsLocked(std::uint64_t address, std::size_t length);
    void UpdatePayloadLocked();
    std::uint32_t Get32Locked(const char* name) const;
    void Set32Locked(const char* name, std::uint32_t value);
    void ApplyInitialValues(const CameraSetup& setup);

    const std::string name_;
    const CameraKind kind_;
    const unsigned answerMs_;
    const std::uint64_t memorySize_;
    std::string description_;

    mutable std::mutex mutex_;
    std::vector<std::uint8_t> memory_;
    const void* owner_ = nullptr;
    bool linkUp_ = false;
    bool powered_ = true;
};

} // namespace sim
