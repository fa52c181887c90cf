#pragma once
// What a SharedMemoryBlock holds on POSIX: a Boost.Interprocess block under
// /dev/shm and its read-write mapping.

#include <platform/SharedMemoryBlock.h>

#include <boost/interprocess/mapped_region.hpp>
#include <boost/interprocess/shared_memory_object.hpp>

#include <string>

namespace platform {

struct SharedMemoryBlock::Impl {
    std::string name;
    boost::interprocess::shared_memory_object block;
    boost::interprocess::mapped_region view;

    void* Address() const { return view.get_address(); }
    size_t Size() const { return view.get_size(); }
};

} // namespace platform
