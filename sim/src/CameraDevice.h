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
// Thread-safe: m_mutex guards m_memory, m_owner, m_linkUp and m_powered; the name, kind,
// answer time and description are fixed at construction.
class SIM_EXPORT CameraDevice {
public:
    // Throws ConfigError when the setup's initial values do not fit the register map.
    explicit CameraDevice(const CameraSetup& setup);

    const std::string& name() const { return m_name; }
    CameraKind kind() const { return m_kind; }
    unsigned answerMs() const { return m_answerMs; }
    const std::string& description() const { return m_description; }
    std::uint64_t memorySize() const { return m_memorySize; }

    DeviceStatus read(const void* owner, std::uint64_t address, void* buffer,
                      std::size_t length) const;
    DeviceStatus write(const void* owner, std::uint64_t address, const void* data,
                       std::size_t length);

    // Raw access for the test control: no connection and no access rules, but derived
    // registers still follow. False when the range lies outside the memory.
    bool peek(std::uint64_t address, void* buffer, std::size_t length) const;
    bool poke(std::uint64_t address, const void* data, std::size_t length);

    // Ok when `owner` may use the control channel now.
    DeviceStatus checkOwner(const void* owner) const;

    DeviceStatus linkUp();
    void linkDown();
    DeviceStatus connect(const void* owner);
    DeviceStatus disconnect(const void* owner);
    // Drops the owner's connection, if it holds one; used when a handle goes away.
    void release(const void* owner);
    void setPowered(bool powered);

    DeviceStatus startAcquisition(const void* owner);
    DeviceStatus stopAcquisition(const void* owner);

    bool linked() const;
    bool connected() const;
    bool powered() const;
    bool acquiring() const;
    std::uint32_t integer(const char* name) const;
    std::string text(const char* name) const;

private:
    DeviceStatus checkOwnerLocked(const void* owner) const;
    DeviceStatus writeLocked(std::uint64_t address, const void* data, std::size_t length,
                             bool enforceAccess);
    bool validLocked(const CameraRegister& reg, std::uint32_t value,
                     const std::vector<std::uint8_t>& memory) const;
    void executeCommandsLocked(std::uint64_t address, std::size_t length);
    void updatePayloadLocked();
    std::uint32_t get32Locked(const char* name) const;
    void set32Locked(const char* name, std::uint32_t value);
    void applyInitialValues(const CameraSetup& setup);

    const std::string m_name;
    const CameraKind m_kind;
    const unsigned m_answerMs;
    const std::uint64_t m_memorySize;
    std::string m_description;

    mutable std::mutex m_mutex;
    std::vector<std::uint8_t> m_memory;
    const void* m_owner = nullptr;
    bool m_linkUp = false;
    bool m_powered = true;
};

} // namespace sim
