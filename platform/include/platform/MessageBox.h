#pragma once
// A message box for the user. On POSIX there is no desktop to show it on: caption
// and text go to standard error as one line "[caption] text" and the call returns
// the OK answer at once, so an unattended process never hangs on it.

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

constexpr uint32_t kMessageBoxOk = 0x00000000; // one OK button
constexpr int kMessageBoxAnswerOk = 1;

using MessageBoxHook =
    std::function<int(const std::string& caption, const std::string& text, uint32_t flags)>;

/// Shows the box (or calls the installed hook) and answers the button pressed.
int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags);

/// Routes later calls to `hook` instead of standard error; an empty function
/// restores the default. For tests. The hook is called without any lock held.
void SetMessageBoxHook(MessageBoxHook hook);

} // namespace platform
