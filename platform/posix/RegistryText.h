#pragma once
// Text rules of the registry store: Windows-like case folding of key and value
// names, key path normalisation, and the quoting of names and string values.

#include <cstddef>
#include <string>
#include <vector>

namespace platform {
namespace registry {

/// Equal ignoring ASCII case, as the Windows registry compares names.
bool EqualNoCase(const std::string& a, const std::string& b);

/// Splits a key path at '\', dropping empty elements, so "Software\X\" and
/// "\Software\\X" name the same key. False when an element holds a control
/// character, which a store line could not carry.
bool SplitKeyPath(const std::string& path, std::vector<std::string>* elements);
std::string JoinKeyPath(const std::vector<std::string>& elements);

/// `text` in double quotes, with '\', '"', line breaks, tabs and other control
/// bytes escaped (\\ \" \n \r \t \xHH).
std::string Quote(const std::string& text);
/// Reads a quoted text starting at `*pos` (which must be at the opening quote);
/// leaves `*pos` after the closing quote. False on a malformed text.
bool Unquote(const std::string& line, size_t* pos, std::string* text);

} // namespace registry
} // namespace platform
