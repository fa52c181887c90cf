#include "CameraDevice.h"

#include "CameraXml.h"
#include "IniDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sim {

namespace {

std::uint32_t LoadBig(const std::uint8_t* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 24) |
           (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

void StoreBig(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value >> 24);
    bytes[1] = static_cast<std::uint8_t>(value >> 16);
    bytes[2] = static_cast<std::uint8_t>(value >> 8);
    bytes[3] = static_cast<std::uint8_t>(value);
}

// A float register holds the IEEE-754 bits of its value.
std::uint32_t FloatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

float FloatOfBits(std::uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

bool Overlaps(const CameraRegister& reg, std::uint64_t address, std::size_t length) {
    return address < reg.address + reg.length && reg.address < address + length;
}

bool InRange(std::uint64_t size, std::uint64_t address, std::size_t length) {
    return address <= size && length <= size - address;
}

std::string ReadTextFile(const std::string& path) {
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
    : name_(setup.name), kind_(setup.kind), answerMs_(setup.answerMs),
      memorySize_(setup.memorySize) {
    if (memorySize_ < CameraRegisterMap::RequiredMemory(kind_)) {
        throw ConfigError("camera " + name_ + ": memory must hold at least " +
                          std::to_string(CameraRegisterMap::RequiredMemory(kind_)) + " bytes");
    }
    memory_.assign(memorySize_, 0);
    ApplyInitialValues(setup);
    description_ = setup.xmlPath.empty()
                       ? CameraXml::Build(kind_, Text("DeviceVendorName"), Text("DeviceModelName"))
                       : ReadTextFile(setup.xmlPath);
}

void CameraDevice::ApplyInitialValues(const CameraSetup& setup) {
    const bool gige = kind_ == CameraKind::GigE;
    auto setText = [this](const char* name, const std::string& value) {
        const CameraRegister* reg = CameraRegisterMap::Find(kind_, name);
        std::memset(&memory_[reg->address], 0, reg->length);
        std::memcpy(&memory_[reg->address], value.data(),
                    std::min<std::size_t>(value.size(), reg->length));
    };
    if (gige) {
        Set32Locked("DeviceVersionRegister", 0x00010002u); // GigE Vision 1.2
    } else {
        Set32Locked("Standard", 0xC0A79AE5u); // CoaXPress bootstrap magic
        Set32Locked("Revision", 0x00010001u);
    }
    setText("DeviceVendorName", "Nordwell Sim");
    setText("DeviceModelName", gige ? "SimCam GigE" : "SimCam CXP");
    setText("DeviceVersion", "1.0");
    setText("DeviceSerialNumber", name_.substr(0, 15));
    Set32Locked("SensorWidth", 1920);
    Set32Locked("SensorHeight", 1200);
    Set32Locked("Width", 640);
    Set32Locked("Height", 480);
    Set32Locked("PixelFormat", CameraRegisterMap::PixelFormats().front().code);
    Set32Locked("ExposureTime", 10000);
    Set32Locked("AcquisitionFrameRate", FloatBits(30.0f));

    for (const auto& [name, value] : setup.namedValues) {
        const CameraRegister* reg = CameraRegisterMap::Find(kind_, name);
        if (reg == nullptr || reg->kind == RegisterKind::Command) {
            throw ConfigError("camera " + name_ + ": no settable register '" + name + "'");
        }
        if (reg->kind == RegisterKind::String) {
            if (value.size() > reg->length) {
                throw ConfigError("camera " + name_ + ": '" + name + "' holds at most " +
                                  std::to_string(reg->length) + " characters");
            }
            setText(reg->name, value);
            continue;
        }
        if (reg->kind == RegisterKind::Float) {
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0') {
                throw ConfigError("camera " + name_ + ": '" + name + "' needs a number, not '" +
                                  value + "'");
            }
            Set32Locked(reg->name, FloatBits(static_cast<float>(number)));
            continue;
        }
        std::uint64_t number = 0;
        bool known = ParseUnsigned(value, number) && number <= 0xFFFFFFFFu;
        if (!known && name == "PixelFormat") {
            for (const auto& format : CameraRegisterMap::PixelFormats()) {
                if (value == format.name) {
                    number = format.code;
                    known = true;
                }
            }
        }
        if (!known) {
            throw ConfigError("camera " + name_ + ": '" + name + "' needs a 32-bit value, not '" +
                              value + "'");
        }
        Set32Locked(reg->name, static_cast<std::uint32_t>(number));
    }
    for (const auto& [address, value] : setup.rawValues) {
        if (!InRange(memorySize_, address, 4)) {
            throw ConfigError("camera " + name_ + ": register address beyond its memory");
        }
        StoreBig(&memory_[address], value);
    }
    for (const CameraRegister& reg : CameraRegisterMap::Registers(kind_)) {
        const bool numeric = reg.kind == RegisterKind::Integer || reg.kind == RegisterKind::Float;
        if (numeric && reg.access == RegisterAccess::RW &&
            !ValidLocked(reg, LoadBig(&memory_[reg.address]), memory_)) {
            throw ConfigError("camera " + name_ + ": initial value of '" + reg.name +
                              "' is out of range");
        }
    }
    UpdatePayloadLocked();
}

DeviceStatus CameraDevice::CheckOwnerLocked(const void* owner) const {
    if (!powered_) {
        return DeviceStatus::PoweredOff;
    }
    if (kind_ == CameraKind::CoaXPress && !linkUp_) {
        return DeviceStatus::LinkDown;
    }
    if (owner_ == nullptr || owner_ != owner) {
        return DeviceStatus::NotConnected;
    }
    return DeviceStatus::Ok;
}

DeviceStatus CameraDevice::CheckOwner(const void* owner) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return CheckOwnerLocked(owner);
}

DeviceStatus CameraDevice::Read(const void* owner, std::uint64_t address, void* buffer,
                                std::size_t length) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const DeviceStatus status = CheckOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    if (!InRange(memorySize_, address, length)) {
        return DeviceStatus::Address;
    }
    std::memcpy(buffer, &memory_[address], length);
    return DeviceStatus::Ok;
}

