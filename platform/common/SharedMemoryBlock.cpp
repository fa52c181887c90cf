// Ownership and access of a SharedMemoryBlock, the same on every system; each
// system's side creates, removes, releases and resets the block itself.
#include "SharedMemoryBlockImpl.h"

#include <cstring>

namespace platform {

SharedMemoryBlock::SharedMemoryBlock() = default;
SharedMemoryBlock::SharedMemoryBlock(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SharedMemoryBlock::SharedMemoryBlock(SharedMemoryBlock&& other) noexcept = default;

SharedMemoryBlock& SharedMemoryBlock::operator=(SharedMemoryBlock&& other) noexcept {
    if (this != &other) {
        reset();
        impl_ = std::move(other.impl_);
    }
    return *this;
}

SharedMemoryBlock::~SharedMemoryBlock() {
    reset();
}

SharedMemoryBlock::operator bool() const {
    return impl_ != nullptr;
}

void* SharedMemoryBlock::get() const {
    return impl_ ? impl_->Address() : nullptr;
}

size_t SharedMemoryBlock::size() const {
    return impl_ ? impl_->Size() : 0;
}

const std::string& SharedMemoryBlock::name() const {
    static const std::string kNone;
    return impl_ ? impl_->name : kNone;
}

bool SharedMemoryBlock::Write(size_t offset, const void* data, size_t size) {
    if (!impl_ || offset > this->size() || size > this->size() - offset)
        return false;
    if (size > 0)
        std::memcpy(static_cast<char*>(impl_->Address()) + offset, data, size);
    return true;
}

} // namespace platform
