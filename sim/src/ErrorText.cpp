#include "ErrorText.h"

#include <fglib5.h>
#include <gbelib.h>
#include <siso_genicam.h>

namespace sim {

const char* FgErrorText(int code) {
    switch (code) {
    case FG_OK:
        return "no error";
    case FG_ERR_NO_SUCH_BOARD:
        return "no board at this index";
    case FG_ERR_BOARD_BUSY:
        return "board is already open";
    case FG_ERR_APPLET_CONFIG:
        return "applet configuration file missing or malformed";
    case FG_ERR_MACHINE:
        return "machine description could not be loaded";
    case FG_ERR_INVALID_HANDLE:
        return "invalid grabber handle";
    case FG_ERR_NULL_ARGUMENT:
        return "required pointer argument is null";
    case FG_ERR_INVALID_ARGUMENT:
        return "argument out of range";
    case FG_ERR_INVALID_PARAMETER:
        return "unknown parameter id";
    case FG_ERR_INVALID_VALUE:
        return "parameter value out of range";
    case FG_ERR_WRONG_TYPE:
        return "type code does not match the parameter";
    case FG_ERR_ACCESS_DENIED:
        return "parameter access denied";
    case FG_ERR_INVALID_DMA:
        return "DMA index not offered by the applet";
    case FG_ERR_OUT_OF_MEMORY:
        return "out of memory";
    case FG_ERR_INVALID_SIZE:
        return "invalid memory size or buffer count";
    case FG_ERR_INVALID_BUFFER:
        return "invalid buffer address, size or index";
    case FG_ERR_BUFFER_EXISTS:
        return "buffer index already added";
    case FG_ERR_WRONG_MEMORY_KIND:
        return "wrong kind of memory for this call";
    case FG_ERR_INVALID_MEMORY:
        return "invalid memory handle";
    case FG_ERR_NO_BUFFERS:
        return "memory has buffers missing";
    case FG_ERR_MEMORY_IN_USE:
        return "memory is in use by an acquisition";
    case FG_ERR_DMA_BUSY:
        return "DMA is already acquiring";
    case FG_ERR_NOT_ACQUIRING:
        return "DMA is not acquiring";
    case FG_ERR_INVALID_MODE:
        return "unknown acquisition or wait mode";
    case FG_ERR_INVALID_STATUS:
        return "unknown status query or buffer command";
    case FG_ERR_INVALID_BUFFER_NUMBER:
        return "buffer number out of range";
    case FG_ERR_ACQUISITION_STOPPED:
        return "acquisition stopped while waiting";
    case FG_ERR_FRAME_LIMIT:
        return "picture number beyond the requested frame count";
    case FG_ERR_TIMEOUT:
        return "timeout waiting for the image";
    case FG_ERR_NOT_TRIGGER_MODE:
        return "DMA is not in software trigger mode";
    case FG_ERR_BUFFER_TOO_SMALL:
        return "buffer too small";
    default:
        return "unknown frame grabber error";
    }
}

const char* GbeErrorText(int code) {
    switch (code) {
    case GBE_OK:
        return "no error";
    case GBE_ERR_INVALID_ARGUMENT:
        return "invalid argument";
    case GBE_ERR_INVALID_HANDLE:
        return "invalid board or camera handle";
    case GBE_ERR_NO_SUCH_BOARD:
        return "no board at this index";
    case GBE_ERR_NOT_GIGE_BOARD:
        return "board has no GigE ports";
    case GBE_ERR_BOARD_BUSY:
        return "GigE board is already open";
    case GBE_ERR_NO_SUCH_PORT:
        return "no such GigE port";
    case GBE_ERR_NO_CAMERA:
        return "no camera found on the port";
    case GBE_ERR_CAMERA_BUSY:
        return "camera is connected through another handle";
    case GBE_ERR_NOT_CONNECTED:
        return "camera is not connected";
    case GBE_ERR_ALREADY_CONNECTED:
        return "camera is already connected";
    case GBE_ERR_ADDRESS:
        return "register address out of range";
    case GBE_ERR_ACCESS_DENIED:
        return "register is read-only";
    case GBE_ERR_INVALID_VALUE:
        return "register value refused by the camera";
    case GBE_ERR_BUFFER_TOO_SMALL:
        return "buffer too small";
    case GBE_ERR_MACHINE:
        return "machine description could not be loaded";
    default:
        return "unknown GigE error";
    }
}

const char* SgcErrorText(int code) {
    switch (code) {
    case SGC_OK:
        return "no error";
    case SGC_ERR_INVALID_ARGUMENT:
        return "invalid argument";
    case SGC_ERR_INVALID_HANDLE:
        return "invalid board or camera handle";
    case SGC_ERR_INVALID_GRABBER:
        return "grabber is not open";
    case SGC_ERR_NOT_CXP_BOARD:
        return "board has no CoaXPress ports";
    case SGC_ERR_BOARD_BUSY:
        return "GenICam board already initialised for this grabber";
    case SGC_ERR_LAYOUT_FILE:
        return "board layout file empty, missing or malformed";
    case SGC_ERR_INVALID_SPEED:
        return "unknown link speed";
    case SGC_ERR_DISCOVERY_TIMEOUT:
        return "camera did not answer the discovery in time";
    case SGC_ERR_NO_SUCH_CAMERA:
        return "no camera at this index";
    case SGC_ERR_LINK_DOWN:
        return "camera link is down";
    case SGC_ERR_NOT_CONNECTED:
        return "camera is not connected";
    case SGC_ERR_ADDRESS:
        return "register address out of range";
    case SGC_ERR_ACCESS_DENIED:
        return "register is read-only";
    case SGC_ERR_INVALID_VALUE:
        return "register value refused by the camera";
    case SGC_ERR_BUFFER_TOO_SMALL:
        return "buffer too small";
    case SGC_ERR_UNKNOWN_PROPERTY:
        return "unknown camera property";
    case SGC_ERR_WRONG_BOARD:
        return "camera belongs to another board";
    case SGC_ERR_POWERED_OFF:
        return "camera port is powered off";
    case SGC_ERR_MACHINE:
        return "machine description could not be loaded";
    default:
        return "unknown GenICam error";
    }
}

} // namespace sim
