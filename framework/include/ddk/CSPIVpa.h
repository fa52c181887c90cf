#pragma once

#include <ORV/ORVTypes.h>
#include <ddk/CSPIBase.h>

#include <cstdint>

/// Describes the current image of a buffer list for the image object.
class CSPIVpa : public CSPIBase<CSPIVpa> {
public:
    virtual int32_t ImageDimensions(CDDKBufferList* bufferList, int32_t* planes, int32_t* width,
                                    int32_t* height) = 0;
    virtual int32_t PlaneDataType(CDDKBufferList* bufferList, uint32_t plane,
                                  int32_t* dataType) = 0;
    virtual int32_t PlaneAddress(CDDKBufferList* bufferList, uint32_t plane, void** base,
                                 const ORV::VpaEntry** vpa) = 0;
};
