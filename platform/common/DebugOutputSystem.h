#pragma once
// What each system's side of the debugger output does; common/DebugOutput.cpp
// decides where a message goes.

#include <string>

namespace platform {
namespace debugoutput {

/// Appends `text` to the file at `path`, created when missing; false when the
/// file cannot be opened or not all of the text was written.
bool AppendToFile(const std::string& path, const std::string& text);

/// The system's own channel: the debugger on Windows, standard error on POSIX.
void WriteToSystem(const std::string& text);

} // namespace debugoutput
} // namespace platform
