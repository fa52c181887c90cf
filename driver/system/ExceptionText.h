#pragma once

#include <exception>

/// The text an exception is logged with: its own, or `none` when it has none
/// (the host's out-of-memory exception carries no text).
inline const char* ExceptionText(const std::exception& e, const char* none = "Unknown exception") {
    const char* text = e.what();
    return text != nullptr && *text != '\0' ? text : none;
}
