#include "board/DriverIImageRect.h"

#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

CDriverIImageRect::CDriverIImageRect(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverIImageRect", "ImageRect: ", catchingEveryException) {}

bool CDriverIImageRect::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverIImageRect::ImageSize(uint32_t action, int32_t* width, int32_t* height,
                                     uint8_t* changed) {
    return guard_.Run([&] { return Size(action, width, height, changed); });
}

int32_t CDriverIImageRect::ImageOffset(uint32_t action, int32_t* x, int32_t* y, uint8_t* changed) {
    return guard_.Run([&] { return Offset(action, x, y, changed); });
}

int32_t CDriverIImageRect::Size(uint32_t action, int32_t* width, int32_t* height,
                                uint8_t* changed) {
    switch (action) {
    case 0: {
        if (width == nullptr || height == nullptr || changed == nullptr)
            return ORV::E_INVALIDARG;
        *changed = 0;
        uint32_t currentWidth = 0;
        uint32_t currentHeight = 0;
        const int32_t result = channel_->GetImageSize(currentWidth, currentHeight);
        if (result != ORV::OK)
            return result;
        *width = static_cast<int32_t>(currentWidth);
        *height = static_cast<int32_t>(currentHeight);
        return ORV::OK;
    }
    case 1:
    case 3: {
        if (width == nullptr || height == nullptr || changed == nullptr)
            return ORV::E_INVALIDARG;
        uint32_t newWidth = static_cast<uint32_t>(*width);
        uint32_t newHeight = static_cast<uint32_t>(*height);
        uint8_t written = 0;
        const int32_t result = channel_->SetImageSize(newWidth, newHeight, written);
        *changed = written;
        if (result == ORV::OK && written != 0) {
            *width = static_cast<int32_t>(newWidth);
            *height = static_cast<int32_t>(newHeight);
        }
        return result;
    }
    case 2:
        return ORV::E_NOTSUPPORTED;
    default:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIImageRect",
                   channel_->Prefix() << "\tImageRect: "
                                      << "invalid or unsupported action for size: " << action);
        return ORV::E_INVALIDARG;
    }
}

int32_t CDriverIImageRect::Offset(uint32_t action, int32_t* x, int32_t* y, uint8_t* changed) {
    switch (action) {
    case 0: {
        if (x == nullptr || y == nullptr || changed == nullptr)
            return ORV::E_INVALIDARG;
        *changed = 0;
        uint32_t currentX = 0;
        uint32_t currentY = 0;
        const int32_t result = channel_->GetImageOffset(currentX, currentY);
        if (result != ORV::OK)
            return result;
        *x = static_cast<int32_t>(currentX);
        *y = static_cast<int32_t>(currentY);
        return ORV::OK;
    }
    case 3: {
        if (x == nullptr || y == nullptr || changed == nullptr)
            return ORV::E_INVALIDARG;
        uint8_t written = 0;
        const int32_t result =
            channel_->SetImageOffset(static_cast<uint32_t>(*x), static_cast<uint32_t>(*y), written);
        *changed = written;
        return result;
    }
    case 2:
        return ORV::E_NOTSUPPORTED;
    default:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIImageRect",
                   channel_->Prefix() << "\tImageRect: "
                                      << "invalid or unsupported action for offset: " << action);
        return ORV::E_INVALIDARG;
    }
}
