// Creating, removing and letting go of a block on Windows (the rest is common).
#include "WindowsApi.h"

#include "SharedMemoryBlockImpl.h"
#include "SharedMemoryName.h"
#include "Win32Error.h"

namespace platform {

SharedMemoryBlock SharedMemoryBlock::Create(const std::string& name, size_t size,
                                            std::string* error, bool replaceExisting) {
    std::string problem = win32::SharedMemoryNameProblem(name);
    if (problem.empty() && size == 0)
        problem = "a shared memory block needs at least one byte";
    if (!problem.empty()) {
        if (error != nullptr)
            *error = problem;
        return SharedMemoryBlock();
    }
    auto impl = std::make_unique<Impl>();
    impl->name = name;
    const uint64_t size64 = size;
    DWORD lastError = ERROR_INVALID_NAME;
    // Creating a "Global\" block needs a privilege that user processes lack; the
    // caller then publishes under the bare name too.
    for (const std::string& objectName : win32::SharedMemoryObjectNames(name)) {
        impl->mapping = ::CreateFileMappingA(
            INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(size64 >> 32),
            static_cast<DWORD>(size64 & 0xFFFFFFFF), objectName.c_str());
        lastError = ::GetLastError();
        if (impl->mapping != nullptr)
            break;
    }
    if (impl->mapping == nullptr) {
        if (error != nullptr)
            *error =
                "cannot create shared memory block '" + name + "': " + win32::ErrorText(lastError);
        return SharedMemoryBlock();
    }
    // Another process holds a block of that name. It cannot be removed from here; a
    // caller that replaces a stale block takes the live one over instead.
    if (lastError == ERROR_ALREADY_EXISTS && !replaceExisting) {
        if (error != nullptr)
            *error = "cannot create shared memory block '" + name + "': it already exists";
        return SharedMemoryBlock();
    }
    impl->view = ::MapViewOfFile(impl->mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
    if (impl->view == nullptr) {
        lastError = ::GetLastError();
        if (error != nullptr)
            *error =
                "cannot size shared memory block '" + name + "': " + win32::ErrorText(lastError);
        return SharedMemoryBlock();
    }
    impl->size = size;
    if (error != nullptr)
        error->clear();
    return SharedMemoryBlock(std::move(impl));
}

bool SharedMemoryBlock::Remove(const std::string& name) {
    // Windows has no name to unlink: a block goes with its last handle. Report
    // whether one of that name was there.
    if (!win32::SharedMemoryNameProblem(name).empty())
        return false;
    for (const std::string& objectName : win32::SharedMemoryObjectNames(name)) {
        if (HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, objectName.c_str())) {
            ::CloseHandle(mapping);
            return true;
        }
    }
    return false;
}

std::string SharedMemoryBlock::release() {
    // The block lives as long as a handle does, so letting go of it here means
    // keeping the handle open for the rest of the process.
    if (!impl_)
        return std::string();
    std::string name = impl_->name;
    impl_->mapping = nullptr;
    impl_.reset();
    return name;
}

void SharedMemoryBlock::reset() {
    impl_.reset();
}

} // namespace platform
