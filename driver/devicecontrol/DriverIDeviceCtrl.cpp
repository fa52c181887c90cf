// Device control, raw form: command classes, the get codes and the typed set.
#include "devicecontrol/DriverIDeviceCtrl.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include <FgTypeWidth.h>

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

#include <cmath>
#include <cstring>
#include <sstream>

namespace {

/// The size protocol for a value of type T produced by `produce` only when
/// the caller's buffer is there and of the right size.
template <class T, class Produce>
int32_t Answer(void* output, uint64_t* outputSize, Produce produce) {
    if (output == nullptr) {
        *outputSize = sizeof(T);
        return ORV::OK;
    }
    if (*outputSize != sizeof(T))
        return ORV::E_INVALIDARG;
    const T value = produce();
    std::memcpy(output, &value, sizeof(T));
    return ORV::OK;
}

/// The value of type T at `value` as a stream writes it.
template <class T> std::string Streamed(const void* value) {
    T typed;
    std::memcpy(&typed, value, sizeof typed);
    std::ostringstream text;
    text << typed;
    return text.str();
}

/// A time stamp as the signed 64-bit number its low 32 bits are taken from;
/// values no 64-bit number holds count as 0.
int64_t ToInt64(double value) {
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        return 0;
    return static_cast<int64_t>(value);
}

bool NeedsBufferList(uint32_t code) {
    switch (code) {
    case CDriverIDeviceCtrl::Timestamp:
    case CDriverIDeviceCtrl::ImageNumber:
    case CDriverIDeviceCtrl::Parameter:
    case CDriverIDeviceCtrl::Tag:
    case CDriverIDeviceCtrl::TransferLength:
    case CDriverIDeviceCtrl::IncompleteImages:
    case CDriverIDeviceCtrl::PendingImages:
    case CDriverIDeviceCtrl::BufferTransferLength:
        return true;
    default:
        return false;
    }
}

} // namespace

CDriverIDeviceCtrl::CDriverIDeviceCtrl(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverIDeviceCtrl", "DeviceCtrl: ", catchingEveryException) {}

bool CDriverIDeviceCtrl::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverIDeviceCtrl::RawCommand(CDDKBufferList* bufferList, uint32_t command,
                                       const void* input, uint64_t inputSize, void* output,
                                       uint64_t* outputSize) {
    return guard_.Run(
        [&] {
            return Raw(CDriverBufferList::Of(bufferList), command, input, inputSize, output,
                       outputSize);
        },
        exceptionFailure);
}

int32_t CDriverIDeviceCtrl::Raw(CDriverBufferList* list, uint32_t command, const void* input,
                                uint64_t inputSize, void* output, uint64_t* outputSize) {
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tDeviceCtrl: "
                             << "Output Buffer Size: " << (outputSize != nullptr ? *outputSize : 0)
                             << " | CMD: " << static_cast<int32_t>(command));
    const uint32_t operation = command & ClassMask;
    const uint32_t code = command & CodeMask;
    switch (operation) {
    case ClassGet:
        // Every get answers through the size argument.
        if (outputSize == nullptr)
            return ORV::E_INVALIDARG;
        return RawGet(list, code, input, inputSize, output, outputSize);
    case ClassSet:
        return RawSet(code, input, inputSize);
    case 0x20000000u:
    case 0x30000000u:
    case 0x40000000u:
        return ORV::E_NOTSUPPORTED;
    default:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIDeviceCtrl",
                   channel_->Prefix() << "\tDeviceCtrl: "
                                      << "Unknown operation: " << static_cast<int32_t>(operation));
        return ORV::E_INVALIDARG;
    }
}

