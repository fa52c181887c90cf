#pragma once
// <windows.h> for the tests' Windows helpers, included first: lean, and without
// the min and max macros that would break the standard library's.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
