#pragma once
// Where a host pixel comes from on the sensor: the expected answer for every
// test that checks the driver's rotation, written once and independently of the
// driver's layout code.

#include <cstdint>
#include <type_traits>
#include <utility>

namespace orvtest {

/// The source (sensor) position (column, row) that host pixel (x, y) shows for
/// rotation code `rotation` of a `w` x `h` DMA image (0 none, 1 by 90 degrees,
/// 2 by 180, 3 by 270; other codes leave the image as it is).
template <class T>
std::pair<T, T> RotatedSource(uint32_t rotation, T x, T y, typename std::common_type<T>::type w,
                              typename std::common_type<T>::type h) {
    switch (rotation) {
    case 1:
        return {y, h - 1 - x};
    case 2:
        return {w - 1 - x, h - 1 - y};
    case 3:
        return {w - 1 - y, x};
    default:
        return {x, y};
    }
}

} // namespace orvtest
