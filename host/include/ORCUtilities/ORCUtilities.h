#pragma once
// Utilities of the host imaging library (ORCUtilities).

#include <platform/Registry.h>

#include <cstdint>

#if defined(_WIN32)
// Exported by ordinal through the library's .def file.
#define ORCUTILITIES_API
#elif defined(ORCUTILITIES_BUILD)
#define ORCUTILITIES_API __attribute__((visibility("default")))
#else
#define ORCUTILITIES_API
#endif

extern "C" {

/// Ordinal 12: opens "Software\Orvento\Pictora\" + subKey under the local-machine
/// hive with the given access mask (0x20019 to read). 0 on success; the caller
/// closes the key with platform::registry::CloseKey.
ORCUTILITIES_API int32_t ORCUtilities_OpenProductKey(const char* subKey, uint32_t access,
                                                     platform::registry::KeyHandle* key,
                                                     void* reserved);

} // extern "C"
