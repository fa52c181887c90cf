#pragma once
// Whether the process has a library mapped, asked of the system rather than of
// the loader's reference counts: Linux's /proc/self/maps, or GetModuleHandle on
// Windows.

#include <string>

namespace orvtest {

/// True while the library at `path` is mapped into this process.
bool IsLibraryLoaded(const std::string& path);

} // namespace orvtest
