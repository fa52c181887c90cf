#pragma once
// Counts the calls of the global operator new (every form) in the whole process:
// every thread, and every shared library that binds to the executable's
// replacement. Link AllocationCounter.cpp into an executable built with
// ENABLE_EXPORTS, so that libraries loaded at run time bind to it too.

#include <cstdint>

class AllocationCounter {
public:
    /// Sets the count to 0 and counts from now on.
    static void Restart();
    /// Counts on from the current count.
    static void Resume();
    /// Stops counting; answers the count.
    static uint64_t Stop();
    static uint64_t Count();
};
