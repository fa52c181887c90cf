#pragma once
// What a grab run does besides waiting for images.

#include "GrabReport.h"

#include <ORV/IImageVPA.h>

#include <cstdint>
#include <functional>

struct GrabPlan {
    /// Images to wait for; 0: until `stopRequested` answers true.
    uint32_t count = 10;
    /// Asked after every image; true ends the run early (its report says so).
    std::function<bool()> stopRequested;
    /// Called about once a second with the counts so far.
    std::function<void(const GrabReport&)> everySecond;
    /// Each image as it arrives; the description is valid until the next wait.
    std::function<void(ORV::IImageVPA&, const GrabReport&)> onImage;
    /// Trigger each image through ISoftwareTrigger instead of waiting for the DMA.
    bool softwareTrigger = false;
    /// Triggers per second; 0: the next trigger as soon as the previous image came.
    double triggerRate = 0.0;
};
