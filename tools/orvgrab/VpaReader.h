#pragma once
// Copies an image out of its VPA description: byte of plane p at (x, y) =
// plane base(p) + table[x].x + table[y].y, so rotation and plane order come out
// as the driver describes them.

#include "PngImage.h"

#include <ORV/IImageVPA.h>

class VpaReader {
public:
    /// One plane gives a gray image, three an RGB one (plane 0 red). Samples of up
    /// to 8 bits give 8-bit samples, wider ones (read little-endian, 2 bytes up to
    /// 16 bits, 4 up to 32) 16-bit samples; smaller depths are scaled to the full
    /// range and recorded as significant bits. Throws ToolError for what PNG cannot
    /// show (2 or 4+ planes, more than 32 bits).
    static PngImage Read(ORV::IImageVPA& image);
};
