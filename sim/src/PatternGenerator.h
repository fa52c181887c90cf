// The deterministic test patterns the simulated DMAs write.
#pragma once

#include "DmaConfig.h"

#include <cstdint>

namespace sim {

// Stateless; safe from any thread. Fill() allocates nothing, so the engine can call it
// per frame.
class PatternGenerator {
public:
    static constexpr std::uint32_t PatternCount = 5;

    // One byte of a frame; sx, sy are sensor coordinates (image position plus offset).
    static std::uint8_t ByteAt(std::uint32_t pattern, std::uint32_t format, std::uint64_t sx,
                               std::uint64_t sy, unsigned k, std::int64_t picture,
                               std::int32_t offset);
    // Bytes of a whole image, saturating instead of overflowing.
    static std::uint64_t ImageBytes(const FrameSetup& setup);
    // Writes picture `picture` row by row into dst, stopping at the image size, the short
    // transfer length or the capacity, whichever is smallest; answers the bytes written.
    static std::uint64_t Fill(std::uint8_t* dst, std::uint64_t capacity, const FrameSetup& setup,
                              std::int64_t picture);
};

} // namespace sim
