#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

/// Describes an image's memory: planes, size, data type, and per plane a base
/// address with a VPA table (rotation lives only in the table).
class IImageVPA : public virtual IDisposableType {
public:
    virtual int32_t GetDimensions(int32_t* planes, int32_t* width, int32_t* height) = 0;
    virtual int32_t GetDataType(uint32_t plane, int32_t* dataType) = 0;
    virtual int32_t GetPlaneAddress(uint32_t plane, void** base, const VpaEntry** vpa) = 0;
    /// Six doubles: origin x, origin y, then the 2x2 matrix row by row.
    virtual int32_t GetCoordinateSystem(double* system) = 0;
    virtual int32_t SetCoordinateSystem(const double* system) = 0;
};

} // namespace ORV
