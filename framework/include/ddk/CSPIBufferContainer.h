#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Creates and destroys the per-image buffer list the other providers receive.
class CSPIBufferContainer : public CSPIBase<CSPIBufferContainer> {
public:
    /// Writes a new buffer list the caller owns; negative on failure.
    virtual int32_t AllocateBufferList(CDDKBufferList** bufferList) = 0;
    /// Destroys the list `bufferList` points to (the pointer is not cleared).
    virtual int32_t FreeBufferList(CDDKBufferList*& bufferList, int32_t flags, void* reserved) = 0;
};
