#pragma once

#include <fglib5.h>

#include <cstddef>
#include <cstdint>

/// A custom-memory head (Fg_CreateMemoryHead) of one grabber: the SDK's record of
/// the caller-owned buffers it may acquire into. Move-only; the grabber must
/// outlive it. `Free` answers the SDK's result so that the caller can report it
/// and keeps the head when the SDK refuses; the destructor frees silently.
/// Not thread-safe: the owner serialises access like it does for a plain pointer.
class SdkMemoryHead {
public:
    SdkMemoryHead() noexcept = default;
    /// A head for `bufferCount` buffers of `totalBytes` in all; empty when the SDK
    /// refuses.
    static SdkMemoryHead Create(Fg_Grabber* grabber, size_t totalBytes, int64_t bufferCount);

    SdkMemoryHead(const SdkMemoryHead&) = delete;
    SdkMemoryHead& operator=(const SdkMemoryHead&) = delete;
    SdkMemoryHead(SdkMemoryHead&& other) noexcept;
    SdkMemoryHead& operator=(SdkMemoryHead&& other) noexcept;
    ~SdkMemoryHead();

    Fg_Memory* get() const noexcept { return head_; }
    Fg_Grabber* grabber() const noexcept { return grabber_; }
    explicit operator bool() const noexcept { return head_ != nullptr; }

    /// Frees the head; 0 when nothing was held. On an SDK failure the head is kept.
    int Free() noexcept;
    /// Gives the head up without freeing it (the SDK may still use the memory it
    /// describes).
    Fg_Memory* release() noexcept;

private:
    SdkMemoryHead(Fg_Grabber* grabber, Fg_Memory* head) noexcept : grabber_(grabber), head_(head) {}

    Fg_Grabber* grabber_ = nullptr;
    Fg_Memory* head_ = nullptr;
};
