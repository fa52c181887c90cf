#include <ddk/DDKException.h>

#include <cstdarg>
#include <cstdio>

namespace {

std::string ComposeFullText(const std::string& message, const char* file, int32_t line) {
    return message + " (" + file + ":" + std::to_string(line) + ")";
}

} // namespace

DDKException::DDKException(const char* file, int32_t line, std::string message, int32_t code)
    : line_(line), file_(file), message_(std::move(message)),
      fullText_(ComposeFullText(message_, file, line)), code_(code) {}

DDKGenericException::DDKGenericException(const char* file, int32_t line, const char* format, ...)
    : DDKException(file, line, std::string()) {
    // The message is only known once the arguments are formatted, so the base is
    // rebuilt with it.
    char buffer[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    static_cast<DDKException&>(*this) = DDKException(file, line, buffer);
}

DDKAssertException::DDKAssertException(const char* file, int32_t line)
    : DDKException(file, line, "Assert failed") {}
