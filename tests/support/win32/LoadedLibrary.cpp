#include "support/win32/LeanWindows.h"

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
