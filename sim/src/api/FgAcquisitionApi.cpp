// fglib5 entry points: acquisition, waits, status and per-buffer information.
#include "FgApiSupport.h"
#include "Machine.h"
#include "SimExport.h"

using namespace sim;

extern "C" {

SIM_EXPORT int Fg_AcquireEx(Fg_Grabber* grabber, unsigned dma, int64_t frameCount, int mode,
                            Fg_Memory* memory) {
    if (const auto fault = EnterFg(SimFunction::Fg_AcquireEx, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->Acquire(dma, frameCount, mode, memory) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_StopAcquire(Fg_Grabber* grabber, unsigned dma, Fg_Memory* memory, int flags) {
    if (const auto fault = EnterFg(SimFunction::Fg_StopAcquire, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->Stop(dma, memory, flags) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int64_t Fg_WaitImage(Fg_Grabber* grabber, int mode, int64_t pictureNumber, unsigned dma,
                                int timeoutSeconds, Fg_Memory* memory) {
    if (const auto fault = EnterFg(SimFunction::Fg_WaitImage, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->WaitImage(mode, pictureNumber, dma, timeoutSeconds, memory)
                 : int64_t{FG_ERR_INVALID_HANDLE};
}

SIM_EXPORT int64_t Fg_QueryStatus(Fg_Grabber* grabber, int code, int64_t data, unsigned dma,
                                  Fg_Memory* memory) {
    if (const auto fault = EnterFg(SimFunction::Fg_QueryStatus, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->QueryStatusFast(code, data, dma, memory) : int64_t{FG_ERR_INVALID_HANDLE};
}

SIM_EXPORT int Fg_SetBufferStatus(Fg_Grabber* grabber, int command, int64_t bufferNumber,
                                  unsigned dma, Fg_Memory* memory) {
    if (const auto fault = EnterFg(SimFunction::Fg_SetBufferStatus, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->SetBufferStatus(command, bufferNumber, dma, memory)
                 : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_GetBufferParameter(Fg_Grabber* grabber, int id, void* value, unsigned dma,
                                     Fg_Memory* memory, int64_t bufferNumber) {
    if (const auto fault = EnterFg(SimFunction::Fg_GetBufferParameter, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->GetBufferParameterFast(id, value, dma, memory, bufferNumber)
                 : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_SoftwareTrigger(Fg_Grabber* grabber, unsigned dma) {
    if (EnterFg(SimFunction::Fg_SoftwareTrigger, grabber)) {
        return 0;
    }
    const auto found = ResolveGrabber(grabber);
    // Unlike every other call, non-zero means success.
    return found && found->SoftwareTrigger(dma) == FG_OK ? 1 : 0;
}

} // extern "C"
