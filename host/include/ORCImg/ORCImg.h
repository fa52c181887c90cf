#pragma once
// Image core of the host imaging library (ORCImg).

#include <ORV/ORVTypes.h>

#if defined(_WIN32)
// Exported by ordinal through the library's .def file.
#define ORCIMG_API
#elif defined(ORCIMG_BUILD)
#define ORCIMG_API __attribute__((visibility("default")))
#else
#define ORCIMG_API
#endif

extern "C" {

/// Ordinal 80: adds a reference to a host object.
ORCIMG_API void ORCImg_ShareObject(ORHandle handle);

/// Ordinal 82: releases the reference held in *handle and clears it.
ORCIMG_API void ORCImg_ReleaseObject(ORHandle* handle);

} // extern "C"
