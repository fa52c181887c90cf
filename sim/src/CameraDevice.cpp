#include "CameraDevice.h"

#include "CameraXml.h"
#include "IniDocument.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sim {

namespace {

std::uint32_t loadBig(const std::uint8_t* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 24) |
           (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

void storeBig(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value >> 24);
    bytes[1] = static_cast<std::uint8_t>(value >> 16);
    bytes[2] = static_cast<std::uint8_t>(value >> 8);
    bytes[3] = static_cast<std::uint8_t>(value);
}

bool overlaps(const CameraRegister& reg, std::uint64_t address, std::size_t length) {
    return address < reg.address + reg.length && reg.address < address + length;
}

bool inRange(std::uint64_t size, std::uint64_t address, std::size_t length) {
    return address <= size && length <= size - address;
}

std::string readTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ConfigError(path + ": camera description cannot be read");
    }
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace

CameraDevice::CameraDevice(const CameraSetup& setup)
    : m_name(setup.name), m_kind(setup.kind), m_answerMs(setup.answerMs),
      m_memorySize(setup.memorySize) {
    if (m_memorySize < CameraRegisterMap::requiredMemory(m_kind)) {
        throw ConfigError("camera " + m_name + ": memory must hold at least " +
                          std::to_string(CameraRegisterMap::requiredMemory(m_kind)) + " bytes");
    }
    m_memory.assign(m_memorySize, 0);
    applyInitialValues(setup);
    m_description = setup.xmlPath.empty() ? CameraXml::build(m_kind, text("DeviceVendorName"),
                                                             text("DeviceModelName"))
                                          : readTextFile(setup.xmlPath);
}

void CameraDevice::applyInitialValues(const CameraSetup& setup) {
    const bool gige = m_kind == CameraKind::GigE;
    auto setText = [this](const char* name, const std::string& value) {
        const CameraRegister* reg = CameraRegisterMap::find(m_kind, name);
        std::memset(&m_memory[reg->address], 0, reg->length);
        std::memcpy(&m_memory[reg->address], value.data(),
                    std::min<std::size_t>(value.size(), reg->length));
    };
    if (gige) {
        set32Locked("DeviceVersionRegister", 0x00010002u); // GigE Vision 1.2
    } else {
        set32Locked("Standard", 0xC0A79AE5u); // CoaXPress bootstrap magic
        set32Locked("Revision", 0x00010001u);
    }
    setText("DeviceVendorName", "Nordwell Sim");
    setText("DeviceModelName", gige ? "SimCam GigE" : "SimCam CXP");
    setText("DeviceVersion", "1.0");
    setText("DeviceSerialNumber", m_name.substr(0, 15));
    set32Locked("SensorWidth", 1920);
    set32Locked("SensorHeight", 1200);
    set32Locked("Width", 640);
    set32Locked("Height", 480);
    set32Locked("PixelFormat", CameraRegisterMap::pixelFormats().front().code);
    set32Locked("ExposureTime", 10000);

    for (const auto& [name, value] : setup.namedValues) {
        const CameraRegister* reg = CameraRegisterMap::find(m_kind, name);
        if (reg == nullptr || reg->kind == RegisterKind::Command) {
            throw ConfigError("camera " + m_name + ": no settable register '" + name + "'");
        }
        if (reg->kind == RegisterKind::String) {
            if (value.size() > reg->length) {
                throw ConfigError("camera " + m_name + ": '" + name + "' holds at most " +
                                  std::to_string(reg->length) + " characters");
            }
            setText(reg->name, value);
            continue;
        }
        std::uint64_t number = 0;
        bool known = parseUnsigned(value, number) && number <= 0xFFFFFFFFu;
        if (!known && name == "PixelFormat") {
            for (const auto& format : CameraRegisterMap::pixelFormats()) {
                if (value == format.name) {
                    number = format.code;
                    known = true;
                }
            }
        }
        if (!known) {
            throw ConfigError("camera " + m_name + ": '" + name + "' needs a 32-bit value, not '" +
                              value + "'");
        }
        set32Locked(reg->name, static_cast<std::uint32_t>(number));
    }
    for (const auto& [address, value] : setup.rawValues) {
        if (!inRange(m_memorySize, address, 4)) {
            throw ConfigError("camera " + m_name + ": register address beyond its memory");
        }
        storeBig(&m_memory[address], value);
    }
    for (const CameraRegister& reg : CameraRegisterMap::registers(m_kind)) {
        if (reg.kind == RegisterKind::Integer && reg.access == RegisterAccess::RW &&
            !validLocked(reg, loadBig(&m_memory[reg.address]), m_memory)) {
            throw ConfigError("camera " + m_name + ": initial value of '" + reg.name +
                              "' is out of range");
        }
    }
    updatePayloadLocked();
}

