// Texts of the error codes of the three simulated libraries.
#pragma once

#include "SimExport.h"

namespace sim {

// Never null; unknown codes answer a generic text naming the library.
SIM_EXPORT const char* FgErrorText(int code);
SIM_EXPORT const char* GbeErrorText(int code);
SIM_EXPORT const char* SgcErrorText(int code);

} // namespace sim
