#pragma once

#include <atomic>
#include <cstdint>

class CDDKBufferList;

/// The buffer list of one image object (opaque to the framework), shared by the
/// image objects that describe it and counted by them.
struct CImageInstanceDataWrapper {
    CDDKBufferList* bufferList = nullptr;
    std::atomic<int32_t> referenceCount{0};
    /// Set by GrabStart, cleared by GrabStop.
    std::atomic<int32_t> acquiring{0};
};
