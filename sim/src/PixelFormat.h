// How the simulated DMA lays out the pixels of each pixel format code.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

// Stateless; safe from any thread.
class PixelFormat {
public:
    // Bytes the engine writes per pixel; unknown codes are written as 4-byte pixels.
    static unsigned BytesPerPixel(std::uint32_t code);
    // Bits that byte k of a pixel can carry (gray10 keeps 10 bits in two bytes...).
    static std::uint8_t ByteMask(std::uint32_t code, unsigned k);
    // Bits per colour component, the default of the pixel depth parameter.
    static std::uint32_t DefaultDepth(std::uint32_t code);
    // "gray8" ... for known codes, nullptr otherwise.
    static const char* Name(std::uint32_t code);
    // A name or a number; false for anything else.
    static bool Parse(const std::string& text, std::uint32_t& code);
};

} // namespace sim
