#include "support/LoadedLibrary.h"

#include <fstream>

namespace orvtest {

bool IsLibraryLoaded(const std::string& path) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find(path) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace orvtest
