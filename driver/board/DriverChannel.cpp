#include "board/DriverChannel.h"

#include "board/DriverBoard.h"
#include "board/IndexName.h"
#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

CDriverChannel::CDriverChannel(const std::wstring& name, std::shared_ptr<CDriverBoard> board,
                               std::weak_ptr<IDDKRefCnt> parent)
    : CDrvChannel(board), name_(name), parent_(std::move(parent)), board_(board.get()),
      log_(nwLogging::root_logger()) {
    // A name without a number opens DMA 0 here; InitChannel rejects it.
    const int32_t index = IndexNameNumber(name_);
    dmaIndex_ = static_cast<uint32_t>(index);
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Constructor");
}

CDriverChannel::~CDriverChannel() {
    DisconnectCamera();
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Channel destructed");
}

void CDriverChannel::Open(const OptionMap& options, const boost::any& argument) {
    (void)options;
    (void)argument;
    InitChannel();
}

void CDriverChannel::InitChannel() {
    ReadTimeout();
    dmaIndexCopy_ = IndexNameNumberStrict(name_);
    ReadGeometry();
    ReadPixelFormat();
    ReadBufferSettings();
    ConnectCamera();
}

void CDriverChannel::ReadTimeout() {
    const uint32_t seconds = System().DefaultTimeoutSeconds();
    timeoutSeconds_.store(seconds == 0 ? 1 : seconds);
}

void CDriverChannel::GetChannelName(std::wstring& name) {
    name = name_;
}

ImageLayout CDriverChannel::Layout() const {
    return ImageLayout::Compute(width_, height_, bytesPerPixel_, planes_, rotation_,
                                planesInverted_);
}

CDriverSystem& CDriverChannel::System() const {
    return board_->System();
}

const CDriverConfiguration& CDriverChannel::Configuration() const {
    return board_->Configuration();
}

ChannelPrefix CDriverChannel::Prefix() const {
    return ChannelPrefix{board_->VendorIndex(), dmaIndex_};
}

uint32_t CDriverChannel::GetChannelKey() const {
    return (static_cast<uint32_t>(board_->LogicalNumber()) << 16) |
           static_cast<uint32_t>(IndexNameNumber(name_));
}

std::string CDriverChannel::DmaKey(const char* key) const {
    return "BOARD" + std::to_string(board_->VendorIndex()) + "_DMA" + std::to_string(dmaIndex_) +
           "." + key;
}
