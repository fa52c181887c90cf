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
//   const orvtest::TerminalScreen screen = orvtest::RunThisTestInPseudoConsole();

#include "support/TerminalScreen.h"

#include <string>

namespace orvtest {

/// True in the child that RunThisTestInPseudoConsole started.
bool InConsoleChild();

/// In that child: standard output and error become the console's screen,
/// whatever handles the child was given. False when they could not.
bool ConsoleOnStandardOutput();

/// Runs the test again as that child and waits for it. What the console sent
/// to its terminal; a test failure is added when the child could not run or
/// its part of the test failed.
TerminalScreen RunThisTestInPseudoConsole();

} // namespace orvtest
