/* GigE Vision library (gbelib): the GigE side of a frame-grabber board and the cameras on
 * its ports.
 *
 * Every function answers 0 on success and a negative GBE_ERR_* code on failure, except
 * Gbe_CameraCount (a count, or a negative code) and Gbe_ErrorText. Camera register memory
 * is addressed in bytes as the camera presents it on the wire.
 */
#ifndef GBELIB_H
#define GBELIB_H

#include <stddef.h>
#include <stdint.h>

/* The library itself defines the macro as dllexport. */
#if defined(GBELIB_API)
#elif defined(_WIN32)
#define GBELIB_API __declspec(dllimport)
#else
#define GBELIB_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Gbe_Board Gbe_Board;
typedef struct Gbe_Camera Gbe_Camera;

/* Gbe_ScanPort argument: how long cameras may take to answer the discovery, in ms. */
enum { GBE_SCAN_DEFAULT_TIMEOUT_MS = 200 };

enum GbeError {
    GBE_OK = 0,
    GBE_ERR_INVALID_ARGUMENT = -3001, /* argument out of range or NULL */
    GBE_ERR_INVALID_HANDLE = -3002,   /* board or camera handle unknown or released */
    GBE_ERR_NO_SUCH_BOARD = -3003,    /* no board at that index */
    GBE_ERR_NOT_GIGE_BOARD = -3004,   /* the board has no GigE ports */
    GBE_ERR_BOARD_BUSY = -3005,       /* the board is already open */
    GBE_ERR_NO_SUCH_PORT = -3006,     /* port index beyond the board's ports */
    GBE_ERR_NO_CAMERA = -3007,        /* no camera found on the port */
    GBE_ERR_CAMERA_BUSY = -3008,      /* another handle holds the connection */
    GBE_ERR_NOT_CONNECTED = -3009,    /* the camera is not connected */
    GBE_ERR_ALREADY_CONNECTED = -3010,
    GBE_ERR_ADDRESS = -3011,          /* register access outside the camera's memory */
    GBE_ERR_ACCESS_DENIED = -3012,    /* write to a read-only register */
    GBE_ERR_INVALID_VALUE = -3013,    /* register value refused by the camera */
    GBE_ERR_BUFFER_TOO_SMALL = -3014, /* the caller's text buffer is too small */
    GBE_ERR_MACHINE = -3015           /* the machine description could not be loaded */
};

GBELIB_API int Gbe_OpenBoard(int boardIndex, int flags, Gbe_Board** board);
GBELIB_API int Gbe_CloseBoard(Gbe_Board* board);
/* Text of any code this library answers; never NULL. */
GBELIB_API const char* Gbe_ErrorText(int code);

GBELIB_API int Gbe_ScanPort(Gbe_Board* board, int port, int argument);
GBELIB_API int Gbe_CameraCount(Gbe_Board* board, int port);
/* Hands out a new camera handle; release it with Gbe_ReleaseCamera. */
GBELIB_API int Gbe_FirstCamera(Gbe_Board* board, int port, Gbe_Camera** camera);
GBELIB_API int Gbe_Connect(Gbe_Camera* camera);
GBELIB_API int Gbe_Disconnect(Gbe_Camera* camera);
GBELIB_API int Gbe_ReleaseCamera(Gbe_Camera* camera);
GBELIB_API int Gbe_StartAcquisition(Gbe_Camera* camera);
GBELIB_API int Gbe_StopAcquisition(Gbe_Camera* camera);

/* The camera's GenICam description. With buffer NULL only *size is set (bytes including the
 * terminating NUL); otherwise *size must be at least that. */
GBELIB_API int Gbe_CameraDescription(Gbe_Camera* camera, char* buffer, size_t* size);

/* Raw register memory access of `length` bytes at `address`. */
GBELIB_API int Gbe_MemoryRead(Gbe_Camera* camera, void* buffer, uint64_t address, size_t length);
GBELIB_API int Gbe_MemoryWrite(Gbe_Camera* camera, const void* buffer, uint64_t address,
                               size_t length);

#ifdef __cplusplus
}
#endif

#endif /* GBELIB_H */
