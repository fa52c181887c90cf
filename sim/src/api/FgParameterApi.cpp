// fglib5 entry points: applet parameters and the parameter table.
#include "FgApiSupport.h"
#include "Machine.h"
#include "ParameterTable.h"
#include "SimExport.h"

using namespace sim;

namespace {

bool validPosition(int position) {
    return position >= 0 && position < static_cast<int>(ParameterTable::all().size());
}

} // namespace

extern "C" {

SIM_EXPORT int Fg_GetParameter(Fg_Grabber* grabber, int id, void* value, unsigned dma) {
    if (const auto fault = enterFg(SimFunction::Fg_GetParameter, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    return found ? found->getParameter(id, value, dma, 0) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_SetParameter(Fg_Grabber* grabber, int id, const void* value, unsigned dma) {
    if (const auto fault = enterFg(SimFunction::Fg_SetParameter, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    return found ? found->setParameter(id, value, dma, 0) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_GetParameterTyped(Fg_Grabber* grabber, int id, void* value, unsigned dma,
                                    int type) {
    if (const auto fault = enterFg(SimFunction::Fg_GetParameterTyped, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    if (!found) {
        return FG_ERR_INVALID_HANDLE;
    }
    if (ParameterTable::valueSize(type) == 0) {
        return found->fail(FG_ERR_WRONG_TYPE, "unknown type code");
    }
    return found->getParameter(id, value, dma, type);
}

SIM_EXPORT int Fg_SetParameterTyped(Fg_Grabber* grabber, int id, const void* value, unsigned dma,
                                    int type) {
    if (const auto fault = enterFg(SimFunction::Fg_SetParameterTyped, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    if (!found) {
        return FG_ERR_INVALID_HANDLE;
    }
    if (ParameterTable::valueSize(type) == 0) {
        return found->fail(FG_ERR_WRONG_TYPE, "unknown type code");
    }
    return found->setParameter(id, value, dma, type);
}

SIM_EXPORT int Fg_ParameterCount(Fg_Grabber* grabber) {
    if (const auto fault = enterFg(SimFunction::Fg_ParameterCount, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    return found ? static_cast<int>(ParameterTable::all().size()) : FG_ERR_INVALID_HANDLE;
}

SIM_EXPORT int Fg_ParameterIdAt(Fg_Grabber* grabber, int position) {
    if (const auto fault = enterFg(SimFunction::Fg_ParameterIdAt, grabber)) {
        return *fault;
    }
    const auto found = resolveGrabber(grabber);
    if (!found) {
        return FG_ERR_INVALID_HANDLE;
    }
    if (!validPosition(position)) {
        return found->fail(FG_ERR_INVALID_ARGUMENT, "parameter position");
    }
    return ParameterTable::all()[static_cast<std::size_t>(position)].id;
}

SIM_EXPORT const char* Fg_ParameterNameAt(Fg_Grabber* grabber, int position) {
    if (enterFg(SimFunction::Fg_ParameterNameAt, grabber)) {
        return nullptr;
    }
    const auto found = resolveGrabber(grabber);
    if (!found) {
        return nullptr;
    }
    if (!validPosition(position)) {
        found->fail(FG_ERR_INVALID_ARGUMENT, "parameter position");
        return nullptr;
    }
    return ParameterTable::all()[static_cast<std::size_t>(position)].name;
}

} // extern "C"
