/* Frame-grabber library (fglib5): boards, applet parameters, DMA memory and acquisition.
 *
 * Handles are opaque. Unless a function says otherwise it answers 0 on success and a
 * negative FG_ERR_* code on failure; the code and its text can then be read back with
 * Fg_LastErrorNumber/Fg_LastErrorText (pass the grabber, or NULL for calls that have none,
 * such as a failed Fg_OpenBoard). DMA indices and memory indices count from 0, buffer
 * numbers from 1.
 */
#ifndef FGLIB5_H
#define FGLIB5_H

#include <stddef.h>
#include <stdint.h>

/* The library itself defines the macro as dllexport. */
#if defined(FGLIB5_API)
#elif defined(_WIN32)
#define FGLIB5_API __declspec(dllimport)
#else
#define FGLIB5_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Fg_Grabber Fg_Grabber;
/* Both SDK-allocated memory (Fg_AllocMemory) and custom-memory heads (Fg_CreateMemoryHead). */
typedef struct Fg_Memory Fg_Memory;

/* Board type answered by Fg_BoardType for an index without a board. */
enum { FG_NO_BOARD = -1 };

/* Applet parameters every DMA offers (ids for Fg_Get/SetParameter). */
enum FgParameterId {
    FG_PARAM_WIDTH = 100,      /* image width in pixels, uint32 */
    FG_PARAM_HEIGHT = 200,     /* image height in lines, uint32 */
    FG_PARAM_XOFFSET = 300,    /* x offset of the region of interest, uint32 */
    FG_PARAM_YOFFSET = 400,    /* y offset of the region of interest, uint32 */
    FG_PARAM_FORMAT = 700,     /* pixel format code (FgPixelFormat), uint32 */
    FG_PARAM_PIXELDEPTH = 4000 /* bits per pixel, uint32 */
};

/* Type codes of Fg_Get/SetParameterTyped. */
enum FgParameterType {
    FG_TYPE_INT32 = 1,
    FG_TYPE_UINT32 = 2,
    FG_TYPE_INT64 = 3,
    FG_TYPE_UINT64 = 4,
    FG_TYPE_DOUBLE = 5,
    FG_TYPE_VALUE8 = 6 /* any 8-byte value, copied as it is */
};

/* Pixel format codes (parameter FG_PARAM_FORMAT). */
enum FgPixelFormat {
    FG_FORMAT_GRAY16 = 1,
    FG_FORMAT_COLOR24 = 2,
    FG_FORMAT_GRAY8 = 3,
    FG_FORMAT_COLOR32 = 4,
    FG_FORMAT_COL30 = 5,
    FG_FORMAT_COLOR48 = 6,
    FG_FORMAT_BINARY = 8,
    FG_FORMAT_GRAY32 = 20,
    FG_FORMAT_GRAY10 = 21,
    FG_FORMAT_GRAY12 = 22
};

/* Fg_AcquireEx modes and frame count. */
enum FgAcquireMode {
    FG_ACQ_STANDARD = 1, /* buffers are overwritten in ring order */
    FG_ACQ_BLOCKING = 2  /* a delivered buffer stays locked until it is unblocked */
};
enum { FG_FRAMES_ENDLESS = -1 };
/* Fg_StopAcquire flags: stop at once and return when the DMA no longer writes. */
enum { FG_STOP_SYNC = 0 };

/* Fg_WaitImage mode: wait for the image with the given picture number. */
enum { FG_WAIT_PICTURE_NUMBER = 220 };

/* Fg_QueryStatus codes. */
enum FgStatusCode {
    FG_STATUS_GRABBED = 10,      /* images delivered since the start */
    FG_STATUS_LOST = 20,         /* images lost since the start */
    FG_STATUS_LOST_BLOCKED = 30, /* images lost because the next buffer was blocked */
    FG_STATUS_BLOCKED = 40,      /* buffers blocked now */
    FG_STATUS_PENDING = 80,      /* images delivered but not yet collected by a wait */
    FG_STATUS_BUFFER_LOCKED = 90 /* lock state of buffer `data`: 1 locked, 0 free */
};

