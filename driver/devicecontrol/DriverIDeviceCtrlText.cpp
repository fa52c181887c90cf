// Device control, text form: the get codes as decimal text and the typed set
// from a parameter request text, both through the raw form.
#include "devicecontrol/DriverIDeviceCtrl.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"
#include "devicecontrol/ParameterRequest.h"
#include <FgTypeWidth.h>

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool HasTextForm(uint32_t code) {
    switch (code) {
    case CDriverIDeviceCtrl::Timestamp:
    case CDriverIDeviceCtrl::ImageNumber:
    case CDriverIDeviceCtrl::Parameter:
    case CDriverIDeviceCtrl::Tag:
    case CDriverIDeviceCtrl::TransferLength:
    case CDriverIDeviceCtrl::IncompleteImages:
    case CDriverIDeviceCtrl::BufferCount:
    case CDriverIDeviceCtrl::PendingImages:
    case CDriverIDeviceCtrl::ParameterIdList:
    case CDriverIDeviceCtrl::BufferTransferLength:
        return true;
    default:
        return false;
    }
}

/// Writes `value` to the start of `bytes`.
template <class T> void Store(uint8_t* bytes, T value) {
    static_assert(sizeof value <= WidestSdkType, "a converted value fits any SDK type's room");
    std::memcpy(bytes, &value, sizeof value);
}

template <class T> std::string Decimal(const std::string& raw) {
    if (raw.size() < sizeof(T))
        return std::string();
    T value;
    std::memcpy(&value, raw.data(), sizeof value);
    return std::to_string(value);
}

} // namespace

bool CDriverIDeviceCtrl::LengthFits(const TypedParameterRecord& record) {
    // The length is the caller's word and sizes the value buffer: no more than
    // the parameter's own value may be asked for, or a typing slip allocates
    // gigabytes. A type without a known width may hold the widest value.
    const uint64_t width = SdkTypeWidth(record.type);
    if (record.length <= (width != 0 ? width : WidestSdkType))
        return true;
    NWLOG_HERE(log_, nwLogging::level_err, "DriverIDeviceCtrl",
               channel_->Prefix() << "\tDeviceCtrl: "
                                  << "Error: length " << record.length << " is larger than type "
                                  << record.type);
    return false;
}

int32_t CDriverIDeviceCtrl::TextCommand(CDDKBufferList* bufferList, uint32_t command,
                                        const char* input, uint64_t inputLength, char* output,
                                        uint64_t* outputSize) {
    (void)inputLength; // the input is zero-terminated text
    return guard_.Run(
        [&] { return Text(CDriverBufferList::Of(bufferList), command, input, output, outputSize); },
        exceptionFailure);
}

int32_t CDriverIDeviceCtrl::Text(CDriverBufferList* list, uint32_t command, const char* input,
                                 char* output, uint64_t* outputSize) {
    switch (command & ClassMask) {
    case ClassGet:
        return TextGet(list, command, input, output, outputSize);
    case ClassSet:
        return TextSet(list, command, input, output, outputSize);
    case 0x20000000u:
    case 0x30000000u:
    case 0x40000000u:
        return ORV::E_NOTSUPPORTED;
    default:
        return ORV::E_INVALIDARG;
    }
}

