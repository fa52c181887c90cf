#pragma once

#include "acquisition/ProviderGuard.h"

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
    static constexpr uint32_t ClassGet = 0x00000000u;
    static constexpr uint32_t ClassSet = 0x10000000u;

    enum Code : uint32_t {
        DmaNodeMap = 0x400,
        CameraNodeMap = 0x500,
        Timestamp = 0x800,
        ImageNumber = 0x900,
        Parameter = 0x1100,
        Tag = 0x9000,
        TransferLength = 0x9100,
        IncompleteImages = 0x9200,
        BufferCount = 0x9300,
        PendingImages = 0x9400,
        ParameterIdList = 0x9500,
        BufferTransferLength = 0x9600
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
    /// The raw value of a get command as text.
    std::string RawText(uint32_t code, const TypedParameterRecord& record, const std::string& raw);

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};
