#pragma once
// Node maps of the host imaging library (ORGenApi). A node map and its proxies are
// host objects (ORBase blocks); release them with ORCImg_ReleaseObject.
// Results: 0 on success; otherwise 0x80000002 for a null argument or a handle that
// is not a node map (or proxy, where one is accepted), 0x80000001 for a failed
// operation (or the port callback's own non-zero result), 0x80000005 when out of
// memory. Thread-safe; the port callbacks are called without any ORGenApi lock
// held, except the lock that serialises the feature calls of one node map.

#include <ORV/ORVTypes.h>

#include <cstdint>

#if defined(_WIN32)
// Exported by ordinal through the library's .def file.
#define ORGENAPI_API
#elif defined(ORGENAPI_BUILD)
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

// Features. Each takes a node map or a proxy and the feature's name (any node of
// the description that has the feature's type; an Enumeration is also an
// integer). The values travel through the attached port, which must carry the
// name of a Port the description declares. Results: 0; 0x80000002 for a null
// argument, an unknown name, a node of another type, an unknown entry or a value
// outside the feature's range; the port callback's own result when a register
// access fails; 0x80000001 when no description or engine is there, no matching
// port is attached, or the feature refuses (for example a read-only one written).

ORGENAPI_API int32_t ORGenApi_GetIntegerFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int64_t* value);
ORGENAPI_API int32_t ORGenApi_SetIntegerFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int64_t value);
ORGENAPI_API int32_t ORGenApi_GetFloatFeature(ORHandle nodeMapOrProxy, const char* name,
                                              double* value);
ORGENAPI_API int32_t ORGenApi_SetFloatFeature(ORHandle nodeMapOrProxy, const char* name,
                                              double value);
/// 0 or 1 in `*value`.
ORGENAPI_API int32_t ORGenApi_GetBooleanFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int32_t* value);
ORGENAPI_API int32_t ORGenApi_SetBooleanFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int32_t value);
/// Size protocol: a null `destination` answers in `*length` the text length plus
/// its terminating zero; a `*length` below that answers the needed length with
/// 0x80000001 and writes nothing; otherwise the text and its zero are copied and
/// `*length` becomes their size.
ORGENAPI_API int32_t ORGenApi_GetStringFeature(ORHandle nodeMapOrProxy, const char* name,
                                               char* destination, uint32_t* length);
ORGENAPI_API int32_t ORGenApi_SetStringFeature(ORHandle nodeMapOrProxy, const char* name,
                                               const char* value);
/// The current entry's name, with the size protocol of ORGenApi_GetStringFeature.
ORGENAPI_API int32_t ORGenApi_GetEnumFeature(ORHandle nodeMapOrProxy, const char* name,
                                             char* destination, uint32_t* length);
/// Selects the entry of that name.
ORGENAPI_API int32_t ORGenApi_SetEnumFeature(ORHandle nodeMapOrProxy, const char* name,
                                             const char* entry);
ORGENAPI_API int32_t ORGenApi_ExecuteCommand(ORHandle nodeMapOrProxy, const char* name);

/// A feature's access, as GenApi counts it.
enum {
    ORGENAPI_ACCESS_NI = 0, ///< not implemented
    ORGENAPI_ACCESS_NA = 1, ///< not available now
    ORGENAPI_ACCESS_WO = 2,
    ORGENAPI_ACCESS_RO = 3,
    ORGENAPI_ACCESS_RW = 4
};

/// The names of the features reachable from the description's Root category,
/// categories expanded in their order and left out themselves, each once, each
/// followed by a line feed; with the size protocol of ORGenApi_GetStringFeature.
/// 0x80000001 when the description has no Root category or no engine.
ORGENAPI_API int32_t ORGenApi_GetFeatureNames(ORHandle nodeMapOrProxy, char* destination,
                                              uint32_t* length);
/// The feature's access now (ORGENAPI_ACCESS_*): its availability and its
/// actual mode, which may depend on other features (a locked register, a
/// running acquisition). 0x80000002 for a name that is no feature.
ORGENAPI_API int32_t ORGenApi_GetFeatureAccess(ORHandle nodeMapOrProxy, const char* name,
                                               int32_t* access);

} // extern "C"
