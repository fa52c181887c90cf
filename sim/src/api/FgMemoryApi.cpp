// fglib5 entry points: SDK-allocated memory and custom-memory heads.
#include "FgApiSupport.h"
#include "Machine.h"
#include "SimExport.h"

using namespace sim;

extern "C" {

SIM_EXPORT Fg_Memory* Fg_AllocMemory(Fg_Grabber* grabber, size_t totalBytes, int64_t bufferCount) {
    if (EnterFg(SimFunction::Fg_AllocMemory, grabber)) {
        return nullptr;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->AllocMemory(totalBytes, bufferCount) : nullptr;
}

SIM_EXPORT int Fg_FreeMemory(Fg_Grabber* grabber, Fg_Memory* memory) {
    if (const auto fault = EnterFg(SimFunction::Fg_FreeMemory, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->FreeMemory(memory, MemoryHead::Kind::Allocated) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT Fg_Memory* Fg_CreateMemoryHead(Fg_Grabber* grabber, size_t totalBytes,
                                          int64_t bufferCount) {
    if (EnterFg(SimFunction::Fg_CreateMemoryHead, grabber)) {
        return nullptr;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->CreateMemoryHead(totalBytes, bufferCount) : nullptr;
}

SIM_EXPORT int64_t Fg_AddBuffer(Fg_Grabber* grabber, void* address, size_t size, int64_t index,
                                Fg_Memory* head) {
    if (const auto fault = EnterFg(SimFunction::Fg_AddBuffer, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->AddBuffer(address, size, index, head) : int64_t{FG_ERR_INVALID_HANDLE};
}

SIM_EXPORT int Fg_RemoveBuffer(Fg_Grabber* grabber, Fg_Memory* head, int64_t index) {
    if (const auto fault = EnterFg(SimFunction::Fg_RemoveBuffer, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->RemoveBuffer(head, index) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_FreeMemoryHead(Fg_Grabber* grabber, Fg_Memory* head) {
    if (const auto fault = EnterFg(SimFunction::Fg_FreeMemoryHead, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->FreeMemory(head, MemoryHead::Kind::Custom) : FG_ERR_INVALID_HANDLE;
}

} // extern "C"
