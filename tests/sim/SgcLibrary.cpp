#include "SgcLibrary.h"

#include <platform/DynamicLibrary.h>

namespace simtest {

SgcLibrary::SgcLibrary(const std::string& path) : handle_(platform::LoadLibrary(path)) {}

SgcLibrary::~SgcLibrary() {
    if (handle_ != nullptr) {
        platform::FreeLibrary(handle_);
    }
}

void* SgcLibrary::Symbol(const char* name) const {
    return handle_ != nullptr ? platform::ResolveSymbol(handle_, name) : nullptr;
}

bool SgcLibrary::Resolve() {
    void* entries[SGC_ENTRY_COUNT] = {};
    for (int i = 0; i < SGC_ENTRY_COUNT; ++i) {
        entries[i] = Symbol(SGC_ENTRY_NAMES[i]);
        if (entries[i] == nullptr) {
            return false;
        }
    }
    // The order of SGC_ENTRY_NAMES.
    initBoard = reinterpret_cast<Sgc_initBoard_t>(entries[0]);
    loadBoardConfiguration = reinterpret_cast<Sgc_LoadBoardConfiguration_t>(entries[1]);
    freeBoard = reinterpret_cast<Sgc_freeBoard_t>(entries[2]);
    scanPorts = reinterpret_cast<Sgc_scanPorts_t>(entries[3]);
    connectCamera = reinterpret_cast<Sgc_connectCamera_t>(entries[4]);
    disconnectCamera = reinterpret_cast<Sgc_disconnectCamera_t>(entries[5]);
    getCameraByIndex = reinterpret_cast<Sgc_getCameraByIndex_t>(entries[6]);
    getGenICamXML = reinterpret_cast<Sgc_getGenICamXML_t>(entries[7]);
    getErrorDescription = reinterpret_cast<Sgc_getErrorDescription_t>(entries[8]);
    registerReadFromCamera = reinterpret_cast<Sgc_registerReadFromCamera_t>(entries[9]);
    registerWriteToCamera = reinterpret_cast<Sgc_registerWriteToCamera_t>(entries[10]);
    memoryRead = reinterpret_cast<Sgc_memoryReadFromCameraWithTimeout_t>(entries[11]);
    memoryWrite = reinterpret_cast<Sgc_memoryWriteToCameraWithTimeout_t>(entries[12]);
    getCameraCount = reinterpret_cast<Sgc_getCameraCount_t>(entries[13]);
    startAcquisition = reinterpret_cast<Sgc_startAcquisition_t>(entries[14]);
    stopAcquisition = reinterpret_cast<Sgc_stopAcquisition_t>(entries[15]);
    getCameraInfo = reinterpret_cast<Sgc_getCameraInfo_t>(entries[16]);
    powerSwitchExt = reinterpret_cast<Sgc_powerSwitchExt_t>(entries[17]);
    linkConnect = reinterpret_cast<Sgc_LinkConnect_t>(entries[18]);
    linkDisconnect = reinterpret_cast<Sgc_LinkDisconnect_t>(entries[19]);
    getCameraPropertyWithType = reinterpret_cast<Sgc_getCameraPropertyWithType_t>(entries[20]);
    return true;
}

} // namespace simtest
