#pragma once

#include <string>

/// Expands the first "$(NAME)" reference of `text` with the environment variable;
/// raises DDKGenericException when the variable is missing or 256 characters or
/// longer. Text without a complete reference is returned unchanged.
std::string ExpandEnvironmentReference(const std::string& text);

/// Index names and log text use plain ASCII; these convert between the wide
/// names of the driver model and narrow text.
std::string NarrowText(const std::wstring& text);
std::wstring WideText(const std::string& text);
