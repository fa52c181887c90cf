#pragma once

#include <fglib5.h>

#include <cstddef>
#include <cstdint>

/// SDK-allocated image memory (Fg_AllocMemory) of one grabber. Move-only; the
/// grabber must outlive it. `Free` answers the SDK's result so that the caller
/// can report it; the destructor frees silently. Not thread-safe.
class SdkMemory {
public:
    SdkMemory() noexcept = default;
    /// Allocates `totalBytes` for `bufferCount` buffers; empty when the SDK refuses
    /// (its last error number then tells why).
    static SdkMemory Allocate(Fg_Grabber* grabber, size_t totalBytes, int64_t bufferCount);

    SdkMemory(const SdkMemory&) = delete;
    SdkMemory& operator=(const SdkMemory&) = delete;
    SdkMemory(SdkMemory&& other) noexcept;
    SdkMemory& operator=(SdkMemory&& other) noexcept;
    ~SdkMemory();

    Fg_Memory* get() const noexcept { return memory_; }
    explicit operator bool() const noexcept { return memory_ != nullptr; }

    /// Frees the memory; 0 when nothing was held.
    int Free() noexcept;

private:
    SdkMemory(Fg_Grabber* grabber, Fg_Memory* memory) noexcept
        : grabber_(grabber), memory_(memory) {}

    Fg_Grabber* grabber_ = nullptr;
    Fg_Memory* memory_ = nullptr;
};
