#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "support/LoadedLibrary.h"

namespace orvtest {

// By the file's name: the loader knows a module by its Windows path, which a
// test's POSIX-style path (under Wine) does not match.
bool IsLibraryLoaded(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return ::GetModuleHandleA(name.c_str()) != nullptr;
}

} // namespace orvtest
