// Visibility of the simulator's symbols. Everything is hidden by default; SIM_EXPORT marks
// the SDK entry points, the control API and the few model classes that gbelib and
// siso_genicam.dll use from fglib5. On Windows a DLL exports what is marked dllexport;
// the model classes marked so in gbelib and siso_genicam.dll are found in fglib5's
// import library.
#pragma once

#if defined(_WIN32)
#define SIM_EXPORT __declspec(dllexport)
#else
#define SIM_EXPORT __attribute__((visibility("default")))
#endif