DeviceStatus CameraDevice::checkOwnerLocked(const void* owner) const {
    if (!m_powered) {
        return DeviceStatus::PoweredOff;
    }
    if (m_kind == CameraKind::CoaXPress && !m_linkUp) {
        return DeviceStatus::LinkDown;
    }
    if (m_owner == nullptr || m_owner != owner) {
        return DeviceStatus::NotConnected;
    }
    return DeviceStatus::Ok;
}

DeviceStatus CameraDevice::checkOwner(const void* owner) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return checkOwnerLocked(owner);
}

DeviceStatus CameraDevice::read(const void* owner, std::uint64_t address, void* buffer,
                                std::size_t length) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const DeviceStatus status = checkOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    if (!inRange(m_memorySize, address, length)) {
        return DeviceStatus::Address;
    }
    std::memcpy(buffer, &m_memory[address], length);
    return DeviceStatus::Ok;
}

DeviceStatus CameraDevice::write(const void* owner, std::uint64_t address, const void* data,
                                 std::size_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const DeviceStatus status = checkOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    return writeLocked(address, data, length, true);
}

bool CameraDevice::peek(std::uint64_t address, void* buffer, std::size_t length) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_memorySize, address, length)) {
        return false;
    }
    std::memcpy(buffer, &m_memory[address], length);
    return true;
}

bool CameraDevice::poke(std::uint64_t address, const void* data, std::size_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return writeLocked(address, data, length, false) == DeviceStatus::Ok;
}

DeviceStatus CameraDevice::writeLocked(std::uint64_t address, const void* data, std::size_t length,
                                       bool enforceAccess) {
    if (!inRange(m_memorySize, address, length)) {
        return DeviceStatus::Address;
    }
    if (enforceAccess) {
        // Check the whole write first, so a refused write changes nothing.
        std::vector<std::uint8_t> staged;
        for (const CameraRegister& reg : CameraRegisterMap::registers(m_kind)) {
            if (!overlaps(reg, address, length)) {
                continue;
            }
            if (reg.access == RegisterAccess::RO) {
                return DeviceStatus::AccessDenied;
            }
            if (reg.kind == RegisterKind::Integer) {
                if (staged.empty()) {
                    staged = m_memory;
                    std::memcpy(&staged[address], data, length);
                }
                if (!validLocked(reg, loadBig(&staged[reg.address]), staged)) {
                    return DeviceStatus::InvalidValue;
                }
            }
        }
    }
    std::memcpy(&m_memory[address], data, length);
    executeCommandsLocked(address, length);
    updatePayloadLocked();
    return DeviceStatus::Ok;
}

bool CameraDevice::validLocked(const CameraRegister& reg, std::uint32_t value,
                               const std::vector<std::uint8_t>& memory) const {
    if (std::strcmp(reg.name, "PixelFormat") == 0) {
        const auto& formats = CameraRegisterMap::pixelFormats();
        return std::any_of(formats.begin(), formats.end(),
                           [value](const auto& format) { return format.code == value; });
    }
    std::uint64_t max = reg.max;
    if (reg.maxRegister != nullptr) {
        const CameraRegister* cap = CameraRegisterMap::find(m_kind, reg.maxRegister);
        const std::uint32_t capValue = loadBig(&memory[cap->address]);
        max = capValue >= reg.maxOffset ? capValue - reg.maxOffset : 0;
    }
    return value >= reg.min && value <= max;
}

void CameraDevice::executeCommandsLocked(std::uint64_t address, std::size_t length) {
    for (const CameraRegister& reg : CameraRegisterMap::registers(m_kind)) {
        if (reg.kind != RegisterKind::Command || !overlaps(reg, address, length)) {
            continue;
        }
        const std::uint32_t value = loadBig(&m_memory[reg.address]);
        storeBig(&m_memory[reg.address], 0); // commands clear themselves
        if (value == 0) {
            continue;
        }
        if (std::strcmp(reg.name, "AcquisitionStart") == 0) {
            set32Locked("AcquisitionStatus", 1);
        } else if (std::strcmp(reg.name, "AcquisitionStop") == 0) {
            set32Locked("AcquisitionStatus", 0);
        } else if (std::strcmp(reg.name, "TriggerSoftware") == 0) {
            set32Locked("TriggerCount", get32Locked("TriggerCount") + 1);
        }
    }
}