int32_t CDriverIDeviceCtrl::RawGet(CDriverBufferList* list, uint32_t code, const void* input,
                                   uint64_t inputSize, void* output, uint64_t* outputSize) {
    if (NeedsBufferList(code) && list == nullptr)
        return guard_.NoBufferList();
    switch (code) {
    case DmaNodeMap:
    case CameraNodeMap:
        return NodeMapHandle(code, output, outputSize);
    case Timestamp:
        return Answer<uint32_t>(output, outputSize, [&] {
            return static_cast<uint32_t>(ToInt64(list->GetLastTimestamp()));
        });
    case ImageNumber:
        return Answer<uint64_t>(output, outputSize, [&] { return list->LastPictureNumber(); });
    case Parameter:
        return TypedParameter(list, input, inputSize, output, outputSize);
    case Tag:
        return Answer<uint32_t>(output, outputSize,
                                [&] { return static_cast<uint32_t>(list->LastTag()); });
    case TransferLength:
        return Answer<uint64_t>(output, outputSize, [&] { return list->LastTransferLength(); });
    case IncompleteImages:
        return Answer<uint32_t>(output, outputSize,
                                [&] { return static_cast<uint32_t>(list->IncompleteImages()); });
    case BufferCount:
        return Answer<uint32_t>(output, outputSize, [&] { return channel_->NumberOfBuffers(); });
    case PendingImages:
        return Answer<uint32_t>(output, outputSize,
                                [&] { return static_cast<uint32_t>(list->GetPendingCount()); });
    case ParameterIdList:
        return IdList(output, outputSize);
    case BufferTransferLength: {
        if (input == nullptr || inputSize != sizeof(int64_t))
            return ORV::E_INVALIDARG;
        int64_t bufferNumber = 0;
        std::memcpy(&bufferNumber, input, sizeof bufferNumber);
        return Answer<uint64_t>(output, outputSize,
                                [&] { return list->GetTransferLength(bufferNumber); });
    }
    default:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIDeviceCtrl",
                   channel_->Prefix() << "\tDeviceCtrl: "
                                      << "Unknown parameter: " << code);
        return ORV::E_INVALIDARG;
    }
}

int32_t CDriverIDeviceCtrl::NodeMapHandle(uint32_t code, void* output, uint64_t* outputSize) {
    static_assert(sizeof(ORHandle) == 8, "node-map handles travel as 8 bytes");
    if (output == nullptr) {
        *outputSize = sizeof(ORHandle);
        return ORV::OK;
    }
    if (*outputSize != sizeof(ORHandle))
        return ORV::E_INVALIDARG;
    ORHandle handle = code == DmaNodeMap ? channel_->GetDmaNodeMap() : channel_->GetCameraNodeMap();
    // Without a node map the null handle is the answer: the host tests the handle.
    std::memcpy(output, &handle, sizeof handle);
    return ORV::OK;
}

int32_t CDriverIDeviceCtrl::TypedParameter(CDriverBufferList* list, const void* input,
                                           uint64_t inputSize, void* output, uint64_t* outputSize) {
    if (input == nullptr || inputSize != sizeof(TypedParameterRecord))
        return ORV::E_INVALIDARG;
    TypedParameterRecord record;
    std::memcpy(&record, input, sizeof record);
    uint64_t size = *outputSize;
    const int32_t result = list->GetTypedParameter(record, output, size);
    if (output == nullptr)
        *outputSize = size;
    return result;
}

int32_t CDriverIDeviceCtrl::IdList(void* output, uint64_t* outputSize) {
    std::string text;
    channel_->GetParameterIdList(text);
    const uint64_t needed = static_cast<uint64_t>(text.size()) + 1;
    if (output == nullptr) {
        *outputSize = needed;
        return ORV::OK;
    }
    if (*outputSize != needed)
        return ORV::E_INVALIDARG;
    std::memcpy(output, text.c_str(), static_cast<size_t>(needed));
    return ORV::OK;
}

int32_t CDriverIDeviceCtrl::RawSet(uint32_t code, const void* input, uint64_t inputSize) {
    if (code != Parameter || input == nullptr || inputSize != sizeof(TypedParameterRecord))
        return ORV::E_INVALIDARG;
    TypedParameterRecord record;
    std::memcpy(&record, input, sizeof record);
    // The SDK reads the full width of the type from the value: a shorter value,
    // or none, would be read beyond.
    const uint64_t width = SdkTypeWidth(record.type);
    if (record.value == nullptr || (width != 0 && record.length < width))
        return ORV::E_INVALIDARG;
    if (Fg_SetParameterTyped(channel_->DriverBoard().Grabber(), record.id, record.value,
                             channel_->DmaIndex(), record.type) != 0)
        return ORV::E_FAIL;
    return ORV::OK;
}

std::string CDriverIDeviceCtrl::ValueText(int32_t type, const void* value, uint64_t size) {
    const uint64_t width = SdkTypeWidth(type);
    if (value == nullptr || width == 0 || size < width)
        return std::string();
    switch (type) {
    case FG_TYPE_INT32:
        return Streamed<int32_t>(value);
    case FG_TYPE_UINT32:
        return Streamed<uint32_t>(value);
    case FG_TYPE_INT64:
        return Streamed<int64_t>(value);
    case FG_TYPE_DOUBLE:
        return Streamed<double>(value);
    default: // unsigned 64-bit and any 8-byte value
        return Streamed<uint64_t>(value);
    }
}
