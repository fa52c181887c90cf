// Loads siso_genicam.dll the way the driver does: the platform loader, then all 21 entry points by
// name.
#pragma once

#include <siso_genicam.h>

#include <string>

namespace simtest {

// Owns the loaded library; Resolve() fills the table, all or nothing.
class SgcLibrary {
public:
    explicit SgcLibrary(const std::string& path);
    ~SgcLibrary();
    SgcLibrary(const SgcLibrary&) = delete;
    SgcLibrary& operator=(const SgcLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // Looks up one name; nullptr when the library lacks it.
    void* Symbol(const char* name) const;
    // Resolves every entry point; false (and an empty table) when one is missing.
    bool Resolve();

    Sgc_initBoard_t initBoard = nullptr;
    Sgc_LoadBoardConfiguration_t loadBoardConfiguration = nullptr;
    Sgc_freeBoard_t freeBoard = nullptr;
    Sgc_scanPorts_t scanPorts = nullptr;
    Sgc_connectCamera_t connectCamera = nullptr;
    Sgc_disconnectCamera_t disconnectCamera = nullptr;
    Sgc_getCameraByIndex_t getCameraByIndex = nullptr;
    Sgc_getGenICamXML_t getGenICamXML = nullptr;
    Sgc_getErrorDescription_t getErrorDescription = nullptr;
    Sgc_registerReadFromCamera_t registerReadFromCamera = nullptr;
    Sgc_registerWriteToCamera_t registerWriteToCamera = nullptr;
    Sgc_memoryReadFromCameraWithTimeout_t memoryRead = nullptr;
    Sgc_memoryWriteToCameraWithTimeout_t memoryWrite = nullptr;
    Sgc_getCameraCount_t getCameraCount = nullptr;
    Sgc_startAcquisition_t startAcquisition = nullptr;
    Sgc_stopAcquisition_t stopAcquisition = nullptr;
    Sgc_getCameraInfo_t getCameraInfo = nullptr;
    Sgc_powerSwitchExt_t powerSwitchExt = nullptr;
    Sgc_LinkConnect_t linkConnect = nullptr;
    Sgc_LinkDisconnect_t linkDisconnect = nullptr;
    Sgc_getCameraPropertyWithType_t getCameraPropertyWithType = nullptr;

private:
    void* handle_;
};

} // namespace simtest
