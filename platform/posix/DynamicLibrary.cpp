#include <platform/DynamicLibrary.h>

#include <platform/Path.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <dlfcn.h>
#include <optional>

namespace platform {
namespace {

// A plain array, not a std::string: a thread_local with a destructor would make the
// C++ runtime pin the module that links this library, and dlclose() would no longer
// unload it while the thread lives.
thread_local char t_lastLoadError[1024];

void SetLastLoadError(const std::string& text) {
    const size_t length = std::min(text.size(), sizeof t_lastLoadError - 1);
    std::memcpy(t_lastLoadError, text.data(), length);
    t_lastLoadError[length] = '\0';
}

std::string TakeLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? std::string(text) : std::string("unknown loader error");
}

// "ORGenApi.dll" names a host library that ELF systems call "libORGenApi.so". Only
// bare names are mapped: a path names one file, which either exists or does not.
std::optional<std::string> ElfNameFor(const std::string& name) {
    static const std::string kSuffix = ".dll";
    if (name.find('/') != std::string::npos || name.size() <= kSuffix.size())
        return std::nullopt;
    std::string suffix = name.substr(name.size() - kSuffix.size());
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix != kSuffix)
        return std::nullopt;
    return "lib" + name.substr(0, name.size() - kSuffix.size()) + ".so";
}

} // namespace

LibraryHandle LoadLibrary(const std::string& path) {
    // dlopen("") would hand back the main program instead of failing.
    if (path.empty()) {
        SetLastLoadError("empty library name");
        return nullptr;
    }
    const std::string native = ToNativePath(path);
    if (void* handle = ::dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL))
        return handle;
    std::string error = TakeLoaderError();
    if (std::optional<std::string> elfName = ElfNameFor(native)) {
        if (void* handle = ::dlopen(elfName->c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
        error += "; " + TakeLoaderError();
    }
    SetLastLoadError(error);
    return nullptr;
}

void* ResolveSymbol(LibraryHandle library, const char* name) {
    if (library == nullptr || name == nullptr)
        return nullptr;
    return ::dlsym(library, name);
}

bool FreeLibrary(LibraryHandle library) {
    if (library == nullptr)
        return false;
    return ::dlclose(library) == 0;
}

std::string LastLoadError() {
    return t_lastLoadError;
}

} // namespace platform