int32_t CDriverIDeviceCtrl::TextGet(CDriverBufferList* list, uint32_t command, const char* input,
                                    char* output, uint64_t* outputSize) {
    const uint32_t code = command & CodeMask;
    if (!HasTextForm(code) || outputSize == nullptr)
        return ORV::E_INVALIDARG;
    TypedParameterRecord record;
    int64_t bufferNumber = 0;
    const void* rawInput = nullptr;
    uint64_t rawInputSize = 0;
    if (code == BufferTransferLength) {
        bufferNumber = std::atoi(input != nullptr ? input : "");
        rawInput = &bufferNumber;
        rawInputSize = sizeof bufferNumber;
    } else if (code == Parameter) {
        const CParameterRequest request(input != nullptr ? input : "");
        record.id = request.Id();
        record.type = request.Type();
        record.length = request.Length();
        if (!LengthFits(record))
            return ORV::E_INVALIDARG;
        rawInput = &record;
        rawInputSize = sizeof record;
    }

    uint64_t rawSize = 0;
    int32_t result = RawCommand(list, command, rawInput, rawInputSize, nullptr, &rawSize);
    if (result != ORV::OK)
        return result;
    std::string raw(static_cast<size_t>(rawSize), '\0');
    result = RawCommand(list, command, rawInput, rawInputSize, raw.data(), &rawSize);
    if (result != ORV::OK)
        return result;

    const std::string text = RawText(code, record, raw);
    const uint64_t needed = static_cast<uint64_t>(text.size()) + 1;
    if (output == nullptr) {
        *outputSize = needed;
        return ORV::OK;
    }
    // The decimal answers want the exact size; the parameter value and the id
    // list take any buffer that holds them, and never one that does not.
    const bool exact = code != Parameter && code != ParameterIdList;
    if (exact ? *outputSize != needed : *outputSize < needed)
        return ORV::E_INVALIDARG;
    std::memcpy(output, text.c_str(), static_cast<size_t>(needed));
    return ORV::OK;
}

std::string CDriverIDeviceCtrl::RawText(uint32_t code, const TypedParameterRecord& record,
                                        const std::string& raw) {
    switch (code) {
    case ImageNumber:
        return Decimal<int64_t>(raw);
    case TransferLength:
    case BufferTransferLength:
        return Decimal<uint64_t>(raw);
    case Parameter:
        return ValueText(record.type, raw.data(), raw.size());
    case ParameterIdList:
        return std::string(raw.c_str()); // up to its terminating zero
    default:
        return Decimal<uint32_t>(raw);
    }
}

int32_t CDriverIDeviceCtrl::TextSet(CDriverBufferList* list, uint32_t command, const char* input,
                                    char* output, uint64_t* outputSize) {
    if (outputSize == nullptr)
        return ORV::E_INVALIDARG;
    if (output == nullptr) {
        *outputSize = 1;
        return ORV::OK;
    }
    if (*outputSize != 1) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIDeviceCtrl",
                   channel_->Prefix() << "\tDeviceCtrl: "
                                      << "Wrong size for pOutStr");
        return ORV::E_INVALIDARG;
    }
    output[0] = '\0';

    const CParameterRequest request(input != nullptr ? input : "");
    TypedParameterRecord record;
    record.id = request.Id();
    record.type = request.Type();
    record.length = request.Length();
    uint8_t converted[WidestSdkType] = {};
    switch (record.type) {
    case FG_TYPE_INT32:
        Store(converted, request.Data<int32_t>());
        break;
    case FG_TYPE_UINT32:
        Store(converted, request.Data<uint32_t>());
        break;
    case FG_TYPE_INT64:
    case FG_TYPE_UINT64:
    case FG_TYPE_VALUE8:
        Store(converted, request.Data<uint64_t>());
        break;
    case FG_TYPE_DOUBLE:
        Store(converted, request.Data<double>());
        break;
    default:
        return ORV::E_NOTSUPPORTED;
    }
    const uint64_t width = SdkTypeWidth(record.type);
    // The value buffer holds "length" bytes; a type wider than that does not fit.
    if (record.length < width) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIDeviceCtrl",
                   channel_->Prefix() << "\tDeviceCtrl: "
                                      << "Error: length " << record.length
                                      << " is smaller than type " << record.type);
        return ORV::E_INVALIDARG;
    }
    if (!LengthFits(record))
        return ORV::E_INVALIDARG;
    std::vector<uint8_t> value(static_cast<size_t>(record.length), 0);
    std::memcpy(value.data(), converted, static_cast<size_t>(width));
    record.value = value.data();
    uint64_t noOutput = 0;
    return RawCommand(list, command, &record, sizeof record, nullptr, &noOutput);
}
