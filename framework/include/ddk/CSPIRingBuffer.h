#pragma once

#include <ORV/ORVTypes.h>
#include <ddk/CSPIBase.h>

#include <cstdint>

/// The ring of buffers of a channel. Answering 1 from BufferSequence tells the
/// framework to answer from its own record of delivered buffers.
class CSPIRingBuffer : public CSPIBase<CSPIRingBuffer> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t NumBuffers(CDDKBufferList* bufferList, uint32_t action, int32_t* count) = 0;
    virtual int32_t UnlockBuffer(CDDKBufferList* bufferList, int32_t index) = 0;
    virtual int32_t LockMode(CDDKBufferList* bufferList, uint32_t action, uint32_t* mode) = 0;
    virtual int32_t IsLocked(CDDKBufferList* bufferList, int32_t index, uint8_t* locked) = 0;
    virtual int32_t BufferDimensions(CDDKBufferList* bufferList, int32_t index, int32_t* planes,
                                     int32_t* width, int32_t* height) = 0;
    virtual int32_t BufferDataType(CDDKBufferList* bufferList, int32_t index, uint32_t plane,
                                   int32_t* dataType) = 0;
    virtual int32_t BufferPlane(CDDKBufferList* bufferList, int32_t index, uint32_t plane,
                                void** base, const ORV::VpaEntry** vpa) = 0;
    virtual int32_t BufferSequence(CDDKBufferList* bufferList, int32_t position,
                                   int32_t* index) = 0;
    virtual int32_t BufferInfo(CDDKBufferList* bufferList, int32_t index, int32_t type,
                               double* value) = 0;
};
