// SDK parameters of a channel's DMA: typed reads, writes with roll-back, and the
// applet's parameter list.
#include "board/DriverChannel.h"

#include "board/DriverBoard.h"

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
               Prefix() << '\t' << "error getting parameter: " << Text(Fg_LastErrorText(grabber)));
    return false;
}

bool CDriverChannel::SetParameter(int32_t id, uint32_t value) {
    Fg_Grabber* grabber = board_->Grabber();
    if (Fg_SetParameter(grabber, id, &value, dmaIndex_) == 0)
        return true;
    NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
               Prefix() << '\t' << "error setting parameter: " << Text(Fg_LastErrorText(grabber)));
    return false;
}

int32_t CDriverChannel::GetImageSize(uint32_t& width, uint32_t& height) {
    if (!GetParameter(FG_PARAM_WIDTH, width) || !GetParameter(FG_PARAM_HEIGHT, height))
        return ORV::E_FAIL;
    return 0;
}

int32_t CDriverChannel::SetImageSize(uint32_t& width, uint32_t& height, uint8_t& changed) {
    changed = 0;
    uint32_t oldWidth = 0;
    uint32_t oldHeight = 0;
    if (!GetParameter(FG_PARAM_WIDTH, oldWidth) || !GetParameter(FG_PARAM_HEIGHT, oldHeight))
        return ORV::E_FAIL;
    if (width == oldWidth && height == oldHeight)
        return 0;
    const int32_t result =
        WritePair(FG_PARAM_WIDTH, width, oldWidth, FG_PARAM_HEIGHT, height, oldHeight);
    if (result != 0)
        return result;
    changed = 1;
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
    if (!GetParameter(FG_PARAM_XOFFSET, x) || !GetParameter(FG_PARAM_YOFFSET, y))
        return ORV::E_FAIL;
    return 0;
}

int32_t CDriverChannel::SetImageOffset(uint32_t x, uint32_t y, uint8_t& changed) {
    changed = 0;
    uint32_t oldX = 0;
    uint32_t oldY = 0;
    if (!GetParameter(FG_PARAM_XOFFSET, oldX) || !GetParameter(FG_PARAM_YOFFSET, oldY))
        return ORV::E_FAIL;
    if (x == oldX && y == oldY)
        return 0;
    const int32_t result = WritePair(FG_PARAM_XOFFSET, x, oldX, FG_PARAM_YOFFSET, y, oldY);
    if (result == 0)
        changed = 1;
    return result;
}

int32_t CDriverChannel::WritePair(int32_t firstId, uint32_t first, uint32_t oldFirst,
                                  int32_t secondId, uint32_t second, uint32_t oldSecond) {
    if (SetParameter(firstId, first) && SetParameter(secondId, second))
        return 0;
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
