/* An Aravis device whose memory reads and writes go to C callbacks, so a GenICam
 * description can be exercised by Aravis's node map against a simulated register port. */
#ifndef SIMTEST_ARAVIS_PORT_DEVICE_H
#define SIMTEST_ARAVIS_PORT_DEVICE_H

#include <arv.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Answer 0 for success. */
typedef int (*SimPortRead)(void* context, uint64_t address, void* buffer, uint32_t size);
typedef int (*SimPortWrite)(void* context, uint64_t address, const void* buffer, uint32_t size);

/* A new reference; release it with g_object_unref. Named in GObject's C style. */
/* NOLINTNEXTLINE(readability-identifier-naming) */
ArvDevice* sim_port_device_new(SimPortRead read, SimPortWrite write, void* context);

#ifdef __cplusplus
}
#endif

#endif
