#pragma once
// Writes a PngImage to a file with libpng.

#include "PngImage.h"

#include <string>

class PngWriter {
public:
    /// Replaces `path`; throws ToolError with libpng's or the system's reason.
    static void Write(const std::string& path, const PngImage& image);
};
