// POSIX has no debugger channel: messages go to standard error.
#include "DebugOutputSystem.h"

#include <platform/Path.h>

#include "FdIo.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace debugoutput {

bool AppendToFile(const std::string& path, const std::string& text) {
    posix::UniqueFd fd(
        ::open(ToNativePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (!fd)
        return false;
    return posix::WriteAll(fd.get(), text.data(), text.size()).complete;
}

void WriteToSystem(const std::string& text) {
    posix::WriteAll(STDERR_FILENO, text.data(), text.size());
}

} // namespace debugoutput
} // namespace platform
