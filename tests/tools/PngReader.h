#pragma once
// Reads a PNG back exactly as stored (no gamma, no expansion), with libpng.

#include "PngImage.h"

#include <string>

namespace toolstest {

/// Throws std::runtime_error when the file is not a PNG libpng can read.
PngImage ReadPng(const std::string& path);

} // namespace toolstest
