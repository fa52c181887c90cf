// fglib5 entry points: runtime, boards, errors and the DMA description.
#include "ErrorText.h"
#include "FgApiSupport.h"
#include "Machine.h"
#include "SimExport.h"

#include <cstring>

using namespace sim;

extern "C" {

SIM_EXPORT const char* Fg_RuntimeVersion(void) {
    if (FaultTable::instance().enter(SimFunction::Fg_RuntimeVersion)) {
        return nullptr;
    }
    return Machine::instance().runtimeVersion();
}

SIM_EXPORT int Fg_BoardType(int boardIndex) {
    if (const auto fault = FaultTable::instance().enter(SimFunction::Fg_BoardType)) {
        return *fault;
    }
    return Machine::instance().boardType(boardIndex);
}

SIM_EXPORT Fg_Grabber* Fg_OpenBoard(const char* appletConfigPath, unsigned boardIndex) {
    if (enterFg(SimFunction::Fg_OpenBoard, nullptr)) {
        return nullptr;
    }
    int code = FG_OK;
    std::string detail;
    Fg_Grabber* grabber =
        Machine::instance().openGrabber(appletConfigPath, boardIndex, code, detail);
    if (grabber == nullptr) {
        failWithoutGrabber(code, detail.c_str());
    }
    return grabber;
}

SIM_EXPORT int Fg_CloseBoard(Fg_Grabber* grabber) {
    if (const auto fault = enterFg(SimFunction::Fg_CloseBoard, grabber)) {
        return *fault;
    }
    if (!Machine::instance().closeGrabber(grabber)) {
        return failWithoutGrabber(FG_ERR_INVALID_HANDLE);
    }
    return FG_OK;
}

SIM_EXPORT int Fg_LastErrorNumber(Fg_Grabber* grabber) {
    if (auto found = Machine::instance().grabber(grabber)) {
        return found->lastError().code();
    }
    return threadLastErrorCode();
}

SIM_EXPORT const char* Fg_LastErrorText(Fg_Grabber* grabber) {
    // A per-thread copy, so the text stays valid while other threads record errors.
    thread_local char text[LastError::kTextSize];
    if (auto found = Machine::instance().grabber(grabber)) {
        found->lastError().copyText(text);
        return text;
    }
    std::memcpy(text, threadLastErrorText(), sizeof(text));
    return text;
}

SIM_EXPORT int Fg_DmaDescription(Fg_Grabber* grabber, unsigned dma, char* buffer, size_t* size) {
    if (const auto fault = enterFg(SimFunction::Fg_DmaDescription, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    return found ? found->dmaDescription(dma, buffer, size) : FG_ERR_INVALID_HANDLE;
}

} // extern "C"
