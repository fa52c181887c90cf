#pragma once

#include <ORV/ResultCodes.h>

#include <algorithm>
#include <cstdint>

/// The coordinate system a host keeps on an image object: six numbers, the
/// identity until the host sets others. Host thread only, like the image object.
class CCoordinateSystem {
public:
    int32_t Get(double* system) const {
        if (system == nullptr)
            return ORV::E_INVALIDARG;
        std::copy(values_, values_ + 6, system);
        return ORV::OK;
    }
    int32_t Set(const double* system) {
        if (system == nullptr)
            return ORV::E_INVALIDARG;
        std::copy(system, system + 6, values_);
        return ORV::OK;
    }

private:
    double values_[6] = {0, 0, 1, 0, 0, 1};
};
