#pragma once
// Shared by the driver-system tests: machine descriptions and log queries.

#include "support/CapturingTarget.h"

#include <string>
#include <vector>

namespace systemtest {

/// A machine description with one Camera Link board and the given runtime text.
std::string MachineWithRuntime(const std::string& runtime);

/// The records whose text contains `needle`.
std::vector<CapturedRecord> RecordsWith(const CapturingTarget& target, const std::string& needle);

/// True when a record's text is exactly `text` (line breaks included).
bool HasRecord(const CapturingTarget& target, const std::string& text);

/// Level name and location of a record, e.g. "err DriverSystem(56)".
std::string LevelAndLocation(const CapturedRecord& record);

} // namespace systemtest
