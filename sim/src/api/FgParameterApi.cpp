// fglib5 entry points: applet parameters and the parameter table.
#include "FgApiSupport.h"
#include "Machine.h"
#include "ParameterTable.h"
#include "SimExport.h"

using namespace sim;

namespace {

bool ValidPosition(int position) {
    return position >= 0 && position < static_cast<int>(ParameterTable::All().size());
}

} // namespace

extern "C" {

SIM_EXPORT int Fg_GetParameter(Fg_Grabber* grabber, int id, void* value, unsigned dma) {
    if (const auto fault = EnterFg(SimFunction::Fg_GetParameter, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->GetParameter(id, value, dma, 0) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_SetParameter(Fg_Grabber* grabber, int id, const void* value, unsigned dma) {
    if (const auto fault = EnterFg(SimFunction::Fg_SetParameter, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? found->SetParameter(id, value, dma, 0) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_GetParameterTyped(Fg_Grabber* grabber, int id, void* value, unsigned dma,
                                    int type) {
    if (const auto fault = EnterFg(SimFunction::Fg_GetParameterTyped, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    if (!found) {
        return FG_ERR_INVALID_HANDLE;
    }
    if (ParameterTable::ValueSize(type) == 0) {
        return found->Fail(FG_ERR_WRONG_TYPE, "unknown type code");
    }
    return found->GetParameter(id, value, dma, type);
}

SIM_EXPORT int Fg_SetParameterTyped(Fg_Grabber* grabber, int id, const void* value, unsigned dma,
                                    int type) {
    if (const auto fault = EnterFg(SimFunction::Fg_SetParameterTyped, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    if (!found) {
        return FG_ERR_INVALID_HANDLE;
    }
    if (ParameterTable::ValueSize(type) == 0) {
        return found->Fail(FG_ERR_WRONG_TYPE, "unknown type code");
    }
    return found->SetParameter(id, value, dma, type);
}

SIM_EXPORT int Fg_ParameterCount(Fg_Grabber* grabber) {
    if (const auto fault = EnterFg(SimFunction::Fg_ParameterCount, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    return found ? static_cast<int>(ParameterTable::All().size()) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_ParameterIdAt(Fg_Grabber* grabber, int position) {
    if (const auto fault = EnterFg(SimFunction::Fg_ParameterIdAt, grabber)) {
        return *fault;
    }
    const auto found = ResolveGrabber(grabber);
    if (!found) {
        return FG_ERR_INVALID_HANDLE;
    }
    if (!ValidPosition(position)) {
        return found->Fail(FG_ERR_INVALID_ARGUMENT, "parameter position");
    }
    return ParameterTable::All()[static_cast<std::size_t>(position)].id;
}

SIM_EXPORT const char* Fg_ParameterNameAt(Fg_Grabber* grabber, int position) {
    if (EnterFg(SimFunction::Fg_ParameterNameAt, grabber)) {
        return nullptr;
    }
    const auto found = ResolveGrabber(grabber);
    if (!found) {
        return nullptr;
    }
    if (!ValidPosition(position)) {
        found->Fail(FG_ERR_INVALID_ARGUMENT, "parameter position");
        return nullptr;
    }
    return ParameterTable::All()[static_cast<std::size_t>(position)].name;
}

} // extern "C"
