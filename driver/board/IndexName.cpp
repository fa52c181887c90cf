#include "board/IndexName.h"

#include <climits>
#include <cwchar>
#include <stdexcept>

size_t IndexNamePosition(const std::wstring& name) {
    return !name.empty() && name[0] == L'~' ? 5 : 4;
}

int32_t IndexNameNumber(const std::wstring& name) {
    const size_t position = IndexNamePosition(name);
    if (position >= name.size())
        return 0;
    const std::wstring digits = name.substr(position);
    const long value = std::wcstol(digits.c_str(), nullptr, 10);
    // Saturate like the C conversion does for values beyond 32 bits.
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t IndexNameNumberStrict(const std::wstring& name) {
    const size_t position = IndexNamePosition(name);
    if (position > name.size())
        throw std::out_of_range("index name too short");
    return std::stoi(name.substr(position));
}