void CameraDevice::updatePayloadLocked() {
    std::uint64_t bytesPerPixel = 1;
    const std::uint32_t format = get32Locked("PixelFormat");
    for (const auto& known : CameraRegisterMap::pixelFormats()) {
        if (known.code == format) {
            bytesPerPixel = known.bytesPerPixel;
        }
    }
    const std::uint64_t payload =
        static_cast<std::uint64_t>(get32Locked("Width")) * get32Locked("Height") * bytesPerPixel;
    set32Locked("PayloadSize",
                static_cast<std::uint32_t>(std::min<std::uint64_t>(payload, 0xFFFFFFFFu)));
}

std::uint32_t CameraDevice::get32Locked(const char* name) const {
    const CameraRegister* reg = CameraRegisterMap::find(m_kind, name);
    return loadBig(&m_memory[reg->address]);
}

void CameraDevice::set32Locked(const char* name, std::uint32_t value) {
    const CameraRegister* reg = CameraRegisterMap::find(m_kind, name);
    storeBig(&m_memory[reg->address], value);
}

DeviceStatus CameraDevice::linkUp() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_powered) {
        return DeviceStatus::PoweredOff;
    }
    m_linkUp = true;
    return DeviceStatus::Ok;
}

void CameraDevice::linkDown() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_linkUp = false;
    // Without a link the control channel is gone, and so is the connection.
    m_owner = nullptr;
    set32Locked("AcquisitionStatus", 0);
}

DeviceStatus CameraDevice::connect(const void* owner) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_powered) {
        return DeviceStatus::PoweredOff;
    }
    if (m_kind == CameraKind::CoaXPress && !m_linkUp) {
        return DeviceStatus::LinkDown;
    }
    if (m_owner == owner) {
        return DeviceStatus::AlreadyConnected;
    }
    if (m_owner != nullptr) {
        return DeviceStatus::Busy;
    }
    m_owner = owner;
    return DeviceStatus::Ok;
}

DeviceStatus CameraDevice::disconnect(const void* owner) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_owner == nullptr || m_owner != owner) {
        return DeviceStatus::NotConnected;
    }
    m_owner = nullptr;
    set32Locked("AcquisitionStatus", 0);
    return DeviceStatus::Ok;
}

void CameraDevice::release(const void* owner) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_owner != nullptr && m_owner == owner) {
        m_owner = nullptr;
        set32Locked("AcquisitionStatus", 0);
    }
}

void CameraDevice::setPowered(bool powered) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_powered = powered;
    if (!powered) {
        m_linkUp = false;
        m_owner = nullptr;
        set32Locked("AcquisitionStatus", 0);
    }
}

DeviceStatus CameraDevice::startAcquisition(const void* owner) {
    const std::uint8_t one[4] = {0, 0, 0, 1};
    std::lock_guard<std::mutex> lock(m_mutex);
    const DeviceStatus status = checkOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    return writeLocked(CameraRegisterMap::find(m_kind, "AcquisitionStart")->address, one, 4, true);
}

DeviceStatus CameraDevice::stopAcquisition(const void* owner) {
    const std::uint8_t one[4] = {0, 0, 0, 1};
    std::lock_guard<std::mutex> lock(m_mutex);
    const DeviceStatus status = checkOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    return writeLocked(CameraRegisterMap::find(m_kind, "AcquisitionStop")->address, one, 4, true);
}

bool CameraDevice::linked() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_linkUp;
}

bool CameraDevice::connected() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_owner != nullptr;
}

bool CameraDevice::powered() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_powered;
}

bool CameraDevice::acquiring() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return get32Locked("AcquisitionStatus") != 0;
}

std::uint32_t CameraDevice::integer(const char* name) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return get32Locked(name);
}

std::string CameraDevice::text(const char* name) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const CameraRegister* reg = CameraRegisterMap::find(m_kind, name);
    const char* begin = reinterpret_cast<const char*>(&m_memory[reg->address]);
    return std::string(begin, strnlen(begin, reg->length));
}

} // namespace sim
