#include "FgApiSupport.h"

#include "ErrorText.h"
#include "Machine.h"

#include <cstdio>

namespace sim {

namespace {

thread_local int t_lastCode = 0;
thread_local char t_lastText[LastError::kTextSize] = "no error";

} // namespace

int failWithoutGrabber(int code, const char* detail) {
    t_lastCode = code;
    if (detail != nullptr && detail[0] != '\0') {
        std::snprintf(t_lastText, sizeof(t_lastText), "%s: %s", fgErrorText(code), detail);
    } else {
        std::snprintf(t_lastText, sizeof(t_lastText), "%s", fgErrorText(code));
    }
    return code;
}

int threadLastErrorCode() {
    return t_lastCode;
}

const char* threadLastErrorText() {
    return t_lastText;
}

std::optional<int> enterFg(SimFunction function, Fg_Grabber* handle) {
    const std::optional<int> fault = FaultTable::instance().enter(function);
    if (!fault) {
        return std::nullopt;
    }
    if (auto grabber = Machine::instance().grabber(handle)) {
        grabber->fail(*fault, "injected fault");
    } else {
        failWithoutGrabber(*fault, "injected fault");
    }
    return fault;
}

std::shared_ptr<Grabber> resolveGrabber(Fg_Grabber* handle) {
    Machine& machine = Machine::instance();
    if (!machine.ensureLoaded()) {
        failWithoutGrabber(FG_ERR_MACHINE, machine.loadError().c_str());
        return nullptr;
    }
    auto grabber = machine.grabber(handle);
    if (grabber == nullptr) {
        failWithoutGrabber(FG_ERR_INVALID_HANDLE);
    }
    return grabber;
}

} // namespace sim
