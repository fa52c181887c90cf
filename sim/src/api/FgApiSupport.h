// Shared steps of the fglib5 entry points: fault check, handle lookup, last errors.
#pragma once

#include "FaultTable.h"
#include "Grabber.h"
#include <fglib5.h>

#include <memory>
#include <optional>

namespace sim {

// The last error of calls that have no (valid) grabber, per calling thread.
int FailWithoutGrabber(int code, const char* detail = nullptr);
int ThreadLastErrorCode();
const char* ThreadLastErrorText();

// What EnterFg found: true with the code when a fault is injected into this call.
struct FaultCheck {
    int code = 0;
    bool injected = false;
    explicit operator bool() const { return injected; }
    int operator*() const { return code; }
};

FaultCheck EnterFgArmed(SimFunction function, Fg_Grabber* handle);

// Counts the call and answers an armed fault code, already recorded as the last error of
// the grabber (or of the thread when the handle is not valid). With nothing armed that
// is the count and one relaxed load.
inline FaultCheck EnterFg(SimFunction function, Fg_Grabber* handle) {
    // The table never moves; fglib5 keeps its address rather than asking for it.
    static FaultTable& faults = FaultTable::Instance();
    FaultTable::ThreadCounts* counts = threadCallCounts;
    if (!faults.CountIn(counts != nullptr ? *counts : FaultTable::ThreadCounts::Mine(), function)) {
        return FaultCheck{};
    }
    return EnterFgArmed(function, handle);
}

Grabber* ResolveGrabberSlowly(Fg_Grabber* handle);

// The grabber behind a handle; nullptr after recording FG_ERR_INVALID_HANDLE (or
// FG_ERR_MACHINE when the machine is unusable) as the thread's last error. An open
// handle is resolved by reading it (see Handles.h), without a lock.
inline Grabber* ResolveGrabber(Fg_Grabber* handle) {
    if (handle != nullptr) {
        if (Grabber* grabber = handle->object.load(std::memory_order_acquire)) {
            return grabber;
        }
    }
    return ResolveGrabberSlowly(handle);
}

} // namespace sim
