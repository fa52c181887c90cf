# Cross build for 64-bit Windows with Debian's MinGW-w64 and Wine.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DORV_WINDOWS_SYSROOT=DIR
# DIR is the folder scripts/setup-windows.sh prints: Boost, libpng, libxml2 and
# GoogleTest built for Windows. Programs link statically, so no MinGW run-time DLL
# has to travel with them; tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORV_MINGW_TRIPLET x86_64-w64-mingw32)

# The posix thread model: the default win32 one of GCC 12 has no std::mutex or std::thread.
set(CMAKE_C_COMPILER ${ORV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORV_MINGW_TRIPLET}-windres)

if(NOT ORV_WINDOWS_SYSROOT AND DEFINED ENV{ORV_WINDOWS_SYSROOT})
  set(ORV_WINDOWS_SYSROOT "$ENV{ORV_WINDOWS_SYSROOT}")
endif()
if(NOT ORV_WINDOWS_SYSROOT)
  message(FATAL_ERROR "ORV_WINDOWS_SYSROOT is not set: run scripts/setup-windows.sh")
endif()
# try_compile projects read this file again and must see the same folder.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORV_WINDOWS_SYSROOT)

set(CMAKE_FIND_ROOT_PATH ${ORV_WINDOWS_SYSROOT} /usr/${ORV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The sysroot holds static archives only.
set(Boost_USE_STATIC_LIBS ON)
set(Boost_NO_BOOST_CMAKE ON)
set(BOOST_ROOT ${ORV_WINDOWS_SYSROOT})
set(CMAKE_FIND_PACKAGE_PREFER_CONFIG ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

find_program(ORV_WINE wine REQUIRED)
# Wine's own services must be running before CTest starts a program with its
# output on a pipe (scripts/windows.sh starts them): a program that starts them
# hands them the pipe, and CTest then waits for its end as long as they live.
# Without address-space randomisation: with it, a Wine process now and then fails
# to start ("failed to map the shared user data"), when the kernel has put something
# where Windows keeps that page.
find_program(ORV_SETARCH setarch)
if(ORV_SETARCH)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORV_SETARCH} x86_64 -R ${ORV_WINE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORV_WINE})
endif()
# Test programs are listed when the tests run, under the run's own Wine prefix,
# not while building.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
