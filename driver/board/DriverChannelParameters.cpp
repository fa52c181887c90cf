// SDK parameters of a channel's DMA: typed reads, writes with roll-back, and the
// applet's parameter list.
#include "board/DriverChannel.h"

#include "board/DriverBoard.h"
#include "sdk/SdkErrorText.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <cstdio>

namespace {

const char* const parameterListHeader =
    "ORV Silicon Software ME-series, Parameter ID List\r\n\r\n"
    "Function and Type depend on Applet Design.\r\n"
    "Most of these values will be supported by the NodeMap/GenApi interface.\r\n"
    "Please use the Nodemap/GenApi-Interface.\r\n\r\n"
    "ID \t ParameterName\r\n\r\n";

const char* Text(const char* text) {
    return text != nullptr ? text : "";
}

} // namespace

bool CDriverChannel::GetParameter(int32_t id, uint32_t& value) {
    Fg_Grabber* grabber = board_->Grabber();
    if (Fg_GetParameterTyped(grabber, id, &value, dmaIndex_, FG_TYPE_UINT32) == 0)
        return true;
    NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
               Prefix() << '\t' << "error getting parameter: " << FgLastErrorText(grabber));
    return false;
}

bool CDriverChannel::SetParameter(int32_t id, uint32_t value) {
    Fg_Grabber* grabber = board_->Grabber();
    if (Fg_SetParameter(grabber, id, &value, dmaIndex_) == 0)
        return true;
    NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
               Prefix() << '\t' << "error setting parameter: " << FgLastErrorText(grabber));
    return false;
}

int32_t CDriverChannel::GetImageSize(uint32_t& width, uint32_t& height) {
    return ReadPair(FG_PARAM_WIDTH, width, FG_PARAM_HEIGHT, height);
}

int32_t CDriverChannel::SetImageSize(uint32_t& width, uint32_t& height, uint8_t& changed) {
    const int32_t result = ChangePair(FG_PARAM_WIDTH, width, FG_PARAM_HEIGHT, height, changed);
    if (result != 0 || changed == 0)
        return result;
    // The applet may round the size; what it took is what the buffers must hold.
    uint32_t actualWidth = width;
    uint32_t actualHeight = height;
    if (GetImageSize(actualWidth, actualHeight) == 0) {
        width = actualWidth;
        height = actualHeight;
    }
    width_ = width;
    height_ = height;
    return 0;
}

int32_t CDriverChannel::GetImageOffset(uint32_t& x, uint32_t& y) {
    return ReadPair(FG_PARAM_XOFFSET, x, FG_PARAM_YOFFSET, y);
}

int32_t CDriverChannel::SetImageOffset(uint32_t x, uint32_t y, uint8_t& changed) {
    return ChangePair(FG_PARAM_XOFFSET, x, FG_PARAM_YOFFSET, y, changed);
}

int32_t CDriverChannel::ReadPair(int32_t firstId, uint32_t& first, int32_t secondId,
                                 uint32_t& second) {
    if (!GetParameter(firstId, first) || !GetParameter(secondId, second))
        return ORV::E_FAIL;
    return 0;
}

int32_t CDriverChannel::ChangePair(int32_t firstId, uint32_t first, int32_t secondId,
                                   uint32_t second, uint8_t& changed) {
    changed = 0;
    uint32_t oldFirst = 0;
    uint32_t oldSecond = 0;
    if (ReadPair(firstId, oldFirst, secondId, oldSecond) != 0)
        return ORV::E_FAIL;
    if (first == oldFirst && second == oldSecond)
        return 0;
    if (SetParameter(firstId, first) && SetParameter(secondId, second)) {
        changed = 1;
        return 0;
    }
    // Put the DMA back as it was; a failing roll-back leaves only its warnings.
    SetParameter(firstId, oldFirst);
    SetParameter(secondId, oldSecond);
    return ORV::E_FAIL;
}

void CDriverChannel::GetParameterIdList(std::string& text) {
    Fg_Grabber* grabber = board_->Grabber();
    text = parameterListHeader;
    const int count = Fg_ParameterCount(grabber);
    for (int i = 0; i < count; ++i) {
        char line[4096];
        std::snprintf(line, sizeof line, "%d \t %s\r\n", Fg_ParameterIdAt(grabber, i),
                      Text(Fg_ParameterNameAt(grabber, i)));
        text += line;
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "\n" << text);
}
