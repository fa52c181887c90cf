#pragma once
// Node maps of the host imaging library (ORGenApi). A node map and its proxies are
// host objects (ORBase blocks); release them with ORCImg_ReleaseObject.
// Results: 0 on success; otherwise 0x80000002 for a null argument or a handle that
// is not a node map (or proxy, where one is accepted), 0x80000001 for a failed
// operation (or the port callback's own non-zero result), 0x80000005 when out of
// memory. Thread-safe; the port callbacks are called without any lock held.

#include <ORV/ORVTypes.h>

#include <cstdint>

#if defined(ORGENAPI_BUILD)
#define ORGENAPI_API __attribute__((visibility("default")))
#else
#define ORGENAPI_API
#endif

extern "C" {

/// Register port of a node map: 0 on success, non-zero on failure.
typedef int32_t (*ORGenApi_PortRead)(void* buffer, int64_t address, int64_t length, void* context);
typedef int32_t (*ORGenApi_PortWrite)(const void* buffer, int64_t address, int64_t length,
                                      void* context);
/// Access query of the port for an address range (the module answers 4).
typedef int32_t (*ORGenApi_PortAccess)(int64_t address, int64_t length, void* context);
/// Called with the proxy's context when the host releases the proxy.
typedef int32_t (*ORGenApi_ProxyReleased)(void* context);

/// Ordinal 30: creates an empty node map (one reference for the caller).
ORGENAPI_API int32_t ORGenApi_CreateNodeMap(ORHandle* nodeMap);

/// Ordinal 42: loads a GenICam XML description. Non-zero when the text is not
/// well-formed XML or its root element is not RegisterDescription.
ORGENAPI_API int32_t ORGenApi_LoadDescription(ORHandle nodeMap, const char* xml);

/// Ordinal 44: attaches the register port named `portName`. 0 on success. The read
/// and write callbacks and the name are required; `access` may be null. A port
/// may be attached before the description is loaded; a later attach replaces it.
ORGENAPI_API int32_t ORGenApi_AttachPort(ORHandle nodeMap, ORGenApi_PortRead read,
                                         ORGenApi_PortWrite write, ORGenApi_PortAccess access,
                                         void* context, const char* portName);

/// Ordinal 31: creates a proxy holding the node map. The proxy's last release
/// calls `released(context)`. Non-zero on failure.
ORGENAPI_API int32_t ORGenApi_CreateProxy(ORHandle nodeMap, ORGenApi_ProxyReleased released,
                                          void* context, ORHandle* proxy);

/// Raw register access through the attached port of a node map or proxy.
ORGENAPI_API int32_t ORGenApi_ReadPort(ORHandle nodeMapOrProxy, void* buffer, int64_t address,
                                       int64_t length);
ORGENAPI_API int32_t ORGenApi_WritePort(ORHandle nodeMapOrProxy, const void* buffer,
                                        int64_t address, int64_t length);

/// Access mode the attached port's access callback answers for a range.
ORGENAPI_API int32_t ORGenApi_GetPortAccess(ORHandle nodeMapOrProxy, int64_t address,
                                            int64_t length, int32_t* mode);

/// Name of the attached port ("" when none). A null `destination` answers the
/// length including the terminating zero; a `*length` too small answers the
/// needed length with 0x80000001.
ORGENAPI_API int32_t ORGenApi_GetPortName(ORHandle nodeMapOrProxy, char* destination,
                                          uint32_t* length);

/// Whether the description declares a node of that name (1) or not (0): an
/// element whose Name attribute has that value. 0 also for a null argument.
ORGENAPI_API int32_t ORGenApi_HasNode(ORHandle nodeMapOrProxy, const char* name);

} // extern "C"
