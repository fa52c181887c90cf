#pragma once

#include <ddk/CDDKHolder.h>
#include <ddk/CImageInstanceDataWrapper.h>

/// Holds the buffer-container provider and creates and frees the buffer lists of
/// image objects through it.
class CDDKBufferContainer : public CDDKHolder<CSPIBufferContainer> {
public:
    /// Counts one more user of `wrapper`; creates it and its buffer list when it
    /// does not exist. Answers the provider's result (negative on failure, and
    /// `wrapper` stays empty).
    int32_t Attach(CImageInstanceDataWrapper*& wrapper);
    /// Counts one user less; the last one frees the buffer list and the wrapper.
    int32_t Detach(CImageInstanceDataWrapper*& wrapper, int32_t flags, void* reserved);
};
