#pragma once

#include "acquisition/DriverBufferList.h"
#include "system/ExceptionText.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/Levels.h>
#include <nwLogging/Logger.h>

#include <cstdint>
#include <exception>
#include <type_traits>

class CDriverChannel;

/// What a provider logs for an exception that brings no text of its own.
struct ProviderExceptionTexts {
    /// For a standard exception with an empty text.
    const char* empty = "Unknown exception";
    /// For any other exception; null leaves such an exception to the framework.
    const char* nonStandard = nullptr;
};

/// The texts of a provider that catches every exception, standard or not.
constexpr ProviderExceptionTexts catchingEveryException{"Unknown exception", "Unknown exception"};

/// What an exception escaping one provider operation becomes.
struct ProviderFailure {
    uint32_t level = nwLogging::level_err;
    /// Written between the provider's word and the exception's text.
    const char* lead = "";
    int32_t code = ORV::E_FAIL;
};

/// How a provider of a channel turns what went wrong into its log line and its
/// result code, written once for all of them: a missing buffer list, and an
/// exception escaping an operation (the host boundary is exception-free). Lines
/// read "<channel prefix>\t<word><text>" and carry the location "<file>(<line>)",
/// the line being that of the provider's call.
///
/// Threads: immutable after construction; any host thread.
class CProviderGuard {
public:
    /// `file` names the provider's source in the location ("DriverIGrab2"), `word`
    /// begins the text of its lines ("Grab2: ").
    CProviderGuard(CDriverChannel& channel, nwLogging::logger_ptr log, const char* file,
                   const char* word, ProviderExceptionTexts texts = ProviderExceptionTexts());

    /// Logs "No BufferList" at err; 0x80000002.
    int32_t NoBufferList(int line = __builtin_LINE()) const;
    /// Logs the lead and `text` at the failure's level; the failure's code.
    int32_t Failed(const char* text, const ProviderFailure& failure = ProviderFailure(),
                   int line = __builtin_LINE()) const;

    /// Runs `operation` and answers its result code, or 0 when it answers none; an
    /// exception it throws is logged and answered as `failure` says.
    template <class Operation>
    int32_t Run(Operation&& operation, const ProviderFailure& failure = ProviderFailure(),
                int line = __builtin_LINE()) const {
        try {
            if constexpr (std::is_void_v<std::invoke_result_t<Operation&>>) {
                operation();
                return ORV::OK;
            } else {
                return operation();
            }
        } catch (const std::exception& e) {
            const int32_t code = Failed(ExceptionText(e, texts_.empty), failure, line);
            LogSdkReason(e, failure, line);
            return code;
        } catch (...) {
            if (texts_.nonStandard == nullptr)
                throw;
            return Failed(texts_.nonStandard, failure, line);
        }
    }

    /// Run with the driver's list behind `list` as the operation's argument;
    /// NoBufferList without one.
    template <class Operation>
    int32_t RunOn(CDDKBufferList* list, Operation&& operation,
                  const ProviderFailure& failure = ProviderFailure(),
                  int line = __builtin_LINE()) const {
        CDriverBufferList* driverList = CDriverBufferList::Of(list);
        if (driverList == nullptr)
            return NoBufferList(line);
        return Run([&] { return operation(*driverList); }, failure, line);
    }

private:
    void Log(uint32_t level, int line, const char* lead, const char* text) const;
    /// For an exception from a failed SDK call: the SDK's reason as a line of its
    /// own, "SDK: " + the reason, at the failure's level.
    void LogSdkReason(const std::exception& e, const ProviderFailure& failure, int line) const;

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    const char* file_;
    const char* word_;
    ProviderExceptionTexts texts_;
};
