/* CoaXPress GenICam library (siso_genicam.dll), loaded at run time.
 *
 * Only function-pointer types are declared: callers resolve the 21 entry points by the
 * names in SGC_ENTRY_NAMES, in that order, and use all of them or none. Functions answer 0
 * on success and a negative SGC_ERR_* code on failure, except Sgc_getCameraCount (a count,
 * or a negative code), Sgc_getErrorDescription (text) and Sgc_freeBoard (nothing).
 */
#ifndef SISO_GENICAM_H
#define SISO_GENICAM_H

#include <stddef.h>
#include <stdint.h>

#include <fglib5.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SgcBoard SgcBoard;
typedef struct SgcCamera SgcCamera;

/* Port mask of all four CoaXPress ports and the link speed codes of Sgc_scanPorts. */
enum { SGC_ALL_PORTS = 0xF };
enum SgcSpeed {
    SGC_SPEED_AUTO = 0,
    SGC_SPEED_CXP1 = 0x28, /* 1.25 Gbps */
    SGC_SPEED_CXP2 = 0x30, /* 2.5 Gbps */
    SGC_SPEED_CXP3 = 0x38, /* 3.125 Gbps */
    SGC_SPEED_CXP5 = 0x40, /* 5 Gbps */
    SGC_SPEED_CXP6 = 0x48  /* 6.25 Gbps */
};
/* Sgc_start/stopAcquisition second argument: also start or stop the camera itself. */
enum { SGC_DMA_ONLY = 0, SGC_WITH_CAMERA = 1 };
/* Sgc_powerSwitchExt states. */
enum { SGC_POWER_OFF = 0, SGC_POWER_ON = 1 };

/* Sgc_getCameraInfo `what` codes; the value is a NUL-terminated text or a uint32_t. */
enum SgcCameraInfo {
    SGC_INFO_VENDOR_NAME = 1,   /* text */
    SGC_INFO_MODEL_NAME = 2,    /* text */
    SGC_INFO_SERIAL_NUMBER = 3, /* text */
    SGC_INFO_PORT = 4,          /* uint32_t: the board port the camera is attached to */
    SGC_INFO_LINK_SPEED = 5,    /* uint32_t: the speed code of the link */
    SGC_INFO_STATE = 6          /* uint32_t: SgcCameraState bits */
};
enum SgcCameraState { SGC_STATE_LINK_UP = 1, SGC_STATE_CONNECTED = 2, SGC_STATE_ACQUIRING = 4 };

/* Sgc_getCameraPropertyWithType types, answered through *type. */
enum SgcPropertyType { SGC_PROPERTY_STRING = 1, SGC_PROPERTY_UINT32 = 2 };

enum SgcError {
    SGC_OK = 0,
    SGC_ERR_INVALID_ARGUMENT = -4001,  /* argument out of range or NULL */
    SGC_ERR_INVALID_HANDLE = -4002,    /* board or camera handle unknown or freed */
    SGC_ERR_INVALID_GRABBER = -4003,   /* the grabber is not open */
    SGC_ERR_NOT_CXP_BOARD = -4004,     /* the board has no CoaXPress ports */
    SGC_ERR_BOARD_BUSY = -4005,        /* the grabber already has a GenICam board */
    SGC_ERR_LAYOUT_FILE = -4006,       /* layout path empty, missing or malformed */
    SGC_ERR_INVALID_SPEED = -4007,     /* unknown link speed code */
    SGC_ERR_DISCOVERY_TIMEOUT = -4008, /* a linked camera did not answer the discovery */
    SGC_ERR_NO_SUCH_CAMERA = -4009,    /* camera index beyond the known cameras */
    SGC_ERR_LINK_DOWN = -4010,         /* the camera's link is not up */
    SGC_ERR_NOT_CONNECTED = -4011,     /* the camera is not connected */
    SGC_ERR_ADDRESS = -4012,           /* register access outside the camera's memory */
    SGC_ERR_ACCESS_DENIED = -4013,     /* write to a read-only register */
    SGC_ERR_INVALID_VALUE = -4014,     /* register value refused by the camera */
    SGC_ERR_BUFFER_TOO_SMALL = -4015,  /* the caller's buffer is too small */
    SGC_ERR_UNKNOWN_PROPERTY = -4016,  /* unknown property name or info code */
    SGC_ERR_WRONG_BOARD = -4017,       /* the camera belongs to another board */
    SGC_ERR_POWERED_OFF = -4018,       /* the camera's port has no power */
    SGC_ERR_MACHINE = -4019            /* the machine description could not be loaded */
};