DeviceStatus CameraDevice::Write(const void* owner, std::uint64_t address, const void* data,
                                 std::size_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    const DeviceStatus status = CheckOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    return WriteLocked(address, data, length, true);
}

bool CameraDevice::Peek(std::uint64_t address, void* buffer, std::size_t length) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!InRange(memorySize_, address, length)) {
        return false;
    }
    std::memcpy(buffer, &memory_[address], length);
    return true;
}

bool CameraDevice::Poke(std::uint64_t address, const void* data, std::size_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    return WriteLocked(address, data, length, false) == DeviceStatus::Ok;
}

DeviceStatus CameraDevice::WriteLocked(std::uint64_t address, const void* data, std::size_t length,
                                       bool enforceAccess) {
    if (!InRange(memorySize_, address, length)) {
        return DeviceStatus::Address;
    }
    if (enforceAccess) {
        // Check the whole write first, so a refused write changes nothing.
        std::vector<std::uint8_t> staged;
        for (const CameraRegister& reg : CameraRegisterMap::Registers(kind_)) {
            if (!Overlaps(reg, address, length)) {
                continue;
            }
            if (reg.access == RegisterAccess::RO) {
                return DeviceStatus::AccessDenied;
            }
            if (reg.kind == RegisterKind::Integer || reg.kind == RegisterKind::Float) {
                if (staged.empty()) {
                    staged = memory_;
                    std::memcpy(&staged[address], data, length);
                }
                if (!ValidLocked(reg, LoadBig(&staged[reg.address]), staged)) {
                    return DeviceStatus::InvalidValue;
                }
            }
        }
    }
    std::memcpy(&memory_[address], data, length);
    ExecuteCommandsLocked(address, length);
    UpdatePayloadLocked();
    return DeviceStatus::Ok;
}

bool CameraDevice::ValidLocked(const CameraRegister& reg, std::uint32_t value,
                               const std::vector<std::uint8_t>& memory) const {
    if (reg.kind == RegisterKind::Float) {
        const float number = FloatOfBits(value);
        return std::isfinite(number) && number >= static_cast<float>(reg.min) &&
               number <= static_cast<float>(reg.max);
    }
    if (std::strcmp(reg.name, "PixelFormat") == 0) {
        const auto& formats = CameraRegisterMap::PixelFormats();
        return std::any_of(formats.begin(), formats.end(),
                           [value](const auto& format) { return format.code == value; });
    }
    std::uint64_t max = reg.max;
    if (reg.maxRegister != nullptr) {
        const CameraRegister* cap = CameraRegisterMap::Find(kind_, reg.maxRegister);
        const std::uint32_t capValue = LoadBig(&memory[cap->address]);
        max = capValue >= reg.maxOffset ? capValue - reg.maxOffset : 0;
    }
    return value >= reg.min && value <= max;
}

void CameraDevice::ExecuteCommandsLocked(std::uint64_t address, std::size_t length) {
    for (const CameraRegister& reg : CameraRegisterMap::Registers(kind_)) {
        if (reg.kind != RegisterKind::Command || !Overlaps(reg, address, length)) {
            continue;
        }
        const std::uint32_t value = LoadBig(&memory_[reg.address]);
        StoreBig(&memory_[reg.address], 0); // commands clear themselves
        if (value == 0) {
            continue;
        }
        if (std::strcmp(reg.name, "AcquisitionStart") == 0) {
            Set32Locked("AcquisitionStatus", 1);
        } else if (std::strcmp(reg.name, "AcquisitionStop") == 0) {
            Set32Locked("AcquisitionStatus", 0);
        } else if (std::strcmp(reg.name, "TriggerSoftware") == 0) {
            Set32Locked("TriggerCount", Get32Locked("TriggerCount") + 1);
        }
    }
}