/* Fg_SetBufferStatus commands. */
enum { FG_BUFFER_UNBLOCK = 512 };

/* Fg_GetBufferParameter ids. */
enum FgBufferParameter {
    FG_BUFPARAM_TRANSFER_LENGTH = 5210, /* uint64_t: bytes the DMA wrote */
    FG_BUFPARAM_TAG = 22000,            /* uint16_t: frame tag */
    FG_BUFPARAM_TIMESTAMP32 = 22020,    /* uint32_t: time stamp, low 32 bits */
    FG_BUFPARAM_TIMESTAMP64 = 22030     /* uint64_t: time stamp */
};

/* Error codes (always negative). */
enum FgError {
    FG_OK = 0,
    FG_ERR_NO_SUCH_BOARD = -2001,         /* no board at that index */
    FG_ERR_BOARD_BUSY = -2002,            /* the board is already open */
    FG_ERR_APPLET_CONFIG = -2003,         /* applet configuration missing or malformed */
    FG_ERR_MACHINE = -2004,               /* the machine description could not be loaded */
    FG_ERR_INVALID_HANDLE = -2010,        /* grabber handle unknown or closed */
    FG_ERR_NULL_ARGUMENT = -2011,         /* a required pointer was NULL */
    FG_ERR_INVALID_ARGUMENT = -2012,      /* an argument is out of range */
    FG_ERR_INVALID_PARAMETER = -2020,     /* unknown parameter id */
    FG_ERR_INVALID_VALUE = -2021,         /* parameter value out of range */
    FG_ERR_WRONG_TYPE = -2022,            /* type code does not match the parameter */
    FG_ERR_ACCESS_DENIED = -2023,         /* parameter is read-only or write-only */
    FG_ERR_INVALID_DMA = -2030,           /* DMA index not offered by the applet */
    FG_ERR_OUT_OF_MEMORY = -2040,         /* memory could not be allocated */
    FG_ERR_INVALID_SIZE = -2041,          /* size or buffer count out of range */
    FG_ERR_INVALID_BUFFER = -2050,        /* bad buffer address, size or index */
    FG_ERR_BUFFER_EXISTS = -2051,         /* buffer index already added */
    FG_ERR_WRONG_MEMORY_KIND = -2052,     /* SDK memory used as a head or the other way round */
    FG_ERR_INVALID_MEMORY = -2060,        /* memory handle unknown, foreign or freed */
    FG_ERR_NO_BUFFERS = -2061,            /* the memory has buffers missing */
    FG_ERR_MEMORY_IN_USE = -2062,         /* the memory is being acquired into */
    FG_ERR_DMA_BUSY = -2070,              /* the DMA is already acquiring */
    FG_ERR_NOT_ACQUIRING = -2071,         /* the DMA is not acquiring */
    FG_ERR_INVALID_MODE = -2080,          /* unknown acquisition or wait mode */
    FG_ERR_INVALID_STATUS = -2090,        /* unknown status query or buffer command */
    FG_ERR_INVALID_BUFFER_NUMBER = -2100, /* buffer number outside 1..buffer count */
    FG_ERR_ACQUISITION_STOPPED = -2110,   /* the wait ended because the DMA stopped */
    FG_ERR_FRAME_LIMIT = -2111,           /* the picture lies beyond the requested frame count */
    FG_ERR_TIMEOUT = -2120,               /* no image within the time-out */
    FG_ERR_NOT_TRIGGER_MODE = -2130,      /* software trigger while the DMA runs free */
    FG_ERR_BUFFER_TOO_SMALL = -2140       /* the caller's text buffer is too small */
};

FGLIB5_API const char* Fg_RuntimeVersion(void);
FGLIB5_API int Fg_BoardType(int boardIndex);

FGLIB5_API Fg_Grabber* Fg_OpenBoard(const char* appletConfigPath, unsigned boardIndex);
FGLIB5_API int Fg_CloseBoard(Fg_Grabber* grabber);
FGLIB5_API int Fg_LastErrorNumber(Fg_Grabber* grabber);
FGLIB5_API const char* Fg_LastErrorText(Fg_Grabber* grabber);

