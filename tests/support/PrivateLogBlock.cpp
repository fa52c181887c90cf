// Every test program logs through a log-service block of its own. CTest names
// one per group of tests (NWLOG_TEST_BLOCK_NAME); a program started by hand
// gets one named after its process, so that neither a log service running on
// the machine nor the machine-wide block is ever touched by a test.

#include <nwLogging/ConnectionInfo.h>
#include <platform/Environment.h>
#include <platform/Process.h>

#include <string>

namespace {

bool NamePrivateLogBlock() {
    const char* variable = nwLogging::private_block_variable;
    const std::optional<std::string> name = platform::GetEnv(variable);
    if (name && !name->empty())
        return true;
    return platform::SetEnv(variable,
                            "orvtest_process_" + std::to_string(platform::CurrentProcessId()));
}

[[maybe_unused]] const bool privateLogBlockNamed = NamePrivateLogBlock();

} // namespace
