#include "tools/PatternCheck.h"
#include "support/RotatedSource.h"

#include <simctl/SimControl.h>

#include <sstream>
#include <utility>

namespace toolstest {

int PatternMismatches(const PngImage& png, const DmaLayout& layout, int64_t picture,
                      std::string* detail) {
    const int bytesPerPixel = SimCtl_BytesPerPixel(layout.format);
    const int channels = png.channels;
    const int sampleBytes = bytesPerPixel / channels;
    std::ostringstream text;
    int mismatches = 0;
    const uint8_t* at = png.bytes.data();
    for (uint32_t y = 0; y < png.height; ++y) {
        for (uint32_t x = 0; x < png.width; ++x) {
            const auto [sx, sy] =
                orvtest::RotatedSource(layout.rotation, x, y, layout.width, layout.height);
            for (int c = 0; c < channels; ++c) {
                // The grabber delivers BGR; inverted planes present RGB.
                const int plane = layout.invertdim && channels > 1 ? channels - 1 - c : c;
                uint32_t want = 0;
                for (int b = sampleBytes - 1; b >= 0; --b)
                    want = (want << 8) |
                           static_cast<uint32_t>(SimCtl_PatternByte(
                               SIM_PATTERN_MOVING, layout.format, sx, sy,
                               static_cast<unsigned>(plane * sampleBytes + b), picture, 0));
                uint32_t got = *at++;
                if (png.bitDepth == 16)
                    got = (got << 8) | *at++;
                if (got != want && ++mismatches <= 3)
                    text << "(" << x << ", " << y << ") channel " << c << ": " << got
                         << " != " << want << "; ";
            }
        }
    }
    if (detail != nullptr)
        *detail = text.str();
    return mismatches;
}

} // namespace toolstest
