#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIDeviceCtrl : public CSPIBase<CSPIDeviceCtrl> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t TextCommand(CDDKBufferList* bufferList, uint32_t command, const char* input,
                                uint64_t inputLength, char* output, uint64_t* outputSize) = 0;
    virtual int32_t RawCommand(CDDKBufferList* bufferList, uint32_t command, const void* input,
                               uint64_t inputSize, void* output, uint64_t* outputSize) = 0;
};
