// Geometry, pixel format, pixel depth and buffer settings of a channel.
#include "board/DriverChannel.h"

#include "board/BoardInformation.h"
#include "board/DriverBoard.h"
#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

#include <limits>

namespace {

constexpr uint32_t DefaultDimension = 16;

} // namespace

void CDriverChannel::ReadGeometry() {
    if (!GetParameter(FG_PARAM_WIDTH, width_)) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t' << "Unable to get reasonable DMA width, reseting default");
        width_ = DefaultDimension;
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "DMA width = " << width_);
    if (!GetParameter(FG_PARAM_HEIGHT, height_)) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t' << "Unable to get reasonable DMA height, reseting default");
        height_ = DefaultDimension;
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "DMA height = " << height_);
}

void CDriverChannel::ReadPixelFormat() {
    uint32_t code = 0;
    if (!GetParameter(FG_PARAM_FORMAT, code)) {
        // The gray8 layout set at construction stays: one plane, one byte.
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Unable to get format");
        return;
    }
    ApplyFormatRow(code);
    pixelDepth_ = formatBits_;
    ReadPixelDepth();
}

void CDriverChannel::ApplyFormatRow(uint32_t code) {
    auto set = [this](uint32_t planes, uint32_t bits, uint32_t sample, uint32_t pixel) {
        planes_ = planes;
        formatBits_ = bits;
        bytesPerSample_ = sample;
        bytesPerPixel_ = pixel;
    };
    auto found = [this](const char* name) {
        NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Found format:  " << name);
    };
    switch (code) {
    case FG_FORMAT_GRAY8:
        found("gray8");
        set(1, 8, 1, 1);
        break;
    case FG_FORMAT_BINARY:
        found("binary");
        set(1, 1, 1, 1);
        break;
    case FG_FORMAT_GRAY10:
        found("gray10");
        set(1, 10, 2, 2);
        break;
    case FG_FORMAT_GRAY12:
        found("gray12");
        set(1, 12, 2, 2);
        break;
    case FG_FORMAT_GRAY16:
        found("gray16");
        set(1, 16, 2, 2);
        break;
    case FG_FORMAT_GRAY32:
        found("gray32");
        set(1, 32, 4, 4);
        break;
    case FG_FORMAT_COLOR24:
        found("color24");
        set(3, 8, 1, 3);
        break;
    case FG_FORMAT_COLOR32:
        // Presented as one plane with four bytes per pixel.
        found("color32");
        set(1, 8, 1, 4);
        break;
    case FG_FORMAT_COL30:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t'
                            << "Found format:  col30, unsupported by ORV. Buffer will be "
                               "sufficient to hold 16 bit");
        set(3, 10, 1, 2);
        break;
    case FG_FORMAT_COLOR48:
        found("color48");
        set(3, 16, 2, 6);
        break;
    default:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "undefined pixel format(" << code << ") guess: FG_GRAY32");
        set(1, 32, 4, 4);
        break;
    }
}

void CDriverChannel::ReadPixelDepth() {
    if (const boost::optional<uint32_t> custom =
            Configuration().UInt32(DmaKey("BitsPerDimension"))) {
        pixelDepth_ = formatBits_ = *custom;
        NWLOG(log_, nwLogging::level_info,
              Prefix() << '\t' << "Using custom pixel depth (BitsPerDimension): " << *custom);
        return;
    }
    const BoardInformation& board = board_->Information();
    if (board.technology == TechnologyGigE || board_->PixelDepthReadout() == 0) {
        NWLOG(log_, nwLogging::level_info,
              Prefix() << '\t'
                       << "Pixel depth read out is not supported in VA or for: " << board.name);
        NWLOG(log_, nwLogging::level_info,
              Prefix() << '\t' << "Considder setting a custom value in the ini file");
        return;
    }
    if (board.name.compare(0, 4, "me_5") == 0) {
        NWLOG(log_, nwLogging::level_info,
              Prefix() << '\t' << "Pixel depth not used for ME5 series");
        return;
    }
    uint32_t depth = 0;
    if (!GetParameter(FG_PARAM_PIXELDEPTH, depth)) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Unable to get pixel format");
        return;
    }
    if (depth != pixelDepth_) {
        NWLOG(log_, nwLogging::level_info,
              Prefix() << '\t' << "Pixel depth missmatch: correcting to: " << depth);
        pixelDepth_ = formatBits_ = depth;
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Readout pixel depth is: " << depth);
}

void CDriverChannel::ReadBufferSettings() {
    const CDriverConfiguration& configuration = Configuration();
    // The default threshold is one whole image, before rotation; it does not
    // follow later size changes. Images beyond 4 GiB saturate instead of wrapping.
    const uint64_t imageBytes = static_cast<uint64_t>(bytesPerPixel_) * height_ * width_;
    minimumBytes_ = configuration.UInt32(DmaKey("minimumbytes"))
                        .value_or(static_cast<uint32_t>(
                            std::min<uint64_t>(imageBytes, std::numeric_limits<uint32_t>::max())));

    uint32_t buffers = configuration.UInt32(DmaKey("framebuffers")).value_or(1);
    if (buffers < 1 || buffers > MaxBuffers) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t' << "Defined buffers not in range, resetting to: " << 1);
        buffers = 1;
    }
    numberOfBuffers_.store(buffers);
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Buffers used: " << buffers);

    planesInverted_ = configuration.Boolean(DmaKey("invertdim")).value_or(false);
    NWLOG(log_, nwLogging::level_info,
          Prefix() << '\t' << "Invert dimensions = " << (planesInverted_ ? 1 : 0));

    // Values other than 1 to 3 are kept and give the unrotated layout.
    rotation_ = configuration.UInt32(DmaKey("RotateImage")).value_or(0);
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Rotate image = " << rotation_);
}
