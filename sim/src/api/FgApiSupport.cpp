#include "FgApiSupport.h"

#include "ErrorText.h"
#include "Machine.h"

#include <cstdio>

namespace sim {

namespace {

thread_local int threadLastCode = 0;
thread_local char threadLastText[LastError::TextSize] = "no error";

} // namespace

int FailWithoutGrabber(int code, const char* detail) {
    threadLastCode = code;
    if (detail != nullptr && detail[0] != '\0') {
        std::snprintf(threadLastText, sizeof(threadLastText), "%s: %s", FgErrorText(code), detail);
    } else {
        std::snprintf(threadLastText, sizeof(threadLastText), "%s", FgErrorText(code));
    }
    return code;
}

int ThreadLastErrorCode() {
    return threadLastCode;
}

const char* ThreadLastErrorText() {
    return threadLastText;
}

FaultCheck EnterFgArmed(SimFunction function, Fg_Grabber* handle) {
    const std::optional<int> fault = FaultTable::Instance().EnterArmed(function);
    if (!fault) {
        return FaultCheck{};
    }
    if (auto grabber = Machine::Instance().FindGrabber(handle)) {
        grabber->Fail(*fault, "injected fault");
    } else {
        FailWithoutGrabber(*fault, "injected fault");
    }
    return FaultCheck{*fault, true};
}

Grabber* ResolveGrabberSlowly(Fg_Grabber* handle) {
    Machine& machine = Machine::Instance();
    if (!machine.EnsureLoaded()) {
        FailWithoutGrabber(FG_ERR_MACHINE, machine.LoadError().c_str());
        return nullptr;
    }
    auto grabber = machine.FindGrabber(handle);
    if (grabber == nullptr) {
        FailWithoutGrabber(FG_ERR_INVALID_HANDLE);
    }
    return grabber.get(); // an open grabber is kept by the machine for good
}

} // namespace sim
