#pragma once
// Test control of the node-map library stand-in: injected failures of its entry
// points, so that a host or a test can see how a caller copes with a node-map
// library that refuses (the real library fails on exhausted memory or a broken
// installation, which a test cannot arrange). Not part of the product library.

#include <ORGenApi/ORGenApi.h>

#include <cstdint>

extern "C" {

/// The next `count` calls of the entry point named `function` answer `code` and do
/// nothing else; -1 for every call, 0 disarms. The entry points that build a node
/// map can fail: "ORGenApi_CreateNodeMap", "ORGenApi_LoadDescription",
/// "ORGenApi_AttachPort" and "ORGenApi_CreateProxy" (whose outputs are set to null
/// as on any failure). Answers 0, or 0x80000002 for any other name.
ORGENAPI_API int32_t ORGenApiCtl_FailCall(const char* function, int32_t code, int32_t count);
/// Disarms every injected failure.
ORGENAPI_API void ORGenApiCtl_ClearFaults(void);

} // extern "C"
