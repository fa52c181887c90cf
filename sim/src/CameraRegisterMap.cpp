#include "CameraRegisterMap.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

constexpr std::uint32_t Open = 0xFFFFFFFFu;

// Features every camera offers, at the same addresses for both kinds.
const std::vector<CameraRegister> featureBlock = {
    {"Width", 0x1000, 4, RegisterAccess::RW, RegisterKind::Integer, 1, Open, "SensorWidth", 0,
     "ImageFormatControl", "Width of the image in pixels"},
    {"Height", 0x1004, 4, RegisterAccess::RW, RegisterKind::Integer, 1, Open, "SensorHeight", 0,
     "ImageFormatControl", "Height of the image in lines"},
    {"OffsetX", 0x1008, 4, RegisterAccess::RW, RegisterKind::Integer, 0, Open, "SensorWidth", 1,
     "ImageFormatControl", "Horizontal offset of the region of interest"},
    {"OffsetY", 0x100C, 4, RegisterAccess::RW, RegisterKind::Integer, 0, Open, "SensorHeight", 1,
     "ImageFormatControl", "Vertical offset of the region of interest"},
    {"PixelFormat", 0x1010, 4, RegisterAccess::RW, RegisterKind::Integer, 0, Open, nullptr, 0,
     "ImageFormatControl", "Format of the pixels"},
    {"SensorWidth", 0x1014, 4, RegisterAccess::RO, RegisterKind::Integer, 1, Open, nullptr, 0,
     "ImageFormatControl", "Width of the sensor in pixels"},
    {"SensorHeight", 0x1018, 4, RegisterAccess::RO, RegisterKind::Integer, 1, Open, nullptr, 0,
     "ImageFormatControl", "Height of the sensor in lines"},
    {"PayloadSize", 0x101C, 4, RegisterAccess::RO, RegisterKind::Integer, 0, Open, nullptr, 0,
     "ImageFormatControl", "Bytes of one image"},
    {"AcquisitionMode", 0x1020, 4, RegisterAccess::RW, RegisterKind::Integer, 0, 2, nullptr, 0,
     "AcquisitionControl", "0 continuous, 1 single frame, 2 multi frame"},
    {"AcquisitionStart", 0x1024, 4, RegisterAccess::WO, RegisterKind::Command, 0, Open, nullptr, 0,
     "AcquisitionControl", "Starts the acquisition"},
    {"AcquisitionStop", 0x1028, 4, RegisterAccess::WO, RegisterKind::Command, 0, Open, nullptr, 0,
     "AcquisitionControl", "Stops the acquisition"},
    {"AcquisitionStatus", 0x102C, 4, RegisterAccess::RO, RegisterKind::Integer, 0, 1, nullptr, 0,
     "AcquisitionControl", "1 while the camera acquires"},
    {"ExposureTime", 0x1030, 4, RegisterAccess::RW, RegisterKind::Integer, 1, 10000000, nullptr, 0,
     "AcquisitionControl", "Exposure time in microseconds"},
    {"Gain", 0x1034, 4, RegisterAccess::RW, RegisterKind::Integer, 0, 480, nullptr, 0,
     "AcquisitionControl", "Gain in tenths of a dB"},
    {"TriggerMode", 0x1038, 4, RegisterAccess::RW, RegisterKind::Integer, 0, 1, nullptr, 0,
     "AcquisitionControl", "0 free running, 1 triggered"},
    {"TriggerSoftware", 0x103C, 4, RegisterAccess::WO, RegisterKind::Command, 0, Open, nullptr, 0,
     "AcquisitionControl", "Sends one software trigger"},
    {"TriggerCount", 0x1040, 4, RegisterAccess::RO, RegisterKind::Integer, 0, Open, nullptr, 0,
     "AcquisitionControl", "Software triggers received"},
    {"AcquisitionFrameRate", 0x1044, 4, RegisterAccess::RW, RegisterKind::Float, 1, 1000, nullptr,
     0, "AcquisitionControl", "Frame rate in hertz"},
};

std::vector<CameraRegister> WithFeatures(std::vector<CameraRegister> bootstrap) {
    bootstrap.insert(bootstrap.end(), featureBlock.begin(), featureBlock.end());
    return bootstrap;
}

const std::vector<CameraRegister> gigeRegisters = WithFeatures({
    {"DeviceVersionRegister", 0x0000, 4, RegisterAccess::RO, RegisterKind::Integer, 0, Open,
     nullptr, 0, "DeviceControl", "GigE Vision version, major in the high half"},
    {"DeviceVendorName", 0x0048, 32, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Manufacturer of the camera"},
    {"DeviceModelName", 0x0068, 32, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Model of the camera"},
    {"DeviceVersion", 0x0088, 32, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Version of the camera"},
    {"DeviceSerialNumber", 0x00D8, 16, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr,
     0, "DeviceControl", "Serial number"},
    {"DeviceUserID", 0x00E8, 16, RegisterAccess::RW, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Name given by the user"},
});

const std::vector<CameraRegister> cxpRegisters = WithFeatures({
    {"Standard", 0x0000, 4, RegisterAccess::RO, RegisterKind::Integer, 0, Open, nullptr, 0,
     "DeviceControl", "CoaXPress magic number"},
    {"Revision", 0x0004, 4, RegisterAccess::RO, RegisterKind::Integer, 0, Open, nullptr, 0,
     "DeviceControl", "CoaXPress revision, major in the high half"},
    {"DeviceVendorName", 0x2000, 32, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Manufacturer of the camera"},
    {"DeviceModelName", 0x2020, 32, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Model of the camera"},
    {"DeviceVersion", 0x2070, 32, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Version of the camera"},
    {"DeviceSerialNumber", 0x20B0, 16, RegisterAccess::RO, RegisterKind::String, 0, Open, nullptr,
     0, "DeviceControl", "Serial number"},
    {"DeviceUserID", 0x20C0, 16, RegisterAccess::RW, RegisterKind::String, 0, Open, nullptr, 0,
     "DeviceControl", "Name given by the user"},
});

const std::vector<CameraRegisterMap::PixelFormatCode> pixelFormats = {
    {"Mono8", 0x01080001u, 1},  {"Mono10", 0x01100003u, 2}, {"Mono12", 0x01100005u, 2},
    {"Mono16", 0x01100007u, 2}, {"RGB8", 0x02180014u, 3},   {"BGR8", 0x02180015u, 3},
};

} // namespace

const std::vector<CameraRegister>& CameraRegisterMap::Registers(CameraKind kind) {
    return kind == CameraKind::GigE ? gigeRegisters : cxpRegisters;
}

const CameraRegister* CameraRegisterMap::Find(CameraKind kind, const std::string& name) {
    for (const CameraRegister& reg : Registers(kind)) {
        if (name == reg.name) {
            return &reg;
        }
    }
    return nullptr;
}

std::uint64_t CameraRegisterMap::RequiredMemory(CameraKind kind) {
    std::uint64_t end = 0;
    for (const CameraRegister& reg : Registers(kind)) {
        end = std::max(end, reg.address + reg.length);
    }
    return end;
}

const std::vector<CameraRegisterMap::PixelFormatCode>& CameraRegisterMap::PixelFormats() {
    return pixelFormats;
}

} // namespace sim
