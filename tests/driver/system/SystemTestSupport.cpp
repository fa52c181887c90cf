#include "SystemTestSupport.h"

#include <nwLogging/Levels.h>

namespace systemtest {

std::string MachineWithRuntime(const std::string& runtime) {
    return "[machine]\nruntime = " + runtime + "\n\n[board0]\ntype = 1873\ndmas = 2\n";
}

std::vector<CapturedRecord> RecordsWith(const CapturingTarget& target, const std::string& needle) {
    std::vector<CapturedRecord> found;
    for (const CapturedRecord& record : target.records()) {
        if (record.text.find(needle) != std::string::npos)
            found.push_back(record);
    }
    return found;
}

bool HasRecord(const CapturingTarget& target, const std::string& text) {
    for (const CapturedRecord& record : target.records()) {
        if (record.text == text)
            return true;
    }
    return false;
}

std::string LevelAndLocation(const CapturedRecord& record) {
    return std::string(nwLogging::level_name(record.level)) + " " + record.location;
}

} // namespace systemtest
