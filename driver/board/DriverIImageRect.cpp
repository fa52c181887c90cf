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
    case 0:
        return Current(&CDriverChannel::GetImageSize, width, height, changed);
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
        return Unsupported("size", action);
    }
}

int32_t CDriverIImageRect::Offset(uint32_t action, int32_t* x, int32_t* y, uint8_t* changed) {
    switch (action) {
    case 0:
        return Current(&CDriverChannel::GetImageOffset, x, y, changed);
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
        return Unsupported("offset", action);
    }
}

int32_t CDriverIImageRect::Current(int32_t (CDriverChannel::*get)(uint32_t&, uint32_t&),
                                   int32_t* first, int32_t* second, uint8_t* changed) {
    if (first == nullptr || second == nullptr || changed == nullptr)
        return ORV::E_INVALIDARG;
    *changed = 0;
    uint32_t currentFirst = 0;
    uint32_t currentSecond = 0;
    const int32_t result = (channel_->*get)(currentFirst, currentSecond);
    if (result != ORV::OK)
        return result;
    *first = static_cast<int32_t>(currentFirst);
    *second = static_cast<int32_t>(currentSecond);
    return ORV::OK;
}

int32_t CDriverIImageRect::Unsupported(const char* what, uint32_t action) {
    NWLOG_HERE(log_, nwLogging::level_err, "DriverIImageRect",
               channel_->Prefix() << "\tImageRect: "
                                  << "invalid or unsupported action for " << what << ": "
                                  << action);
    return ORV::E_INVALIDARG;
}
