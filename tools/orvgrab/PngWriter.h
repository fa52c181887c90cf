#pragma once
// Writes a PngImage to a file with libpng.

#include "PngImage.h"

#include <string>

class PngWriter {
public:
    /// Throws ToolError when `path` cannot be replaced by a PNG: its directory is
    /// missing or not writable, or something other than a regular file (a device
    /// node, a directory, a pipe) is there. Called before a grab, so that a long
    /// run does not end in a refusal.
    static void CheckTarget(const std::string& path);
    /// Writes a temporary file next to `path` and renames it over `path`, so that
    /// what is there stays untouched unless the new PNG is complete; a link is
    /// followed and the file it names replaced. Throws ToolError with libpng's or
    /// the system's reason; only the temporary file is removed on failure.
    static void Write(const std::string& path, const PngImage& image);
};
