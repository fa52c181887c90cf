#include "RegistryFile.h"

#include "FdIo.h"
#include "FileLock.h"
#include "UniqueFd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace registry {
namespace {

StoreLoad LoadFrom(const std::string& path, RegistryDocument* document) {
    *document = RegistryDocument();
    posix::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return errno == ENOENT ? StoreLoad::Missing : StoreLoad::Unreadable;
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<unsigned long long>(status.st_size) > RegistryFile::kMaxFileSize)
        return StoreLoad::Unreadable;
    std::string text;
    if (posix::ReadAll(fd.get(), &text, RegistryFile::kMaxFileSize))
        return StoreLoad::Unreadable;
    *document = RegistryDocument::Parse(text);
    return StoreLoad::Ok;
}

// rename() would replace a symbolic link with a file; write where it points instead.
std::string WriteTarget(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        std::vector<char> resolved(PATH_MAX);
        if (::realpath(path.c_str(), resolved.data()) != nullptr)
            return std::string(resolved.data());
    }
    return path;
}

bool WriteAtomically(const std::string& target, const std::string& text) {
    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    posix::UniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd)
        return false;
    struct stat status {};
    mode_t mode = ::stat(target.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0644;
    bool written = posix::WriteAll(fd.get(), text.data(), text.size()).complete &&
                   ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
    written = ::close(fd.release()) == 0 && written;
    if (written && ::rename(name.data(), target.c_str()) == 0)
        return true;
    ::unlink(name.data());
    return false;
}

} // namespace

StoreLoad RegistryFile::Load(RegistryDocument* document) const {
    if (path_.empty()) {
        *document = RegistryDocument();
        return StoreLoad::Missing;
    }
    return LoadFrom(path_, document);
}

int32_t RegistryFile::Update(const Change& change) const {
    if (path_.empty())
        return ERROR_CANTWRITE;
    const std::string target = WriteTarget(path_);
    std::error_code error;
    std::filesystem::path parent = std::filesystem::path(target).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, error);
    if (error)
        return ERROR_CANTWRITE;
    // The lock lives in its own file: the store file itself is replaced on each write.
    posix::FileLock lock = posix::FileLock::Acquire(target + ".lock", &error);
    if (!lock)
        return ERROR_CANTWRITE;
    RegistryDocument document;
    if (LoadFrom(target, &document) == StoreLoad::Unreadable)
        return ERROR_CANTWRITE;
    bool changed = false;
    int32_t result = change(document, &changed);
    if (result != ERROR_SUCCESS || !changed)
        return result;
    return WriteAtomically(target, document.Serialize()) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

} // namespace registry
} // namespace platform
