#include "sdk/SdkMemory.h"

#include <utility>

SdkMemory SdkMemory::Allocate(Fg_Grabber* grabber, size_t totalBytes, int64_t bufferCount) {
    return SdkMemory(grabber, Fg_AllocMemory(grabber, totalBytes, bufferCount));
}

SdkMemory::SdkMemory(SdkMemory&& other) noexcept
    : grabber_(std::exchange(other.grabber_, nullptr)),
      memory_(std::exchange(other.memory_, nullptr)) {}

SdkMemory& SdkMemory::operator=(SdkMemory&& other) noexcept {
    if (this != &other) {
        Free();
        grabber_ = std::exchange(other.grabber_, nullptr);
        memory_ = std::exchange(other.memory_, nullptr);
    }
    return *this;
}

SdkMemory::~SdkMemory() {
    Free();
}

int SdkMemory::Free() noexcept {
    Fg_Memory* memory = std::exchange(memory_, nullptr);
    if (memory == nullptr)
        return 0;
    return Fg_FreeMemory(grabber_, memory);
}
