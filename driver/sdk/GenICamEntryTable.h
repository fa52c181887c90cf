#pragma once

#include <siso_genicam.h>

#include <platform/DynamicLibrary.h>

#include <optional>

/// The 21 entry points of siso_genicam.dll, module-wide: either all resolved or
/// all null, so no caller ever sees a partly filled table. Filled and emptied by
/// the driver system on the host thread that opens images.
struct GenICamEntryTable {
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
    Sgc_memoryReadFromCameraWithTimeout_t memoryReadFromCameraWithTimeout = nullptr;
    Sgc_memoryWriteToCameraWithTimeout_t memoryWriteToCameraWithTimeout = nullptr;
    Sgc_getCameraCount_t getCameraCount = nullptr;
    Sgc_startAcquisition_t startAcquisition = nullptr;
    Sgc_stopAcquisition_t stopAcquisition = nullptr;
    Sgc_getCameraInfo_t getCameraInfo = nullptr;
    Sgc_powerSwitchExt_t powerSwitchExt = nullptr;
    Sgc_LinkConnect_t linkConnect = nullptr;
    Sgc_LinkDisconnect_t linkDisconnect = nullptr;
    Sgc_getCameraPropertyWithType_t getCameraPropertyWithType = nullptr;

    /// True when the library is loaded (every entry is then set).
    bool Loaded() const { return initBoard != nullptr; }
    /// The error text of a GenICam code; "" when the table is empty.
    const char* ErrorText(int code) const {
        return getErrorDescription != nullptr ? getErrorDescription(code) : "";
    }

    /// Every entry resolved by name from `library`, in SGC_ENTRY_NAMES order;
    /// nothing when one of them is missing.
    static std::optional<GenICamEntryTable> Resolve(const platform::DynamicLibrary& library);
};

/// The module's table.
const GenICamEntryTable& GenICam();

/// Makes `table` the module's table on behalf of `owner` (the system that holds
/// the library the entries point into).
void InstallGenICam(const GenICamEntryTable& table, const void* owner);
/// Empties the module's table when `owner` installed it; a table installed by
/// another owner is left alone, so it never points into a freed library.
void ClearGenICam(const void* owner);
