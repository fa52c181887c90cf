#include <platform/ZeroedBlock.h>

#include "ZeroedPages.h"

#include <cstdlib>
#include <new>
#include <utility>

namespace platform {

namespace {

/// Faults every page in now, writing the zero it holds already.
void Prefault(uint8_t* data, size_t size) {
    const size_t step = detail::SystemPageSize();
    for (size_t offset = 0; offset < size; offset += step)
        static_cast<volatile uint8_t*>(data)[offset] = 0;
}

bool IsMapped(size_t size) {
    return size >= detail::kLargeBlock;
}

} // namespace

ZeroedBlock::ZeroedBlock(size_t size) : size_(size) {
    data_ = IsMapped(size) ? detail::MapZeroedPages(size)
                           : static_cast<uint8_t*>(std::calloc(size != 0 ? size : 1, 1));
    if (data_ == nullptr)
        throw std::bad_alloc();
    Prefault(data_, size_);
}

ZeroedBlock::~ZeroedBlock() {
    Release();
}

ZeroedBlock::ZeroedBlock(ZeroedBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ZeroedBlock& ZeroedBlock::operator=(ZeroedBlock&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void ZeroedBlock::Abandon() {
    data_ = nullptr;
    size_ = 0;
}

void ZeroedBlock::FreeAbandoned(uint8_t* data, size_t size) {
    if (data == nullptr)
        return;
    // The size alone decides how a block was made.
    if (IsMapped(size))
        detail::UnmapZeroedPages(data, size);
    else
        std::free(data);
}

void ZeroedBlock::Release() noexcept {
    FreeAbandoned(data_, size_);
    Abandon();
}

} // namespace platform
