#include "CallFaults.h"

#include <ORGenApi/ORGenApiControl.h>
#include <ORV/ResultCodes.h>

#include <algorithm>
#include <iterator>

namespace orgenapi {

namespace {

// The entry points that build a node map and hand it out; a module's failure paths
// start there.
const char* const kEntryPoints[] = {"ORGenApi_CreateNodeMap", "ORGenApi_LoadDescription",
                                    "ORGenApi_AttachPort", "ORGenApi_CreateProxy"};

bool IsEntryPoint(const std::string& name) {
    return std::find(std::begin(kEntryPoints), std::end(kEntryPoints), name) !=
           std::end(kEntryPoints);
}

} // namespace

CallFaults& CallFaults::Instance() {
    static CallFaults faults;
    return faults;
}

std::optional<int32_t> CallFaults::EnterArmed(const char* function) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = faults_.find(function);
    if (found == faults_.end() || found->second.count == 0)
        return std::nullopt;
    if (found->second.count > 0)
        --found->second.count;
    const int32_t code = found->second.code;
    RecountLocked();
    return code;
}

bool CallFaults::Arm(const std::string& function, int32_t code, int32_t count) {
    if (!IsEntryPoint(function))
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    faults_[function] = Fault{code, count < 0 ? -1 : count};
    RecountLocked();
    return true;
}

void CallFaults::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
    RecountLocked();
}

void CallFaults::RecountLocked() {
    const auto armed = std::count_if(faults_.begin(), faults_.end(),
                                     [](const auto& entry) { return entry.second.count != 0; });
    armed_.store(static_cast<int>(armed), std::memory_order_relaxed);
}

} // namespace orgenapi

extern "C" {

ORGENAPI_API int32_t ORGenApiCtl_FailCall(const char* function, int32_t code, int32_t count) {
    if (function == nullptr)
        return ORV::E_INVALIDARG;
    try {
        return orgenapi::CallFaults::Instance().Arm(function, code, count) ? ORV::OK
                                                                           : ORV::E_INVALIDARG;
    } catch (...) {
        return ORV::E_OUTOFMEMORY;
    }
}

ORGENAPI_API void ORGenApiCtl_ClearFaults(void) {
    orgenapi::CallFaults::Instance().Clear();
}

} // extern "C"
