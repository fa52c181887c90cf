#include "Handles.h"

#include <atomic>

namespace sim {

std::uint64_t NextHandleSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return serial.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace sim
