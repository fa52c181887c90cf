#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPIBufferContainer.h>

#include <nwLogging/Logger.h>

#include <cstdint>

class CDriverChannel;

/// Creates the buffer list of each image object of one channel and destroys it
/// again. Destroying a list whose acquisition still runs stops it first, so the
/// SDK never writes into released memory.
///
/// Threads: no state and no lock of its own; the framework calls it from the
/// host thread that creates or releases an image.
class CDriverIBufferContainer : public CSPIBufferContainer {
public:
    explicit CDriverIBufferContainer(CDriverChannel& channel);

    /// Writes a new list the caller owns; 0x80000005 when it cannot be made.
    int32_t AllocateBufferList(CDDKBufferList** bufferList) override;
    /// Destroys the list (the pointer is left as it is); 0x80000005 when a
    /// running acquisition could not be stopped cleanly (the list is gone anyway).
    int32_t FreeBufferList(CDDKBufferList*& bufferList, int32_t flags, void* reserved) override;

private:
    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};
