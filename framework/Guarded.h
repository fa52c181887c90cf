#pragma once
// The host boundary is exception-free: every host operation runs inside Guarded,
// which logs an escaping exception and answers "operation failed".

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <exception>

template <class Operation>
int32_t Guarded(const nwLogging::logger_ptr& log, Operation&& operation) noexcept {
    try {
        return operation();
    } catch (const std::exception& e) {
        const char* text = e.what();
        NWLOG_HERE(log, nwLogging::level_err, "CGeneric",
                   (text != nullptr && *text != '\0' ? text : "Unknown exception"));
    } catch (...) {
        NWLOG_HERE(log, nwLogging::level_err, "CGeneric", "Unknown exception");
    }
    return ORV::E_FAIL;
}
