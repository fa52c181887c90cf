// Creating, removing and letting go of a block on POSIX (the rest is common).
#include "SharedMemoryBlockImpl.h"
#include "SharedMemoryName.h"

namespace platform {

namespace bip = boost::interprocess;

SharedMemoryBlock SharedMemoryBlock::Create(const std::string& name, size_t size,
                                            std::string* error, bool replaceExisting) {
    std::string problem = posix::SharedMemoryNameProblem(name);
    if (problem.empty() && size == 0)
        problem = "a shared memory block needs at least one byte";
    if (!problem.empty()) {
        if (error != nullptr)
            *error = problem;
        return SharedMemoryBlock();
    }
    if (replaceExisting)
        bip::shared_memory_object::remove(name.c_str());
    auto impl = std::make_unique<Impl>();
    impl->name = name;
    try {
        impl->block = bip::shared_memory_object(bip::create_only, name.c_str(), bip::read_write);
    } catch (const bip::interprocess_exception& e) {
        if (error != nullptr)
            *error = "cannot create shared memory block '" + name + "': " + e.what();
        return SharedMemoryBlock();
    }
    try {
        impl->block.truncate(static_cast<bip::offset_t>(size));
        impl->view = bip::mapped_region(impl->block, bip::read_write, 0, size);
    } catch (const bip::interprocess_exception& e) {
        // The block exists now and is ours: do not leave it behind half made.
        bip::shared_memory_object::remove(name.c_str());
        if (error != nullptr)
            *error = "cannot size shared memory block '" + name + "': " + e.what();
        return SharedMemoryBlock();
    }
    if (error != nullptr)
        error->clear();
    return SharedMemoryBlock(std::move(impl));
}

bool SharedMemoryBlock::Remove(const std::string& name) {
    if (!posix::SharedMemoryNameProblem(name).empty())
        return false;
    return bip::shared_memory_object::remove(name.c_str());
}

std::string SharedMemoryBlock::release() {
    if (!impl_)
        return std::string();
    std::string name = impl_->name;
    impl_.reset();
    return name;
}

void SharedMemoryBlock::reset() {
    if (!impl_)
        return;
    std::string name = impl_->name;
    impl_.reset(); // unmap and close before removing
    bip::shared_memory_object::remove(name.c_str());
}

} // namespace platform
