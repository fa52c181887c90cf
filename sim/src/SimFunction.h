// The SDK entry points the simulator counts and can make fail, by name.
#pragma once

#include <cstddef>

namespace sim {

#define SIM_FUNCTION_LIST(X)                                                                       \
    X(Fg_RuntimeVersion)                                                                           \
    X(Fg_BoardType)                                                                                \
    X(Fg_OpenBoard)                                                                                \
    X(Fg_CloseBoard)                                                                               \
    X(Fg_GetParameter)                                                                             \
    X(Fg_SetParameter)                                                                             \
    X(Fg_GetParameterTyped)                                                                        \
    X(Fg_SetParameterTyped)                                                                        \
    X(Fg_ParameterCount)                                                                           \
    X(Fg_ParameterIdAt)                                                                            \
    X(Fg_ParameterNameAt)                                                                          \
    X(Fg_AllocMemory)                                                                              \
    X(Fg_FreeMemory)                                                                               \
    X(Fg_CreateMemoryHead)                                                                         \
    X(Fg_AddBuffer)                                                                                \
    X(Fg_RemoveBuffer)                                                                             \
    X(Fg_FreeMemoryHead)                                                                           \
    X(Fg_AcquireEx)                                                                                \
    X(Fg_StopAcquire)                                                                              \
    X(Fg_WaitImage)                                                                                \
    X(Fg_QueryStatus)                                                                              \
    X(Fg_SetBufferStatus)                                                                          \
    X(Fg_GetBufferParameter)                                                                       \
    X(Fg_SoftwareTrigger)                                                                          \
    X(Fg_DmaDescription)                                                                           \
    X(Gbe_OpenBoard)                                                                               \
    X(Gbe_CloseBoard)                                                                              \
    X(Gbe_ScanPort)                                                                                \
    X(Gbe_CameraCount)                                                                             \
    X(Gbe_FirstCamera)                                                                             \
    X(Gbe_Connect)                                                                                 \
    X(Gbe_Disconnect)                                                                              \
    X(Gbe_ReleaseCamera)                                                                           \
    X(Gbe_StartAcquisition)                                                                        \
    X(Gbe_StopAcquisition)                                                                         \
    X(Gbe_CameraDescription)                                                                       \
    X(Gbe_MemoryRead)                                                                              \
    X(Gbe_MemoryWrite)                                                                             \
    X(Sgc_initBoard)                                                                               \
    X(Sgc_LoadBoardConfiguration)                                                                  \
    X(Sgc_freeBoard)                                                                               \
    X(Sgc_scanPorts)                                                                               \
    X(Sgc_connectCamera)                                                                           \
    X(Sgc_disconnectCamera)                                                                        \
    X(Sgc_getCameraByIndex)                                                                        \
    X(Sgc_getGenICamXML)                                                                           \
    X(Sgc_registerReadFromCamera)                                                                  \
    X(Sgc_registerWriteToCamera)                                                                   \
    X(Sgc_memoryReadFromCameraWithTimeout)                                                         \
    X(Sgc_memoryWriteToCameraWithTimeout)                                                          \
    X(Sgc_getCameraCount)                                                                          \
    X(Sgc_startAcquisition)                                                                        \
    X(Sgc_stopAcquisition)                                                                         \
    X(Sgc_getCameraInfo)                                                                           \
    X(Sgc_powerSwitchExt)                                                                          \
    X(Sgc_LinkConnect)                                                                             \
    X(Sgc_LinkDisconnect)                                                                          \
    X(Sgc_getCameraPropertyWithType)

enum class SimFunction : std::size_t {
#define SIM_FUNCTION_ENUM(name) name,
    SIM_FUNCTION_LIST(SIM_FUNCTION_ENUM)
#undef SIM_FUNCTION_ENUM
        Count
};

constexpr std::size_t SimFunctionCount = static_cast<std::size_t>(SimFunction::Count);

} // namespace sim
