/* Test control of the simulated frame-grabber machine (exported by fglib5).
 *
 * For tests and tools only: the driver never includes this header. Functions answer
 * SIMCTL_OK (0) or a negative SIMCTL_ERR_* code; SimCtl_LastError tells why the calling
 * thread's last control call failed. Boards are named by their vendor board index and
 * must be open (Fg_OpenBoard) for the board functions; cameras by the name their
 * [camera:NAME] section gives them in the machine description.
 */
#ifndef SIMCTL_SIMCONTROL_H
#define SIMCTL_SIMCONTROL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && defined(SIMCTL_BUILD)
#define SIMCTL_API __declspec(dllexport)
#elif defined(_WIN32)
#define SIMCTL_API __declspec(dllimport)
#else
#define SIMCTL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Parameters of the simulated applet besides the common ones in fglib5.h. */
enum SimAppletParameter {
    SIM_PARAM_TIMEOUT = 600,              /* uint32: DMA time-out in seconds (kept, not used) */
    SIM_PARAM_MAXWIDTH = 6100,            /* uint32, read-only: largest width */
    SIM_PARAM_MAXHEIGHT = 6200,           /* uint32, read-only: largest height */
    SIM_PARAM_FRAMERATE = 6300,           /* double: frames per second, 0 free-running */
    SIM_PARAM_TRIGGERMODE = 6400,         /* uint32: SimTriggerMode */
    SIM_PARAM_SENDSOFTWARETRIGGER = 6500, /* uint32, write-only: writing 1 sends a trigger */
    SIM_PARAM_TESTPATTERN = 6600,         /* uint32: SimPattern */
    SIM_PARAM_PATTERN_OFFSET = 6700,      /* int32: added to every pattern byte */
    SIM_PARAM_SHORT_TRANSFER = 6800,      /* uint64: bytes per transfer, 0 the whole image */
    SIM_PARAM_IMAGE_COUNTER = 6900        /* int64, read-only: images delivered since open */
};

enum SimTriggerMode { SIM_TRIGGER_FREERUN = 0, SIM_TRIGGER_SOFTWARE = 1 };

/* Test patterns; see SimCtl_PatternByte for the function of each. */
enum SimPattern {
    SIM_PATTERN_MOVING = 0,
    SIM_PATTERN_RAMP = 1,
    SIM_PATTERN_CONSTANT = 2,
    SIM_PATTERN_CHECKER = 3,
    SIM_PATTERN_COUNTER = 4
};

enum SimCtlResult {
    SIMCTL_OK = 0,
    SIMCTL_ERR_UNKNOWN_FUNCTION = -1, /* no SDK function of that name */
    SIMCTL_ERR_INVALID_ARGUMENT = -2,
    SIMCTL_ERR_MACHINE = -3,   /* the machine description is malformed or unreadable */
    SIMCTL_ERR_BUSY = -4,      /* boards or cameras are still open */
    SIMCTL_ERR_NO_BOARD = -5,  /* no open board at that index */
    SIMCTL_ERR_NO_DMA = -6,    /* DMA index not offered by the board's applet */
    SIMCTL_ERR_NO_CAMERA = -7, /* no camera of that name */
    SIMCTL_ERR_RANGE = -8,     /* address, buffer number or coordinate out of range */
    SIMCTL_ERR_NO_MEMORY = -9, /* the DMA has not acquired into any memory yet */
    SIMCTL_ERR_TIMEOUT = -10
};

/* Count argument of SimCtl_FailCall and SimCtl_DelayCall: every call from now on. */
enum { SIMCTL_ALWAYS = -1 };

/* --- Faults and counters ------------------------------------------------------------ */

/* The next `count` calls of `function` (e.g. "Fg_AcquireEx") fail with `code` and do
 * nothing else; SIMCTL_ALWAYS for every call, 0 to disarm. Calls that answer a pointer
 * answer NULL (and record `code` as the last error), Fg_SoftwareTrigger answers 0,
 * Fg_RuntimeVersion answers NULL, Sgc_freeBoard ignores the fault. */
SIMCTL_API int SimCtl_FailCall(const char* function, int code, int count);
/* The next `count` calls of `function` sleep `milliseconds` before they run. */
SIMCTL_API int SimCtl_DelayCall(const char* function, unsigned milliseconds, int count);
/* Disarms every failure and delay, including those of the machine description. */
SIMCTL_API void SimCtl_ClearFaults(void);
/* Calls of `function` since the last reset (failed ones included); -1 for unknown names. */
SIMCTL_API int64_t SimCtl_CallCount(const char* function);
SIMCTL_API void SimCtl_ResetCallCounts(void);
/* Call order. With `on` non-zero every later call of an SDK entry point (failed ones
 * included) takes the next number of one sequence shared by all functions, from 1;
 * turning it on again starts afresh, 0 turns it off (SimCtl_ClearFaults does not). */
SIMCTL_API void SimCtl_RecordCallOrder(int on);
/* The number of the latest call of `function` since recording was turned on; 0 when it
 * was not called, -1 for unknown names. A later call of a function replaces its number. */
SIMCTL_API int64_t SimCtl_LastCallOrder(const char* function);

/* --- Machine description ------------------------------------------------------------ */

