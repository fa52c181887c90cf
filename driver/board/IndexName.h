#pragma once

#include <cstdint>
#include <string>

// Producers, boards and channels are opened by names "idx:N" or "~idx:N"; the
// number starts at character 4, or 5 when the name begins with '~'.

/// Position of the number in `name`.
size_t IndexNamePosition(const std::wstring& name);

/// The number of an index name like a C string-to-integer conversion: leading
/// digits after optional white space and sign; 0 when there is no number.
int32_t IndexNameNumber(const std::wstring& name);

/// The number of an index name like std::stoi: throws std::invalid_argument when
/// there is no number and std::out_of_range when it does not fit (or the name is
/// too short to hold one).
int32_t IndexNameNumberStrict(const std::wstring& name);
