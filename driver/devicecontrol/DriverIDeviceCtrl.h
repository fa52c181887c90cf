#pragma once

#include "acquisition/ProviderGuard.h"

#include <ORV/IDeviceCtrl.h>
#include <ddk/CSPIDeviceCtrl.h>

#include <nwLogging/Logger.h>

#include <cstdint>
#include <string>

class CDriverChannel;
struct TypedParameterRecord;

/// Numbered commands of the host's device control: per-image information, the
/// node-map handles, the parameter id list and typed SDK parameters by id. The
/// raw form exchanges bytes; the text form exchanges zero-terminated text and is
/// built on the raw form.
///
/// Every output follows one size protocol: without an output pointer the
/// required size is written to the size argument (result 0); with one the size
/// must equal the required size, else 0x80000002 and nothing is written. A size
/// argument that is absent is refused with 0x80000002, except by the raw set,
/// which has no output. Nothing is read beyond the input text or the caller's
/// record and value, and nothing is written beyond the caller's output.
///
/// Threads: no state and no lock of its own; the buffer list and the channel
/// serialise what they touch.
class CDriverIDeviceCtrl : public CSPIDeviceCtrl {
public:
    static constexpr uint32_t ClassMask = 0xF0000000u;
    static constexpr uint32_t CodeMask = 0x0FFFFFFFu;
    static constexpr uint32_t ClassGet = ORV::DEVICECTRL_CLASS_GET;
    static constexpr uint32_t ClassSet = ORV::DEVICECTRL_CLASS_SET;

    enum Code : uint32_t {
        DmaNodeMap = ORV::DEVICECTRL_DMA_NODEMAP,
        CameraNodeMap = ORV::DEVICECTRL_CAMERA_NODEMAP,
        Timestamp = ORV::DEVICECTRL_TIMESTAMP,
        ImageNumber = ORV::DEVICECTRL_IMAGE_NUMBER,
        Parameter = ORV::DEVICECTRL_PARAMETER,
        Tag = ORV::DEVICECTRL_TAG,
        TransferLength = ORV::DEVICECTRL_TRANSFER_LENGTH,
        IncompleteImages = ORV::DEVICECTRL_INCOMPLETE_IMAGES,
        BufferCount = ORV::DEVICECTRL_BUFFER_COUNT,
        PendingImages = ORV::DEVICECTRL_PENDING_IMAGES,
        ParameterIdList = ORV::DEVICECTRL_PARAMETER_ID_LIST,
        BufferTransferLength = ORV::DEVICECTRL_BUFFER_TRANSFER_LENGTH
    };

    explicit CDriverIDeviceCtrl(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    int32_t TextCommand(CDDKBufferList* bufferList, uint32_t command, const char* input,
                        uint64_t inputLength, char* output, uint64_t* outputSize) override;
    int32_t RawCommand(CDDKBufferList* bufferList, uint32_t command, const void* input,
                       uint64_t inputSize, void* output, uint64_t* outputSize) override;

    /// The text form of a value of SDK parameter type `type` (empty for an
    /// unknown type or a value too short for it).
    static std::string ValueText(int32_t type, const void* value, uint64_t size);

private:
    /// An exception in either form is an error of device control: "Error: " and its text.
    static constexpr ProviderFailure exceptionFailure{nwLogging::level_err, "Error: "};

    // Raw form.
    int32_t Raw(CDriverBufferList* list, uint32_t command, const void* input, uint64_t inputSize,
                void* output, uint64_t* outputSize);
    int32_t RawGet(CDriverBufferList* list, uint32_t code, const void* input, uint64_t inputSize,
                   void* output, uint64_t* outputSize);
    int32_t RawSet(uint32_t code, const void* input, uint64_t inputSize);
    int32_t NodeMapHandle(uint32_t code, void* output, uint64_t* outputSize);
    int32_t TypedParameter(CDriverBufferList* list, const void* input, uint64_t inputSize,
                           void* output, uint64_t* outputSize);
    int32_t IdList(void* output, uint64_t* outputSize);

    // Text form.
    int32_t Text(CDriverBufferList* list, uint32_t command, const char* input, char* output,
                 uint64_t* outputSize);
    int32_t TextGet(CDriverBufferList* list, uint32_t command, const char* input, char* output,
                    uint64_t* outputSize);
    int32_t TextSet(CDriverBufferList* list, uint32_t command, const char* input, char* output,
                    uint64_t* outputSize);
    /// Whether a text request's length is within its parameter's value; logs
    /// the refusal at err.
    bool LengthFits(const TypedParameterRecord& record);
    /// The raw value of a get command as text.
    std::string RawText(uint32_t code, const TypedParameterRecord& record, const std::string& raw);

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};
