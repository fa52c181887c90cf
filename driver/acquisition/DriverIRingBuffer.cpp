#include "acquisition/DriverIRingBuffer.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

CDriverIRingBuffer::CDriverIRingBuffer(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverIRingBuffer", "Ringbuffer: ") {}

bool CDriverIRingBuffer::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverIRingBuffer::Check(const CDriverBufferList* list, int32_t index) {
    if (list == nullptr)
        return guard_.NoBufferList();
    // The list's own count matters too: a list made before a count change may be
    // smaller than the channel's ring.
    if (index < 0 || static_cast<uint32_t>(index) >= channel_->NumberOfBuffers() ||
        static_cast<uint32_t>(index) >= list->NumberOfBuffers()) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIRingBuffer",
                   channel_->Prefix() << "\tRingbuffer: Index out of range");
        return ORV::E_INVALIDARG;
    }
    return ORV::OK;
}

int32_t CDriverIRingBuffer::ValidateCount(int32_t count) {
    NWLOG(
        log_, nwLogging::level_info,
        channel_->Prefix() << "\tRingbuffer: RingBuffer action RINGBUFFER_NUMBUFFER_CMD_VALIDATE: "
                           << count);
    return count < 1 ? ORV::E_INVALIDARG : ORV::OK;
}

int32_t CDriverIRingBuffer::NumBuffers(CDDKBufferList* bufferList, uint32_t action,
                                       int32_t* count) {
    if (bufferList == nullptr)
        return guard_.NoBufferList();
    if (count == nullptr)
        return ORV::E_INVALIDARG;
    switch (action) {
    case Query:
        *count = static_cast<int32_t>(channel_->NumberOfBuffers());
        return ORV::OK;
    case Validate:
        return ValidateCount(*count);
    case Set: {
        // A rejected count never reaches the channel.
        if (const int32_t result = ValidateCount(*count); result != ORV::OK)
            return result;
        channel_->SetNumberOfBuffers(static_cast<uint32_t>(*count));
        NWLOG(log_, nwLogging::level_info,
              channel_->Prefix() << "\tRingbuffer: RingBuffer action RINGBUFFER_NUMBUFFER_CMD_SET: "
                                 << *count);
        return ORV::OK;
    }
    default:
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverIRingBuffer",
                   channel_->Prefix() << "\tRingbuffer: RingBuffer BufferNumber action INVALID");
        return ORV::E_INVALIDARG;
    }
}

int32_t CDriverIRingBuffer::UnlockBuffer(CDDKBufferList* bufferList, int32_t index) {
    CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (const int32_t result = Check(list, index); result != ORV::OK)
        return result;
    if (const int32_t result = guard_.Run([&] { list->Unlock(index + 1); }); result != ORV::OK)
        return result;
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tRingbuffer: Unlock buffer: " << index);
    return ORV::OK;
}

int32_t CDriverIRingBuffer::ValidateMode(uint32_t mode) {
    if (mode > LockModeOn) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverIRingBuffer",
                   channel_->Prefix() << "\tRingbuffer: Invalid lockmode");
        return ORV::E_INVALIDARG;
    }
    NWLOG(log_, nwLogging::level_info, channel_->Prefix() << "\tRingbuffer: Valid lockmode");
    return ORV::OK;
}

int32_t CDriverIRingBuffer::LockMode(CDDKBufferList* bufferList, uint32_t action, uint32_t* mode) {
    if (bufferList == nullptr)
        return guard_.NoBufferList();
    if (mode == nullptr)
        return ORV::E_INVALIDARG;
    switch (action) {
    case Query:
        *mode = channel_->LockMode();
        NWLOG(log_, nwLogging::level_info,
              channel_->Prefix() << "\tRingbuffer: Requested lockmode: " << *mode);
        return ORV::OK;
    case Validate:
        return ValidateMode(*mode);
    case Set:
        if (const int32_t result = ValidateMode(*mode); result != ORV::OK)
            return result;
        channel_->SetLockMode(*mode);
        NWLOG(log_, nwLogging::level_info,
              channel_->Prefix() << "\tRingbuffer: Set lock mode: " << *mode);
        return ORV::OK;
    default:
        return ORV::E_INVALIDARG;
    }
}

