#include "driver/acquisition/ProviderLog.h"

#include <regex>

namespace imagepath {

std::optional<CapturedRecord> Line(const CapturingTarget& target, const std::string& needle) {
    for (const CapturedRecord& record : target.records())
        if (record.text.find(needle) != std::string::npos)
            return record;
    return std::nullopt;
}

size_t Count(const CapturingTarget& target, const std::string& needle) {
    size_t count = 0;
    for (const CapturedRecord& record : target.records())
        count += record.text.find(needle) != std::string::npos ? 1 : 0;
    return count;
}

bool LoggedAt(const CapturingTarget& target, const std::string& needle, uint32_t level,
              const std::string& file) {
    const std::regex location(file + "\\([0-9]+\\)");
    for (const CapturedRecord& record : target.records())
        if (record.text.find(needle) != std::string::npos && record.level == level &&
            std::regex_match(record.location, location))
            return true;
    return false;
}

bool LoggedPlain(const CapturingTarget& target, const std::string& needle, uint32_t level) {
    for (const CapturedRecord& record : target.records())
        if (record.text.find(needle) != std::string::npos && record.level == level &&
            record.location.empty())
            return true;
    return false;
}

long Position(const CapturingTarget& target, const std::string& needle) {
    const auto records = target.records();
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].text.find(needle) != std::string::npos)
            return static_cast<long>(i);
    return -1;
}

} // namespace imagepath
