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

// Counts the call and answers an armed fault code, already recorded as the last error of
// the grabber (or of the thread when the handle is not valid).
std::optional<int> EnterFg(SimFunction function, Fg_Grabber* handle);

// The grabber behind a handle; nullptr after recording FG_ERR_INVALID_HANDLE (or
// FG_ERR_MACHINE when the machine is unusable) as the thread's last error.
std::shared_ptr<Grabber> ResolveGrabber(Fg_Grabber* handle);

} // namespace sim
