// Buffer list: construction, memory, VPA table and destruction.
#include "acquisition/DriverBufferList.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "sdk/SdkErrorText.h"
#include "sdk/SdkFailure.h"

#include <ddk/CLockGuard.h>

#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>

CDriverBufferList::CDriverBufferList(CDriverChannel& channel)
    : channel_(&channel), numberOfBuffers_(channel.NumberOfBuffers()) {
    Allocate();
}

CDriverBufferList::~CDriverBufferList() {
    if (IsAcquiring()) {
        try {
            StopAcquisition();
        } catch (...) {
            // The stop ran every step it could and left the list "Allocated"; a
            // DMA it could not stop has taken the block with it.
        }
    }
    try {
        Free();
    } catch (...) {
        // The block is released with the object either way.
    }
}

const char* CDriverBufferList::StateText(State state) {
    switch (state) {
    case State::Free:
        return "Free";
    case State::Allocated:
        return "Allocated";
    case State::AcquisitionStarted:
        return "AcquisitionStarted";
    }
    return "";
}

void CDriverBufferList::Require(State required, const char* text) const {
    if (state_.load() != required)
        throw std::runtime_error(text);
}

void CDriverBufferList::FailSdk(const std::string& text) const {
    throw CSdkFailure(text, FgLastErrorText(channel_->DriverBoard().Grabber()));
}

void CDriverBufferList::Allocate() {
    Require(State::Free, "Not in state \"Free\" for allocating buffer");
    layout_ = channel_->Layout();
    imageSize_ = layout_.imageSize;
    const uint64_t count = numberOfBuffers_;
    if (count != 0 && imageSize_ > std::numeric_limits<size_t>::max() / count)
        throw std::bad_alloc();
    // One zero-filled block for every buffer: nothing is allocated per image. A
    // large ring comes from the system in large pages, zeroed by it once.
    memory_ = platform::ZeroedBlock(static_cast<size_t>(count * imageSize_));
    bufferAddresses_.resize(count);
    for (uint64_t i = 0; i < count; ++i)
        bufferAddresses_[i] = memory_.get() + i * imageSize_;
    currentImage_.store(count != 0 ? bufferAddresses_[0] : memory_.get());
    vpaTable_ = BuildVpaTable(layout_);
    state_.store(State::Allocated);
}

void CDriverBufferList::Free() {
    Require(State::Allocated, "Not in state \"Allocated\" for freeing buffer");
    bufferAddresses_.clear();
    currentImage_.store(nullptr);
    vpaTable_.clear();
    state_.store(State::Free);
}

uint8_t* CDriverBufferList::BufferAddress(uint32_t index) const {
    return index < bufferAddresses_.size() ? bufferAddresses_[index] : nullptr;
}
