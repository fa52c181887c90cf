// fglib5 entry points: runtime, boards, errors and the DMA description.
#include "ErrorText.h"
#include "FgApiSupport.h"
#include "Machine.h"
#include "SimExport.h"

#include <cstring>
#include <string>

using namespace sim;

extern "C" {

SIM_EXPORT const char* Fg_RuntimeVersion(void) {
    if (FaultTable::Instance().Enter(SimFunction::Fg_RuntimeVersion)) {
        return nullptr;
    }
    return Machine::Instance().RuntimeVersion();
}

SIM_EXPORT int Fg_BoardType(int boardIndex) {
    if (const auto fault = EnterFg(SimFunction::Fg_BoardType, nullptr)) {
        return *fault;
    }
    Machine& machine = Machine::Instance();
    const int type = machine.BoardType(boardIndex);
    if (type == -1) {
        // The reason stays readable with Fg_LastErrorText(NULL): no board there, or
        // a machine description that could not be loaded.
        if (machine.Setup() == nullptr) {
            FailWithoutGrabber(FG_ERR_MACHINE, machine.LoadError().c_str());
        } else {
            FailWithoutGrabber(FG_ERR_NO_SUCH_BOARD,
                               ("index " + std::to_string(boardIndex)).c_str());
        }
    }
    return type;
}

SIM_EXPORT Fg_Grabber* Fg_OpenBoard(const char* appletConfigPath, unsigned boardIndex) {
    if (EnterFg(SimFunction::Fg_OpenBoard, nullptr)) {
        return nullptr;
    }
    int code = FG_OK;
    std::string detail;
    Fg_Grabber* grabber =
        Machine::Instance().OpenGrabber(appletConfigPath, boardIndex, code, detail);
    if (grabber == nullptr) {
        FailWithoutGrabber(code, detail.c_str());
    }
    return grabber;
}

SIM_EXPORT int Fg_CloseBoard(Fg_Grabber* grabber) {
    if (const auto fault = EnterFg(SimFunction::Fg_CloseBoard, grabber)) {
        return *fault;
    }
    if (!Machine::Instance().CloseGrabber(grabber)) {
        return FailWithoutGrabber(FG_ERR_INVALID_HANDLE);
    }
    return FG_OK;
}

SIM_EXPORT int Fg_LastErrorNumber(Fg_Grabber* grabber) {
    if (auto found = Machine::Instance().FindGrabber(grabber)) {
        return found->LastFailure().Code();
    }
    return ThreadLastErrorCode();
}

SIM_EXPORT const char* Fg_LastErrorText(Fg_Grabber* grabber) {
    // A per-thread copy, so the text stays valid while other threads record errors.
    thread_local char text[LastError::TextSize];
    if (auto found = Machine::Instance().FindGrabber(grabber)) {
        found->LastFailure().CopyText(text);
        return text;
    }
    std::memcpy(text, ThreadLastErrorText(), sizeof(text));
    return text;
}

SIM_EXPORT int Fg_DmaDescription(Fg_Grabber* grabber, unsigned dma, char* buffer, size_t* size) {
    if (const auto fault = EnterFg(SimFunction::Fg_DmaDescription, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->DmaDescription(dma, buffer, size) : FG_ERR_INVALID_HANDLE;
}

} // extern "C"