int32_t CDriverIRingBuffer::IsLocked(CDDKBufferList* bufferList, int32_t index, uint8_t* locked) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (const int32_t result = Check(list, index); result != ORV::OK)
        return result;
    if (locked == nullptr)
        return ORV::E_INVALIDARG;
    bool state = false;
    if (const int32_t result = guard_.Run([&] { state = list->IsBufferLocked(index + 1); });
        result != ORV::OK)
        return result;
    *locked = state ? 1 : 0;
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tRingbuffer: Buffer " << index
                             << " is locked: " << (state ? "true" : "false"));
    return ORV::OK;
}

int32_t CDriverIRingBuffer::BufferDimensions(CDDKBufferList* bufferList, int32_t index,
                                             int32_t* planes, int32_t* width, int32_t* height) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (const int32_t result = Check(list, index); result != ORV::OK)
        return result;
    if (planes == nullptr || width == nullptr || height == nullptr)
        return ORV::E_INVALIDARG;
    *planes = static_cast<int32_t>(channel_->Planes());
    *width = static_cast<int32_t>(list->HostWidth());
    *height = static_cast<int32_t>(list->HostHeight());
    return ORV::OK;
}

int32_t CDriverIRingBuffer::BufferDataType(CDDKBufferList* bufferList, int32_t index, uint32_t,
                                           int32_t* dataType) {
    if (const int32_t result = Check(CDriverBufferList::Of(bufferList), index); result != ORV::OK)
        return result;
    if (dataType == nullptr)
        return ORV::E_INVALIDARG;
    *dataType = static_cast<int32_t>(channel_->PixelDepth());
    return ORV::OK;
}

int32_t CDriverIRingBuffer::BufferPlane(CDDKBufferList* bufferList, int32_t index, uint32_t plane,
                                        void** base, const ORV::VpaEntry** vpa) {
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tRingbuffer: Requested RB Index: " << index);
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (const int32_t result = Check(list, index); result != ORV::OK)
        return result;
    if (base == nullptr || vpa == nullptr)
        return ORV::E_INVALIDARG;
    *base = PlaneBase(list->Layout(), list->BufferAddress(static_cast<uint32_t>(index)), plane);
    *vpa = list->VpaTable();
    return ORV::OK;
}

int32_t CDriverIRingBuffer::BufferSequence(CDDKBufferList*, int32_t position, int32_t*) {
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tRingbuffer: Requested sequence:" << position);
    return 1;
}

int32_t CDriverIRingBuffer::BufferInfo(CDDKBufferList* bufferList, int32_t index, int32_t type,
                                       double* value) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (const int32_t result = Check(list, index); result != ORV::OK)
        return result;
    if (value == nullptr)
        return ORV::E_INVALIDARG;
    return guard_.Run([&] {
        switch (type) {
        case InfoTimestamp: {
            const double stamp = list->GetBufferTimestamp(index + 1);
            *value = stamp;
            NWLOG(log_, nwLogging::level_info,
                  channel_->Prefix()
                      << "\tRingbuffer: Requested RINGBUFFER_INFO_TIMESTAMP for " << index << ": "
                      << static_cast<int32_t>(static_cast<uint32_t>(stamp)));
            return ORV::OK;
        }
        case InfoTag: {
            const uint16_t tag = list->GetBufferTag(index + 1);
            *value = tag;
            NWLOG(log_, nwLogging::level_info,
                  channel_->Prefix() << "\tRingbuffer: Requested RINGBUFFER_INFO_TAG for " << index
                                     << ": " << tag);
            return ORV::OK;
        }
        case InfoLockState: {
            uint8_t locked = 0;
            if (IsLocked(bufferList, index, &locked) != ORV::OK)
                return ORV::E_INVALIDARG;
            *value = locked != 0 ? 1.0 : 0.0;
            return ORV::OK;
        }
        default:
            return ORV::E_INVALIDARG;
        }
    });
}