void CameraDevice::UpdatePayloadLocked() {
    std::uint64_t bytesPerPixel = 1;
    const std::uint32_t format = Get32Locked("PixelFormat");
    for (const auto& known : CameraRegisterMap::PixelFormats()) {
        if (known.code == format) {
            bytesPerPixel = known.bytesPerPixel;
        }
    }
    const std::uint64_t payload =
        static_cast<std::uint64_t>(Get32Locked("Width")) * Get32Locked("Height") * bytesPerPixel;
    Set32Locked("PayloadSize",
                static_cast<std::uint32_t>(std::min<std::uint64_t>(payload, 0xFFFFFFFFu)));
}

std::uint32_t CameraDevice::Get32Locked(const char* name) const {
    const CameraRegister* reg = CameraRegisterMap::Find(kind_, name);
    return LoadBig(&memory_[reg->address]);
}

void CameraDevice::Set32Locked(const char* name, std::uint32_t value) {
    const CameraRegister* reg = CameraRegisterMap::Find(kind_, name);
    StoreBig(&memory_[reg->address], value);
}

DeviceStatus CameraDevice::LinkUp() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!powered_) {
        return DeviceStatus::PoweredOff;
    }
    linkUp_ = true;
    return DeviceStatus::Ok;
}

void CameraDevice::LinkDown() {
    std::lock_guard<std::mutex> lock(mutex_);
    linkUp_ = false;
    // Without a link the control channel is gone, and so is the connection.
    owner_ = nullptr;
    Set32Locked("AcquisitionStatus", 0);
}

DeviceStatus CameraDevice::Connect(const void* owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!powered_) {
        return DeviceStatus::PoweredOff;
    }
    if (kind_ == CameraKind::CoaXPress && !linkUp_) {
        return DeviceStatus::LinkDown;
    }
    if (owner_ == owner) {
        return DeviceStatus::AlreadyConnected;
    }
    if (owner_ != nullptr) {
        return DeviceStatus::Busy;
    }
    owner_ = owner;
    return DeviceStatus::Ok;
}

DeviceStatus CameraDevice::Disconnect(const void* owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (owner_ == nullptr || owner_ != owner) {
        return DeviceStatus::NotConnected;
    }
    owner_ = nullptr;
    Set32Locked("AcquisitionStatus", 0);
    return DeviceStatus::Ok;
}

void CameraDevice::Release(const void* owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (owner_ != nullptr && owner_ == owner) {
        owner_ = nullptr;
        Set32Locked("AcquisitionStatus", 0);
    }
}

void CameraDevice::SetPowered(bool powered) {
    std::lock_guard<std::mutex> lock(mutex_);
    powered_ = powered;
    if (!powered) {
        linkUp_ = false;
        owner_ = nullptr;
        Set32Locked("AcquisitionStatus", 0);
    }
}

DeviceStatus CameraDevice::StartAcquisition(const void* owner) {
    const std::uint8_t one[4] = {0, 0, 0, 1};
    std::lock_guard<std::mutex> lock(mutex_);
    const DeviceStatus status = CheckOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    return WriteLocked(CameraRegisterMap::Find(kind_, "AcquisitionStart")->address, one, 4, true);
}

DeviceStatus CameraDevice::StopAcquisition(const void* owner) {
    const std::uint8_t one[4] = {0, 0, 0, 1};
    std::lock_guard<std::mutex> lock(mutex_);
    const DeviceStatus status = CheckOwnerLocked(owner);
    if (status != DeviceStatus::Ok) {
        return status;
    }
    return WriteLocked(CameraRegisterMap::Find(kind_, "AcquisitionStop")->address, one, 4, true);
}

bool CameraDevice::Linked() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return linkUp_;
}

bool CameraDevice::Connected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return owner_ != nullptr;
}

bool CameraDevice::Powered() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return powered_;
}

bool CameraDevice::Acquiring() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return Get32Locked("AcquisitionStatus") != 0;
}

std::uint32_t CameraDevice::Integer(const char* name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return Get32Locked(name);
}

std::string CameraDevice::Text(const char* name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const CameraRegister* reg = CameraRegisterMap::Find(kind_, name);
    const char* begin = reinterpret_cast<const char*>(&memory_[reg->address]);
    return std::string(begin, strnlen(begin, reg->length));
}

} // namespace sim
