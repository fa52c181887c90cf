#pragma once
// A register port over a byte array, with the callback signatures of ORGenApi.

#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace hosttest {

/// Reads and writes outside the array fail with 0x80000001, as a device does.
/// The byte array is not guarded: concurrent tests only read.
class FakeRegisterPort {
public:
    explicit FakeRegisterPort(size_t size) : bytes_(size, 0) {}

    static int32_t Read(void* buffer, int64_t address, int64_t length, void* context) {
        auto* port = static_cast<FakeRegisterPort*>(context);
        port->reads.fetch_add(1);
        if (port->duringCall)
            port->duringCall();
        if (!port->InRange(address, length))
            return ORV::E_FAIL;
        std::memcpy(buffer, port->bytes_.data() + address, static_cast<size_t>(length));
        return ORV::OK;
    }
    static int32_t Write(const void* buffer, int64_t address, int64_t length, void* context) {
        auto* port = static_cast<FakeRegisterPort*>(context);
        port->writes.fetch_add(1);
        if (!port->InRange(address, length))
            return ORV::E_FAIL;
        std::memcpy(port->bytes_.data() + address, buffer, static_cast<size_t>(length));
        return ORV::OK;
    }
    /// Answers 4, as the driver's ports do.
    static int32_t Access(int64_t /*address*/, int64_t /*length*/, void* /*context*/) { return 4; }

    std::vector<uint8_t>& bytes() { return bytes_; }
    std::atomic<int> reads{0};
    std::atomic<int> writes{0};
    /// Runs inside every read, to check that no lock is held around callbacks.
    std::function<void()> duringCall;

private:
    bool InRange(int64_t address, int64_t length) const {
        return address >= 0 && length >= 0 &&
               static_cast<uint64_t>(address) + static_cast<uint64_t>(length) <= bytes_.size();
    }
    std::vector<uint8_t> bytes_;
};

} // namespace hosttest