/* Untyped access uses the parameter's own type (uint32 for every id above). */
FGLIB5_API int Fg_GetParameter(Fg_Grabber* grabber, int id, void* value, unsigned dma);
FGLIB5_API int Fg_SetParameter(Fg_Grabber* grabber, int id, const void* value, unsigned dma);
FGLIB5_API int Fg_GetParameterTyped(Fg_Grabber* grabber, int id, void* value, unsigned dma,
                                    int type);
FGLIB5_API int Fg_SetParameterTyped(Fg_Grabber* grabber, int id, const void* value, unsigned dma,
                                    int type);
/* The parameter table of the applet: count (negative on error), id and name by position. */
FGLIB5_API int Fg_ParameterCount(Fg_Grabber* grabber);
FGLIB5_API int Fg_ParameterIdAt(Fg_Grabber* grabber, int position);
FGLIB5_API const char* Fg_ParameterNameAt(Fg_Grabber* grabber, int position);

/* SDK-allocated memory: bufferCount buffers of totalBytes / bufferCount bytes each. */
FGLIB5_API Fg_Memory* Fg_AllocMemory(Fg_Grabber* grabber, size_t totalBytes, int64_t bufferCount);
FGLIB5_API int Fg_FreeMemory(Fg_Grabber* grabber, Fg_Memory* memory);

/* Custom memory: a head for bufferCount caller-owned buffers of totalBytes in all. */
FGLIB5_API Fg_Memory* Fg_CreateMemoryHead(Fg_Grabber* grabber, size_t totalBytes,
                                          int64_t bufferCount);
/* Answers the index it assigned (the one asked for), negative on failure. */
FGLIB5_API int64_t Fg_AddBuffer(Fg_Grabber* grabber, void* address, size_t size, int64_t index,
                                Fg_Memory* head);
FGLIB5_API int Fg_RemoveBuffer(Fg_Grabber* grabber, Fg_Memory* head, int64_t index);
FGLIB5_API int Fg_FreeMemoryHead(Fg_Grabber* grabber, Fg_Memory* head);

FGLIB5_API int Fg_AcquireEx(Fg_Grabber* grabber, unsigned dma, int64_t frameCount, int mode,
                            Fg_Memory* memory);
FGLIB5_API int Fg_StopAcquire(Fg_Grabber* grabber, unsigned dma, Fg_Memory* memory, int flags);
/* Answers pictureNumber once that image is delivered, FG_ERR_TIMEOUT after timeoutSeconds,
 * FG_ERR_ACQUISITION_STOPPED when the DMA is stopped meanwhile, another code on error. */
FGLIB5_API int64_t Fg_WaitImage(Fg_Grabber* grabber, int mode, int64_t pictureNumber, unsigned dma,
                                int timeoutSeconds, Fg_Memory* memory);
FGLIB5_API int64_t Fg_QueryStatus(Fg_Grabber* grabber, int code, int64_t data, unsigned dma,
                                  Fg_Memory* memory);
FGLIB5_API int Fg_SetBufferStatus(Fg_Grabber* grabber, int command, int64_t bufferNumber,
                                  unsigned dma, Fg_Memory* memory);
FGLIB5_API int Fg_GetBufferParameter(Fg_Grabber* grabber, int id, void* value, unsigned dma,
                                     Fg_Memory* memory, int64_t bufferNumber);

/* Unlike every other call: non-zero on success, 0 on failure. */
FGLIB5_API int Fg_SoftwareTrigger(Fg_Grabber* grabber, unsigned dma);

/* GenICam description of the DMA's parameters. With buffer NULL only *size is set (bytes
 * including the terminating NUL); otherwise *size must be at least that. */
FGLIB5_API int Fg_DmaDescription(Fg_Grabber* grabber, unsigned dma, char* buffer, size_t* size);

#ifdef __cplusplus
}
#endif

#endif /* FGLIB5_H */
