// The register layout of the simulated cameras.
#pragma once

#include "MachineSetup.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class RegisterAccess { RO, RW, WO };
enum class RegisterKind { Integer, Float, String, Command };

struct CameraRegister {
    const char* name;
    std::uint64_t address;
    std::uint32_t length;
    RegisterAccess access;
    RegisterKind kind;
    std::uint32_t min;       // accepted range of written integers (and whole-number floats)
    std::uint32_t max;       // 0xFFFFFFFF when open
    const char* maxRegister; // register whose value caps writes (nullptr: use max)
    std::uint32_t maxOffset; // subtracted from the capping register's value
    const char* category;    // GenICam category of the feature
    const char* toolTip;
};

// The fixed layout: a bootstrap block that differs per camera kind (GigE Vision or
// CoaXPress addresses) and a common feature block at 0x1000. Every integer register is
// 4 bytes, stored big-endian like on the wire; the float register is an IEEE-754 single,
// big-endian too.
//
// Stateless; safe from any thread.
class CameraRegisterMap {
public:
    static const std::vector<CameraRegister>& Registers(CameraKind kind);
    static const CameraRegister* Find(CameraKind kind, const std::string& name);
    // Smallest register memory that holds the whole layout.
    static std::uint64_t RequiredMemory(CameraKind kind);

    // Pixel format codes the cameras accept, with their bytes per pixel.
    struct PixelFormatCode {
        const char* name;
        std::uint32_t code;
        std::uint32_t bytesPerPixel;
    };
    static const std::vector<PixelFormatCode>& PixelFormats();
};

} // namespace sim
