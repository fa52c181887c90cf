#include <platform/SharedMemoryBlock.h>

#include "SharedMemoryName.h"

#include <boost/interprocess/mapped_region.hpp>
#include <boost/interprocess/shared_memory_object.hpp>
#include <cstring>

namespace platform {

namespace bip = boost::interprocess;

struct SharedMemoryBlock::Impl {
    std::string name;
    bip::shared_memory_object block;
    bip::mapped_region view;
};

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

SharedMemoryBlock::operator bool() const {
    return impl_ != nullptr;
}

void* SharedMemoryBlock::get() const {
    return impl_ ? impl_->view.get_address() : nullptr;
}

size_t SharedMemoryBlock::size() const {
    return impl_ ? impl_->view.get_size() : 0;
}

const std::string& SharedMemoryBlock::name() const {
    static const std::string kNone;
    return impl_ ? impl_->name : kNone;
}

bool SharedMemoryBlock::Write(size_t offset, const void* data, size_t size) {
    if (!impl_ || offset > this->size() || size > this->size() - offset)
        return false;
    if (size > 0)
        std::memcpy(static_cast<char*>(impl_->view.get_address()) + offset, data, size);
    return true;
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
