#include <platform/ZeroedBlock.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace platform {

namespace {

// Blocks from this size on are mapped directly and aligned for transparent huge
// pages; below it the allocator's zeroed memory is as good.
constexpr size_t kLargePage = size_t{2} << 20;

size_t PageSize() {
    const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<size_t>(size) : 4096;
}

/// Faults every page in now, writing the zero it holds already.
void Prefault(uint8_t* data, size_t size) {
    const size_t step = PageSize();
    for (size_t offset = 0; offset < size; offset += step)
        static_cast<volatile uint8_t*>(data)[offset] = 0;
}

bool IsMapped(size_t size) {
    return size >= kLargePage;
}

} // namespace

ZeroedBlock::ZeroedBlock(size_t size) : size_(size) {
    if (!IsMapped(size)) {
        data_ = static_cast<uint8_t*>(std::calloc(size != 0 ? size : 1, 1));
        if (data_ == nullptr)
            throw std::bad_alloc();
        Prefault(data_, size_);
        return;
    }
    // Anonymous mappings read as zero. One large page more than needed lets the block
    // start on a large-page boundary; the excess is unmapped again.
    if (size > SIZE_MAX - kLargePage)
        throw std::bad_alloc();
    const size_t mappingSize = size + kLargePage;
    void* mapping =
        ::mmap(nullptr, mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
    const uintptr_t aligned = (start + kLargePage - 1) & ~(uintptr_t{kLargePage} - 1);
    const size_t head = aligned - start;
    const size_t tail = mappingSize - head - size;
    if (head != 0)
        ::munmap(mapping, head);
    if (tail != 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    data_ = reinterpret_cast<uint8_t*>(aligned);
#ifdef MADV_HUGEPAGE
    // Only a hint: where the kernel offers no huge pages the block stays in ordinary
    // ones.
    ::madvise(data_, size_, MADV_HUGEPAGE);
#endif
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
        ::munmap(data, size);
    else
        std::free(data);
}

void ZeroedBlock::Release() noexcept {
    FreeAbandoned(data_, size_);
    Abandon();
}

} // namespace platform
