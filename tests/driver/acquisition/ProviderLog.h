#pragma once
// Log queries for the provider tests.

#include "support/CapturingTarget.h"

#include <nwLogging/Levels.h>

#include <optional>
#include <string>

namespace imagepath {

/// The one record whose text contains `needle`, or nothing.
std::optional<CapturedRecord> Line(const CapturingTarget& target, const std::string& needle);
/// How many records contain `needle`.
size_t Count(const CapturingTarget& target, const std::string& needle);
/// True when a record with `needle` exists at `level` whose location is
/// "<file>(<line>)".
bool LoggedAt(const CapturingTarget& target, const std::string& needle, uint32_t level,
              const std::string& file);
/// True when a record with `needle` exists at `level` without a location.
bool LoggedPlain(const CapturingTarget& target, const std::string& needle, uint32_t level);
/// Index of the first record containing `needle`; -1 when none.
long Position(const CapturingTarget& target, const std::string& needle);

} // namespace imagepath
