#pragma once
// Identity of the running process, its threads and its loaded modules.

#include <cstdint>
#include <string>

namespace platform {

uint32_t CurrentProcessId();
/// The kernel's id of the calling thread (equal to the process id on its first thread).
uint64_t CurrentThreadId();

/// The ANSI code page the process's text is in. POSIX has none: 65001 (UTF-8) when
/// the locale the environment selects (LC_ALL, LC_CTYPE, LANG) uses UTF-8, else 1252.
uint32_t AnsiCodePage();

/// Full path of the executable or shared library that contains `address`; null
/// means the executable. Empty when no loaded module contains the address.
std::string ModuleFileName(const void* address);
/// Full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();
/// The executable's file name without directory and last extension.
std::string ExecutableName();

/// Ends the process now with `status`: no exit handlers, no flushing, and on
/// Windows no library's detach routine (ExitProcess runs them after ending the
/// other threads, and one waiting for a lock such a thread held never returns).
[[noreturn]] void EndProcessNow(int status);

} // namespace platform
