// Visibility of the simulator's symbols. Everything is hidden by default; SIM_EXPORT marks
// the SDK entry points, the control API and the few model classes that gbelib and
// siso_genicam.dll use from fglib5.
#pragma once

#define SIM_EXPORT __attribute__((visibility("default")))
