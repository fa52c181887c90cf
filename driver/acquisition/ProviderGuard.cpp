#include "acquisition/ProviderGuard.h"

#include "board/DriverChannel.h"
#include "sdk/SdkFailure.h"

#include <nwLogging/LogMacros.h>

#include <string>
#include <utility>

CProviderGuard::CProviderGuard(CDriverChannel& channel, nwLogging::logger_ptr log, const char* file,
                               const char* word, ProviderExceptionTexts texts)
    : channel_(&channel), log_(std::move(log)), file_(file), word_(word), texts_(texts) {}

int32_t CProviderGuard::NoBufferList(int line) const {
    Log(nwLogging::level_err, line, "", "No BufferList");
    return ORV::E_INVALIDARG;
}

int32_t CProviderGuard::Failed(const char* text, const ProviderFailure& failure, int line) const {
    Log(failure.level, line, failure.lead, text);
    return failure.code;
}

void CProviderGuard::Log(uint32_t level, int line, const char* lead, const char* text) const {
    // The location is made only for a line that is written.
    NWLOG_LOCATED_(log_, level, (std::string(file_) + '(' + std::to_string(line) + ')').c_str(),
                   channel_->Prefix() << '\t' << word_ << lead << text);
}

void CProviderGuard::LogSdkReason(const std::exception& e, const ProviderFailure& failure,
                                  int line) const {
    const auto* sdk = dynamic_cast<const CSdkFailure*>(&e);
    if (sdk == nullptr || sdk->Reason().empty())
        return;
    Log(failure.level, line, "SDK: ", sdk->Reason().c_str());
}
