#include <platform/Console.h>

namespace platform {
namespace {

// Windows attribute bits are blue 1, green 2, red 4; ANSI colour numbers are red 1,
// green 2, blue 4.
int AnsiColourIndex(uint16_t nibble) {
    return ((nibble & 0x4) ? 1 : 0) | ((nibble & 0x2) ? 2 : 0) | ((nibble & 0x1) ? 4 : 0);
}

} // namespace

std::string ConsoleColourSequence(uint16_t attribute) {
    const uint16_t foreground = attribute & 0x0F;
    const uint16_t background = (attribute >> 4) & 0x0F;
    const int fg = ((foreground & 0x8) ? 90 : 30) + AnsiColourIndex(foreground);
    int bg = 49; // the terminal's own background, as a Windows console's black one is
    if (background != 0)
        bg = ((background & 0x8) ? 100 : 40) + AnsiColourIndex(background);
    return "\x1b[" + std::to_string(fg) + ";" + std::to_string(bg) + "m";
}

} // namespace platform
