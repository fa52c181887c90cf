#include "support/ScopedCapture.h"

#include "support/CapturingTarget.h"

#include <nwLogging/Logger.h>

ScopedCapture::ScopedCapture(uint32_t levelMask)
    : target_(std::make_shared<CapturingTarget>()), savedTargets_(nwLogging::installed_targets()),
      savedMask_(nwLogging::root_logger()->state()->level_mask()) {
    // The saved copies keep the previous targets alive while they are out.
    nwLogging::release_targets();
    nwLogging::install_target(nullptr, target_);
    nwLogging::root_logger()->state()->set_level_mask(levelMask);
}

ScopedCapture::~ScopedCapture() {
    nwLogging::release_targets();
    for (nwLogging::target_entry& entry : savedTargets_)
        nwLogging::install_target(std::move(entry.first), std::move(entry.second));
    nwLogging::root_logger()->state()->set_level_mask(savedMask_);
}
