#pragma once
// Sends the process's standard error into a temporary file while alive, so tests
// can read what was written to descriptor 2.

#include "support/TempDir.h"

#include <string>

namespace platformtest {

class StandardErrorCapture {
public:
    StandardErrorCapture();
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;
    ~StandardErrorCapture();

    /// Everything written to standard error so far.
    std::string Text() const;

private:
    orvtest::TempDir dir_;
    int saved_ = -1;
};

} // namespace platformtest