typedef int (*Sgc_initBoard_t)(Fg_Grabber* grabber, int flags, SgcBoard** board);
typedef int (*Sgc_LoadBoardConfiguration_t)(SgcBoard* board, const char* path);
typedef void (*Sgc_freeBoard_t)(SgcBoard* board);
typedef int (*Sgc_scanPorts_t)(SgcBoard* board, unsigned portMask, int discoveryTimeoutMs,
                               int speed);
typedef int (*Sgc_connectCamera_t)(SgcCamera* camera);
typedef int (*Sgc_disconnectCamera_t)(SgcCamera* camera);
typedef int (*Sgc_getCameraByIndex_t)(SgcBoard* board, unsigned index, SgcCamera** camera);
/* With buffer NULL only *size is set (bytes including the terminating NUL). */
typedef int (*Sgc_getGenICamXML_t)(SgcCamera* camera, char* buffer, size_t* size);
typedef const char* (*Sgc_getErrorDescription_t)(int code);
typedef int (*Sgc_registerReadFromCamera_t)(SgcCamera* camera, uint32_t* value, uint64_t address);
typedef int (*Sgc_registerWriteToCamera_t)(SgcCamera* camera, uint32_t value, uint64_t address);
typedef int (*Sgc_memoryReadFromCameraWithTimeout_t)(SgcCamera* camera, void* buffer,
                                                     uint64_t address, size_t length,
                                                     unsigned timeoutMs);
typedef int (*Sgc_memoryWriteToCameraWithTimeout_t)(SgcCamera* camera, const void* buffer,
                                                    uint64_t address, size_t length,
                                                    unsigned timeoutMs);
typedef int (*Sgc_getCameraCount_t)(SgcBoard* board);
typedef int (*Sgc_startAcquisition_t)(SgcCamera* camera, unsigned startCamera);
typedef int (*Sgc_stopAcquisition_t)(SgcCamera* camera, unsigned stopCamera);
/* With value NULL only *size is set. */
typedef int (*Sgc_getCameraInfo_t)(SgcCamera* camera, int what, void* value, size_t* size);
typedef int (*Sgc_powerSwitchExt_t)(SgcBoard* board, unsigned portMask, int state);
typedef int (*Sgc_LinkConnect_t)(SgcBoard* board, SgcCamera* camera);
typedef int (*Sgc_LinkDisconnect_t)(SgcCamera* camera);
/* With value NULL only *type and *size are set. */
typedef int (*Sgc_getCameraPropertyWithType_t)(SgcCamera* camera, const char* name, void* value,
                                               unsigned* type, size_t* size);

enum { SGC_ENTRY_COUNT = 21 };

/* The entry points in resolution order. */
static const char* const SGC_ENTRY_NAMES[SGC_ENTRY_COUNT] = {
    "Sgc_initBoard",
    "Sgc_LoadBoardConfiguration",
    "Sgc_freeBoard",
    "Sgc_scanPorts",
    "Sgc_connectCamera",
    "Sgc_disconnectCamera",
    "Sgc_getCameraByIndex",
    "Sgc_getGenICamXML",
    "Sgc_getErrorDescription",
    "Sgc_registerReadFromCamera",
    "Sgc_registerWriteToCamera",
    "Sgc_memoryReadFromCameraWithTimeout",
    "Sgc_memoryWriteToCameraWithTimeout",
    "Sgc_getCameraCount",
    "Sgc_startAcquisition",
    "Sgc_stopAcquisition",
    "Sgc_getCameraInfo",
    "Sgc_powerSwitchExt",
    "Sgc_LinkConnect",
    "Sgc_LinkDisconnect",
    "Sgc_getCameraPropertyWithType",
};

#ifdef __cplusplus
}
#endif

#endif /* SISO_GENICAM_H */
