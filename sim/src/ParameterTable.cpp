#include "ParameterTable.h"

#include "PatternGenerator.h"
#include "simctl/SimControl.h"
#include <FgTypeWidth.h>
#include <fglib5.h>

#include <cmath>
#include <cstring>

namespace sim {

namespace {

const std::vector<ParameterInfo> parameters = {
    {FG_PARAM_WIDTH, "FG_WIDTH", FG_TYPE_UINT32, ParameterAccess::RW, "Image width in pixels"},
    {FG_PARAM_HEIGHT, "FG_HEIGHT", FG_TYPE_UINT32, ParameterAccess::RW, "Image height in lines"},
    {FG_PARAM_XOFFSET, "FG_XOFFSET", FG_TYPE_UINT32, ParameterAccess::RW,
     "Horizontal offset of the image in the sensor"},
    {FG_PARAM_YOFFSET, "FG_YOFFSET", FG_TYPE_UINT32, ParameterAccess::RW,
     "Vertical offset of the image in the sensor"},
    {SIM_PARAM_TIMEOUT, "FG_TIMEOUT", FG_TYPE_UINT32, ParameterAccess::RW,
     "DMA time-out in seconds"},
    {FG_PARAM_FORMAT, "FG_FORMAT", FG_TYPE_UINT32, ParameterAccess::RW, "Pixel format code"},
    {FG_PARAM_PIXELDEPTH, "FG_PIXELDEPTH", FG_TYPE_UINT32, ParameterAccess::RW,
     "Bits per colour component"},
    {SIM_PARAM_MAXWIDTH, "FG_MAXWIDTH", FG_TYPE_UINT32, ParameterAccess::RO, "Largest image width"},
    {SIM_PARAM_MAXHEIGHT, "FG_MAXHEIGHT", FG_TYPE_UINT32, ParameterAccess::RO,
     "Largest image height"},
    {SIM_PARAM_FRAMERATE, "FG_FRAMERATE", FG_TYPE_DOUBLE, ParameterAccess::RW,
     "Frames per second, 0 free-running"},
    {SIM_PARAM_TRIGGERMODE, "FG_TRIGGERMODE", FG_TYPE_UINT32, ParameterAccess::RW,
     "0 free-running, 1 software trigger"},
    {SIM_PARAM_SENDSOFTWARETRIGGER, "FG_SENDSOFTWARETRIGGER", FG_TYPE_UINT32, ParameterAccess::WO,
     "Write 1 to trigger one frame"},
    {SIM_PARAM_TESTPATTERN, "FG_TESTPATTERN", FG_TYPE_UINT32, ParameterAccess::RW,
     "0 moving, 1 ramp, 2 constant, 3 checker, 4 counter"},
    {SIM_PARAM_PATTERN_OFFSET, "FG_PATTERN_OFFSET", FG_TYPE_INT32, ParameterAccess::RW,
     "Added to every pattern byte"},
    {SIM_PARAM_SHORT_TRANSFER, "FG_SHORT_TRANSFER", FG_TYPE_UINT64, ParameterAccess::RW,
     "Bytes per transfer, 0 the whole image"},
    {SIM_PARAM_IMAGE_COUNTER, "FG_IMAGE_COUNTER", FG_TYPE_INT64, ParameterAccess::RO,
     "Images delivered since the board was opened"},
};

template <typename T> T Load(const void* value) {
    T out;
    std::memcpy(&out, value, sizeof(T));
    return out;
}

template <typename T> void Store(void* value, T in) {
    std::memcpy(value, &in, sizeof(T));
}

} // namespace

const std::vector<ParameterInfo>& ParameterTable::All() {
    return parameters;
}

const ParameterInfo* ParameterTable::Find(int id) {
    for (const ParameterInfo& info : parameters) {
        if (info.id == id) {
            return &info;
        }
    }
    return nullptr;
}

std::size_t ParameterTable::ValueSize(int type) {
    return static_cast<std::size_t>(SdkTypeWidth(type));
}

int ParameterTable::CheckType(const ParameterInfo& info, int requested) {
    if (requested == 0 || requested == info.type) {
        return FG_OK;
    }
    if (requested == FG_TYPE_VALUE8 && ValueSize(info.type) == 8) {
        return FG_OK;
    }
    return FG_ERR_WRONG_TYPE;
}

void ParameterTable::Read(const DmaConfig& config, const ParameterInfo& info, void* value) {
    switch (info.id) {
    case FG_PARAM_WIDTH:
        return Store(value, config.width);
    case FG_PARAM_HEIGHT:
        return Store(value, config.height);
    case FG_PARAM_XOFFSET:
        return Store(value, config.xoffset);
    case FG_PARAM_YOFFSET:
        return Store(value, config.yoffset);
    case SIM_PARAM_TIMEOUT:
        return Store(value, config.timeout);
    case FG_PARAM_FORMAT:
        return Store(value, config.format);
    case FG_PARAM_PIXELDEPTH:
        return Store(value, config.pixelDepth);
    case SIM_PARAM_MAXWIDTH:
        return Store(value, config.maxWidth);
    case SIM_PARAM_MAXHEIGHT:
        return Store(value, config.maxHeight);
    case SIM_PARAM_FRAMERATE:
        return Store(value, config.frameRate);
    case SIM_PARAM_TRIGGERMODE:
        return Store(value, config.triggerMode);
    case SIM_PARAM_TESTPATTERN:
        return Store(value, config.pattern);
    case SIM_PARAM_PATTERN_OFFSET:
        return Store(value, config.patternOffset);
    case SIM_PARAM_SHORT_TRANSFER:
        return Store(value, config.shortTransfer);
    default:
        return;
    }
}

int ParameterTable::Write(DmaConfig& config, const ParameterInfo& info, const void* value) {
    switch (info.id) {
    case FG_PARAM_WIDTH:
    case FG_PARAM_HEIGHT: {
        const auto v = Load<std::uint32_t>(value);
        const bool width = info.id == FG_PARAM_WIDTH;
        if (v == 0 || v > (width ? config.maxWidth : config.maxHeight)) {
            return FG_ERR_INVALID_VALUE;
        }
        (width ? config.width : config.height) = v;
        return FG_OK;
    }
    case FG_PARAM_XOFFSET:
    case FG_PARAM_YOFFSET: {
        const auto v = Load<std::uint32_t>(value);
        const bool x = info.id == FG_PARAM_XOFFSET;
        if (v >= (x ? config.maxWidth : config.maxHeight)) {
            return FG_ERR_INVALID_VALUE;
        }
        (x ? config.xoffset : config.yoffset) = v;
        return FG_OK;
    }
    case SIM_PARAM_TIMEOUT:
        config.timeout = Load<std::uint32_t>(value);
        return FG_OK;
    case FG_PARAM_FORMAT:
        config.format = Load<std::uint32_t>(value);
        return FG_OK;
    case FG_PARAM_PIXELDEPTH: {
        const auto v = Load<std::uint32_t>(value);
        if (v == 0 || v > 64) {
            return FG_ERR_INVALID_VALUE;
        }
        config.pixelDepth = v;
        return FG_OK;
    }
    case SIM_PARAM_FRAMERATE: {
        const auto v = Load<double>(value);
        if (!std::isfinite(v) || v < 0.0 || v > 1e6) {
            return FG_ERR_INVALID_VALUE;
        }
        config.frameRate = v;
        return FG_OK;
    }
    case SIM_PARAM_TRIGGERMODE: {
        const auto v = Load<std::uint32_t>(value);
        if (v > SIM_TRIGGER_SOFTWARE) {
            return FG_ERR_INVALID_VALUE;
        }
        config.triggerMode = v;
        return FG_OK;
    }
    case SIM_PARAM_TESTPATTERN: {
        const auto v = Load<std::uint32_t>(value);
        if (v >= PatternGenerator::PatternCount) {
            return FG_ERR_INVALID_VALUE;
        }
        config.pattern = v;
        return FG_OK;
    }
    case SIM_PARAM_PATTERN_OFFSET:
        config.patternOffset = Load<std::int32_t>(value);
        return FG_OK;
    case SIM_PARAM_SHORT_TRANSFER:
        config.shortTransfer = Load<std::uint64_t>(value);
        return FG_OK;
    default:
        return FG_ERR_ACCESS_DENIED;
    }
}

} // namespace sim
