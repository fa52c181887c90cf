#pragma once
// Start-up and clean-up of the socket library. POSIX sockets need neither: start-up
// only counts and answers the version granted, as Windows Sockets would, so callers
// that check for version 2.2 work unchanged.

#include <cstdint>

namespace platform {

/// A version word: major in the low byte, minor in the high byte (2.2 is 0x0202).
constexpr uint16_t SocketVersion(uint8_t major, uint8_t minor) {
    return static_cast<uint16_t>(major | (minor << 8));
}
constexpr uint16_t kSocketVersion22 = SocketVersion(2, 2);

// Results of start-up and clean-up, with Windows Sockets' numbers.
constexpr int32_t kSocketOk = 0;
constexpr int32_t kSocketVersionNotSupported = 10092;
constexpr int32_t kSocketNotInitialised = 10093;
constexpr int32_t kSocketInvalidArgument = 10014;

/// Grants the lower of `requested` and 2.2; versions below 1.0 are refused.
int32_t SocketStartup(uint16_t requested, uint16_t* granted);
/// Undoes one successful start-up; kSocketNotInitialised when none is left.
int32_t SocketCleanup();

/// One start-up, cleaned up on destruction. Move-only.
class SocketLibrary {
public:
    SocketLibrary() = default;
    /// Starts the library; `result` receives the start-up result, `granted` the version.
    static SocketLibrary Start(uint16_t requested, uint16_t* granted, int32_t* result);
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
    SocketLibrary(SocketLibrary&& other) noexcept : started_(other.release()) {}
    SocketLibrary& operator=(SocketLibrary&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~SocketLibrary() { reset(); }

    bool get() const { return started_; }
    explicit operator bool() const { return started_; }
    /// Gives up the start-up without cleaning up; answers whether there was one.
    bool release() {
        bool started = started_;
        started_ = false;
        return started;
    }
    void reset(bool started = false) {
        if (started_)
            SocketCleanup();
        started_ = started;
    }

private:
    explicit SocketLibrary(bool started) : started_(started) {}
    bool started_ = false;
};

} // namespace platform
