#include <platform/SharedMemory.h>

#include "SharedMemoryName.h"

#include <algorithm>
#include <boost/interprocess/mapped_region.hpp>
#include <boost/interprocess/shared_memory_object.hpp>
#include <cstring>

namespace platform {

namespace bip = boost::interprocess;

SharedMemoryReadResult ReadSharedMemory(const std::string& name, void* buffer, size_t size) {
    SharedMemoryReadResult result;
    result.error = posix::SharedMemoryNameProblem(name);
    if (!result.error.empty())
        return result;
    if (buffer == nullptr && size != 0) {
        result.error = "no buffer";
        return result;
    }
    try {
        bip::shared_memory_object block(bip::open_only, name.c_str(), bip::read_only);
        bip::offset_t blockSize = 0;
        if (!block.get_size(blockSize) || blockSize < 0) {
            result.error = "cannot read the size of shared memory block '" + name + "'";
            return result;
        }
        result.blockSize = static_cast<uint64_t>(blockSize);
        const size_t count = static_cast<size_t>(std::min<uint64_t>(result.blockSize, size));
        // Mapping zero bytes is an error; there is nothing to copy anyway.
        if (count > 0) {
            bip::mapped_region view(block, bip::read_only, 0, count);
            std::memcpy(buffer, view.get_address(), count);
        }
        result.copied = count;
        result.opened = true;
        result.error.clear();
    } catch (const bip::interprocess_exception& e) {
        result = SharedMemoryReadResult();
        result.error = "shared memory block '" + name + "': " + e.what();
    }
    return result;
}

} // namespace platform
