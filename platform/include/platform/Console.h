#pragma once
// The text console. On POSIX "the console" is the terminal on standard output: a
// process has one when standard output is a terminal, it cannot create a new one,
// and attaching to its parent's console means using the terminal it inherited.
// Colours are Windows console attributes, written as ANSI SGR sequences.

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

namespace platform {

constexpr int kStandardOutput = 1;

// Console text attributes.
constexpr uint16_t kConsoleBlackOnRed = 0xC0;
constexpr uint16_t kConsoleLightRed = 0x0C;
constexpr uint16_t kConsoleYellow = 0x0E;
constexpr uint16_t kConsoleGrey = 0x07;
constexpr uint16_t kConsoleBlackOnGrey = 0x70;
constexpr uint16_t kConsoleWhite = 0x0F;

/// The sequence that restores the terminal's default colours.
constexpr const char* kConsoleColourReset = "\x1b[0m";

bool HasConsole();
/// Always false on POSIX: a process cannot open a console window of its own.
bool AllocateConsole();
/// True when there is an inherited terminal on standard output.
bool AttachParentConsole();

/// Sets the terminal's window title (control characters in `title` are dropped).
/// Fails with ENOTTY when `fd` is not a terminal.
std::error_code SetConsoleTitle(const std::string& title, int fd = kStandardOutput);

/// The SGR sequence for a console attribute: low nibble foreground, high nibble
/// background, each blue 1, green 2, red 4, intensity 8. A zero background means the
/// terminal's own background.
std::string ConsoleColourSequence(uint16_t attribute);

struct ConsoleWriteResult {
    size_t written = 0;    // bytes accepted, escape sequences included
    bool complete = false; // false when the stream stopped accepting
    std::error_code error; // why it stopped, when it did
};

/// Writes `text` in the colour of `attribute`, restores the default colours and
/// ends the line. Writing goes on until all is written or `fd` accepts nothing.
ConsoleWriteResult WriteConsoleLine(const std::string& text, uint16_t attribute,
                                    int fd = kStandardOutput, bool colours = true);

} // namespace platform
