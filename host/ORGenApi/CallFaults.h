#pragma once
// Injected failures of ORGenApi's entry points (ORGenApiControl.h). With nothing
// armed an entry point pays one relaxed atomic load.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace orgenapi {

class CallFaults {
public:
    static CallFaults& Instance();

    /// The code `function` answers instead of running, when a failure is armed for it.
    std::optional<int32_t> Enter(const char* function) {
        if (armed_.load(std::memory_order_relaxed) == 0)
            return std::nullopt;
        return EnterArmed(function);
    }
    /// False for a name that is not an entry point of the library.
    bool Arm(const std::string& function, int32_t code, int32_t count);
    void Clear();

private:
    struct Fault {
        int32_t code = 0;
        int32_t count = 0; // calls still to fail, -1 for all
    };

    CallFaults() = default;
    std::optional<int32_t> EnterArmed(const char* function);
    void RecountLocked();

    std::mutex mutex_; // guards faults_
    std::map<std::string, Fault> faults_;
    std::atomic<int> armed_{0};
};

} // namespace orgenapi
