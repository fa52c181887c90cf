#include "system/DriverConfiguration.h"

#include <limits>
#include <locale>
#include <sstream>

namespace {

/// A decimal number in the default locale, followed by nothing but white space.
boost::optional<long long> Integer(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale());
    long long value = 0;
    in >> value;
    if (in.fail())
        return boost::none;
    if (!in.eof())
        in >> std::ws;
    if (!in.eof())
        return boost::none; // a unit or a second number is left over
    return value;
}

template <class T> boost::optional<T> InRange(const boost::optional<long long>& value) {
    const bool inRange = value && *value >= static_cast<long long>(std::numeric_limits<T>::min()) &&
                         *value <= static_cast<long long>(std::numeric_limits<T>::max());
    // Built in one piece: GCC warns about the empty optional's storage otherwise.
    return boost::make_optional(inRange, inRange ? static_cast<T>(*value) : T());
}

/// `text` without surrounding white space.
std::string Trim(const std::string& text) {
    const char* const space = " \t\r\n\f\v";
    const size_t begin = text.find_first_not_of(space);
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(space) - begin + 1);
}

} // namespace

boost::optional<std::string> CDriverConfiguration::Text(const std::string& path) const {
    return tree_.get_optional<std::string>(path);
}

boost::optional<int32_t> CDriverConfiguration::Int32(const std::string& path) const {
    const boost::optional<std::string> text = Text(path);
    return text ? InRange<int32_t>(Integer(*text)) : boost::none;
}

// A negative value is not an unsigned number: read through the stream it would
// wrap to a huge count (dmas=-1 would probe four billion DMAs).
boost::optional<uint32_t> CDriverConfiguration::UInt32(const std::string& path) const {
    const boost::optional<std::string> text = Text(path);
    return text ? InRange<uint32_t>(Integer(*text)) : boost::none;
}

boost::optional<bool> CDriverConfiguration::Boolean(const std::string& path) const {
    const boost::optional<std::string> text = Text(path);
    if (!text)
        return boost::none;
    std::istringstream in(*text);
    in.imbue(std::locale());
    long long number = 0;
    in >> number;
    if (!in.fail()) {
        if (!in.eof())
            in >> std::ws;
        if (!in.eof() || (number != 0 && number != 1))
            return boost::none;
        return number == 1;
    }
    // Not a number: only the lower-case words, surrounded by white space at most.
    const std::string word = Trim(*text);
    if (word == "true")
        return true;
    if (word == "false")
        return false;
    return boost::none;
}

boost::optional<std::string> CDriverConfiguration::Path(const std::string& path) const {
    const boost::optional<std::string> text = Text(path);
    if (!text)
        return boost::none;
    return ExpandEnvironment(*text);
}
