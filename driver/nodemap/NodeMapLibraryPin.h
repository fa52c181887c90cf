#pragma once

#include <platform/DynamicLibrary.h>

/// Keeps the host's node-map library ("ORGenApi.dll") loaded for as long as the
/// module is: node maps the module handed out call back into it, and their
/// release callbacks into the module. The module holds one static instance,
/// made when it is loaded and destroyed when it is unloaded. A library that
/// cannot be loaded is ignored.
class CNodeMapLibraryPin {
public:
    static constexpr const char* LibraryName = "ORGenApi.dll";

    CNodeMapLibraryPin() : library_(platform::DynamicLibrary::Load(LibraryName)) {}
    CNodeMapLibraryPin(const CNodeMapLibraryPin&) = delete;
    CNodeMapLibraryPin& operator=(const CNodeMapLibraryPin&) = delete;

    bool Pinned() const { return static_cast<bool>(library_); }

private:
    platform::DynamicLibrary library_; // freed on destruction when the load succeeded
};
