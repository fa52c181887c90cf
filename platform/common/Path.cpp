#include <platform/Path.h>

namespace platform {

std::string ToNativePath(const std::string& path) {
    std::string native = path;
    for (char& c : native) {
        if (c == '\\' || c == '/')
            c = kNativePathSeparator;
    }
    return native;
}

} // namespace platform
