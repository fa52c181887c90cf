#pragma once
// Windows: the running test again, as a child attached to a new pseudo console,
// for what only a console shows (text attributes, the title). The test checks
// whether it is that child and, if so, does its part in the console:
//
//   if (orvtest::InConsoleChild()) {
//       ASSERT_TRUE(orvtest::ConsoleOnStandardOutput());
//       ... write to the console ...
//       return;
//   }
//   const orvtest::ConsoleRun run = orvtest::RunThisTestInPseudoConsole();
//   const orvtest::TerminalScreen screen(run.output);

#include <string>

namespace orvtest {

/// True in the child that RunThisTestInPseudoConsole started.
bool InConsoleChild();

/// In that child: standard output and error become the console's screen,
/// whatever handles the child was given. False when they could not.
bool ConsoleOnStandardOutput();

struct ConsoleRun {
    std::string error;  // why the child could not run; empty when it ran
    int status = -1;    // its exit status: 0 when its part of the test passed
    std::string output; // what the console sent to its terminal
};

ConsoleRun RunThisTestInPseudoConsole();

} // namespace orvtest
