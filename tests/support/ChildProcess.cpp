#include "support/ChildProcess.h"

#include <platform/Process.h>

#include <gtest/gtest.h>

namespace orvtest {

ChildSetup ThisTestAgain() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    ChildSetup setup;
    setup.argv = {platform::ExecutablePath(),
                  std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()};
    return setup;
}

} // namespace orvtest
