#pragma once
// Run-time linking: load, resolve, free. On POSIX a name without a directory that
// ends in ".dll" is also tried as "lib<name>.so", so "ORGenApi.dll" finds the
// host library that is already loaded under its ELF name.

#include <string>

namespace platform {

typedef void* LibraryHandle;

/// Null on failure; LastLoadError() then says why.
LibraryHandle LoadLibrary(const std::string& path);
void* ResolveSymbol(LibraryHandle library, const char* name);
bool FreeLibrary(LibraryHandle library);
/// The loader's text for the last failed LoadLibrary of this thread.
std::string LastLoadError();

/// A loaded library, freed on destruction. Move-only.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    explicit DynamicLibrary(LibraryHandle handle) : handle_(handle) {}
    static DynamicLibrary Load(const std::string& path) {
        return DynamicLibrary(LoadLibrary(path));
    }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.release()) {}
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~DynamicLibrary() { reset(); }

    LibraryHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void* resolve(const char* name) const {
        return handle_ != nullptr ? ResolveSymbol(handle_, name) : nullptr;
    }
    LibraryHandle release() {
        LibraryHandle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(LibraryHandle handle = nullptr) {
        if (handle_ != nullptr)
            FreeLibrary(handle_);
        handle_ = handle;
    }

private:
    LibraryHandle handle_ = nullptr;
};

} // namespace platform
