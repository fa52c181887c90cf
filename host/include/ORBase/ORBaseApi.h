#pragma once
// Base runtime of the host imaging library (ORBase_v1_2): shared blocks holding
// one object each, with strong and weak counts, an optional base object and an
// interface container. All functions are exception-free C functions; the C++
// helpers in ORBase.h turn their failure codes into orvBase exceptions.

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
// Exported by ordinal through the library's .def file.
#define ORBASE_API
#elif defined(ORBASE_BUILD)
#define ORBASE_API __attribute__((visibility("default")))
#else
#define ORBASE_API
#endif

extern "C" {

typedef uint32_t ORTypeKey;

/// Query key meaning "the block's own object, whatever its type".
#define ORBASE_OWN_OBJECT ((ORTypeKey)1)

/// Result for a null handle or a null argument.
#define ORBASE_E_POINTER ((int32_t)0x80004003)

/// Ordinal 20: a type key for a type name; the same name always gives the same key.
/// Keys start at 2; 0 for a null or empty name.
ORBASE_API ORTypeKey ORBase_RegisterTypeKey(const char* typeName);

/// Ordinal 23: allocates a block with `size` bytes of object storage (one strong
/// reference). Null when the allocation fails. The caller constructs its object in
/// the storage, then announces it with ORBase_SetObject; when construction fails it
/// releases the handle.
ORBASE_API ORHandle ORBase_Allocate(size_t size, void** storage);

/// Ordinal 21: announces the object constructed in the block's storage and its type key. The
/// block runs the object's destructor (never Dispose) when the last strong
/// reference goes. Negative when the handle is null or an object is already set.
ORBASE_API int32_t ORBase_SetObject(ORHandle handle, ORV::IDisposableType* object,
                                    ORTypeKey typeKey);

/// Ordinal 24 / 26: add / release a strong reference. Releasing the last strong
/// reference destroys the object, disposes the interface tables and drops the
/// base object; the block itself goes with the last weak reference.
ORBASE_API void ORBase_AddRef(ORHandle handle);
ORBASE_API void ORBase_Release(ORHandle handle);

/// Ordinal 25: turns a weak reference into a new strong one. Negative when the
/// object has expired; otherwise the caller owns one more strong reference.
ORBASE_API int32_t ORBase_PromoteWeak(ORHandle handle);

/// Ordinal 27 / 28: add / release a weak reference.
ORBASE_API void ORBase_AddWeak(ORHandle handle);
ORBASE_API void ORBase_ReleaseWeak(ORHandle handle);

/// Ordinal 29: the block's object when its type key matches (or for
/// ORBASE_OWN_OBJECT). The pointer written is the ORV::IDisposableType* given to
/// ORBase_SetObject. Negative when absent or expired.
ORBASE_API int32_t ORBase_QueryObject(ORHandle handle, ORTypeKey typeKey, void** object);

/// Ordinal 30: adds an interface table to the block's container; the container
/// owns it and disposes it with the block's object. 0x80000002 when a table of the
/// same class is already present, 0x80000005 when out of memory, other negative
/// values for a null handle or table.
ORBASE_API int32_t ORBase_AddInterface(ORHandle handle, ORV::IDisposableType* table);

/// Number of tables in the container, and the table at a position (null outside).
ORBASE_API uint32_t ORBase_InterfaceCount(ORHandle handle);
ORBASE_API ORV::IDisposableType* ORBase_InterfaceAt(ORHandle handle, uint32_t index);

/// Ordinal 32: makes `base` the base object of `derived`. The link is weak: it
/// never keeps the base alive. 0x8000002B when `derived` already has a base.
ORBASE_API int32_t ORBase_SetBase(ORHandle derived, ORHandle base);

/// The base object of `derived` as a new strong reference; negative when there is
/// none or it has expired.
ORBASE_API int32_t ORBase_GetBase(ORHandle derived, ORHandle* base);

/// Current strong count (diagnostics and tests).
ORBASE_API uint32_t ORBase_StrongCount(ORHandle handle);

/// Number of blocks not yet expired (still strongly referenced, their objects
/// alive), process-wide (leak checks in tests).
ORBASE_API uint32_t ORBase_LiveObjectCount(void);

/// Number of blocks whose memory is still allocated (strong or weak references
/// left), process-wide.
ORBASE_API uint32_t ORBase_AllocatedBlockCount(void);

} // extern "C"
