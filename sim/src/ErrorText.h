// Texts of the error codes of the three simulated libraries.
#pragma once

#include "SimExport.h"

namespace sim {

// Never null; unknown codes answer a generic text naming the library.
SIM_EXPORT const char* fgErrorText(int code);
SIM_EXPORT const char* gbeErrorText(int code);
SIM_EXPORT const char* sgcErrorText(int code);

} // namespace sim
