#pragma once
// The Win32 and Winsock declarations, for the win32 sources only, included before
// anything else. <windows.h> names functions through macros (LoadLibrary,
// SetConsoleTitle, ...) that would rename ours of the same name, so they go.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#undef LoadLibrary
#undef SetConsoleTitle
