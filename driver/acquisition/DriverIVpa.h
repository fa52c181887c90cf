#pragma once

#include <ddk/CSPIVpa.h>

#include <atomic>
#include <cstdint>

class CDriverChannel;

/// Describes the current image of a buffer list (the buffer of the last
/// delivered image, buffer 0 before any) to the image object: dimensions, data
/// type, plane address and VPA table.
///
/// Threads: any host thread. The plane-order flag, copied by ImageDimensions and
/// used by PlaneAddress, is an atomic; everything else is read from the channel
/// and the buffer list.
class CDriverIVpa : public CSPIVpa {
public:
    explicit CDriverIVpa(CDriverChannel& channel);

    int32_t ImageDimensions(CDDKBufferList* bufferList, int32_t* planes, int32_t* width,
                            int32_t* height) override;
    int32_t PlaneDataType(CDDKBufferList* bufferList, uint32_t plane, int32_t* dataType) override;
    int32_t PlaneAddress(CDDKBufferList* bufferList, uint32_t plane, void** base,
                         const ORV::VpaEntry** vpa) override;

private:
    CDriverChannel* channel_;
    std::atomic<bool> planesInverted_{false};
};