/* Replace the machine: refused with SIMCTL_ERR_BUSY while a board (fglib5, gbelib or
 * GenICam) is open, SIMCTL_ERR_MACHINE for a malformed description (the old machine
 * stays). Loading arms the description's faults and disarms all others. */
SIMCTL_API int SimCtl_LoadMachineFile(const char* path);
SIMCTL_API int SimCtl_LoadMachineText(const char* text);
/* Drop the machine and all its state; the next SDK call loads $SISODIR5 again. */
SIMCTL_API int SimCtl_ResetMachine(void);
/* Text of the built-in machine used when $SISODIR5 holds no description. */
SIMCTL_API const char* SimCtl_EmbeddedMachine(void);
/* Why the calling thread's last failing control call failed (or why the machine could not
 * be loaded); "" when nothing failed. */
SIMCTL_API const char* SimCtl_LastError(void);

/* --- Cameras ------------------------------------------------------------------------ */

/* Raw register memory as the camera holds it (big-endian registers), without access
 * rules; writes still update derived registers such as PayloadSize. */
SIMCTL_API int SimCtl_ReadCameraMemory(const char* camera, uint64_t address, void* buffer,
                                       size_t length);
SIMCTL_API int SimCtl_WriteCameraMemory(const char* camera, uint64_t address, const void* buffer,
                                        size_t length);
enum SimCameraState {
    SIM_CAMERA_LINK_UP = 1,
    SIM_CAMERA_CONNECTED = 2,
    SIM_CAMERA_ACQUIRING = 4,
    SIM_CAMERA_POWERED = 8
};
/* SimCameraState bits, or a negative code. */
SIMCTL_API int SimCtl_CameraState(const char* camera);

/* --- Acquisition -------------------------------------------------------------------- */

/* What the DMA engine wrote into one buffer of the memory the DMA acquires (or last
 * acquired) into. */
typedef struct SimCtlBufferRecord {
    int64_t pictureNumber; /* 0 when nothing was delivered into the buffer */
    uint16_t tag;
    uint32_t timestamp32;
    uint64_t timestamp64;
    uint64_t transferLength;
    int locked;
    /* geometry and pattern the frame was made with */
    uint32_t width;
    uint32_t height;
    uint32_t xoffset;
    uint32_t yoffset;
    uint32_t format;
    uint32_t pattern;
    int32_t patternOffset;
} SimCtlBufferRecord;

SIMCTL_API int SimCtl_GetBufferRecord(int boardIndex, unsigned dma, int64_t bufferNumber,
                                      SimCtlBufferRecord* record);

typedef struct SimCtlDmaCounters {
    int acquiring;           /* 1 from Fg_AcquireEx until Fg_StopAcquire */
    int64_t delivered;       /* images delivered (picture numbers used) */
    int64_t lost;            /* frames lost */
    int64_t lostBlocked;     /* frames lost because the next buffer was locked */
    int64_t produced;        /* frames made: delivered + lost */
    int64_t collected;       /* highest picture number a wait returned */
    int64_t pendingTriggers; /* software triggers not yet turned into frames */
} SimCtlDmaCounters;

SIMCTL_API int SimCtl_GetDmaCounters(int boardIndex, unsigned dma, SimCtlDmaCounters* counters);
/* Blocks until the DMA's current acquisition has produced at least `frames` frames
 * (delivered or lost); SIMCTL_ERR_TIMEOUT after timeoutMs. */
SIMCTL_API int SimCtl_WaitFrames(int boardIndex, unsigned dma, int64_t frames, unsigned timeoutMs);

/* --- Pixels ------------------------------------------------------------------------- */

/* The pattern byte for sensor position (x + xoffset, y + yoffset), byte k of the pixel and
 * picture number p, with o the pattern offset (v taken modulo 256):
 *   moving:   v = sx + 2*sy + 3*k + p + o
 *   ramp:     v = sx + 3*k + o
 *   constant: v = o
 *   checker:  v = 255 * (((sx / 8) + (sy / 8) + p) mod 2) + o
 *   counter:  v = (p >> (8 * (k mod 8))) + o
 * then masked by the pixel format (gray10: 0xFF, 0x03; gray12: 0xFF, 0x0F; binary: 0x01;
 * col30: 0xFF, 0xFF, 0xFF, 0x3F; all others 0xFF). Negative for an unknown pattern. */
SIMCTL_API int SimCtl_PatternByte(int pattern, int format, uint64_t sensorX, uint64_t sensorY,
                                  unsigned byteInPixel, int64_t picture, int32_t offset);
/* Bytes per pixel the engine writes for a pixel format code (4 for unknown codes). */
SIMCTL_API int SimCtl_BytesPerPixel(int format);
/* The byte at (x, y, k) of picture `picture` with the DMA's current settings. */
SIMCTL_API int SimCtl_ExpectedPixelByte(int boardIndex, unsigned dma, uint32_t x, uint32_t y,
                                        unsigned byteInPixel, int64_t picture);
/* The byte at (x, y, k) of the frame a buffer record describes. */
SIMCTL_API int SimCtl_RecordPixelByte(const SimCtlBufferRecord* record, uint32_t x, uint32_t y,
                                      unsigned byteInPixel);

#ifdef __cplusplus
}
#endif

#endif /* SIMCTL_SIMCONTROL_H */
