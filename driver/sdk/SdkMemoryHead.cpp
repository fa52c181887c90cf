#include "sdk/SdkMemoryHead.h"

#include <utility>

SdkMemoryHead SdkMemoryHead::Create(Fg_Grabber* grabber, size_t totalBytes, int64_t bufferCount) {
    return SdkMemoryHead(grabber, Fg_CreateMemoryHead(grabber, totalBytes, bufferCount));
}

SdkMemoryHead::SdkMemoryHead(SdkMemoryHead&& other) noexcept
    : grabber_(std::exchange(other.grabber_, nullptr)), head_(std::exchange(other.head_, nullptr)) {
}

SdkMemoryHead& SdkMemoryHead::operator=(SdkMemoryHead&& other) noexcept {
    if (this != &other) {
        Free();
        grabber_ = std::exchange(other.grabber_, nullptr);
        head_ = std::exchange(other.head_, nullptr);
    }
    return *this;
}

SdkMemoryHead::~SdkMemoryHead() {
    Free();
}

int SdkMemoryHead::Free() noexcept {
    if (head_ == nullptr)
        return 0;
    const int result = Fg_FreeMemoryHead(grabber_, head_);
    if (result == 0)
        head_ = nullptr;
    return result;
}

Fg_Memory* SdkMemoryHead::release() noexcept {
    return std::exchange(head_, nullptr);
}
