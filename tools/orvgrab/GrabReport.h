#pragma once
// The outcome of a grab run.

#include <cstdint>
#include <optional>

struct GrabReport {
    uint32_t images = 0;
    /// From the start of the acquisition to the last image.
    double seconds = 0.0;
    /// The driver's counters (IGrab2::GrabInfo) at the last image.
    double acquired = 0.0;
    double lost = 0.0;
    double lostLocked = 0.0;
    /// Device-control values of the last image; unset when the driver refused them.
    std::optional<uint32_t> incomplete;
    std::optional<int64_t> lastPicture;
    std::optional<uint32_t> lastTag;
    int32_t lastBuffer = -1;
    /// The run ended before its count because a stop was asked for.
    bool stopped = false;

    double FramesPerSecond() const { return seconds > 0.0 ? images / seconds : 0.0; }
};
