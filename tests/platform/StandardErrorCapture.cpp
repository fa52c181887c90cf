#include "StandardErrorCapture.h"

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace platformtest {

StandardErrorCapture::StandardErrorCapture() {
    int file = ::open(dir_.File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    saved_ = ::dup(STDERR_FILENO);
    if (file < 0 || saved_ < 0 || ::dup2(file, STDERR_FILENO) < 0)
        throw std::runtime_error("cannot redirect standard error");
    ::close(file);
}

StandardErrorCapture::~StandardErrorCapture() {
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
}

std::string StandardErrorCapture::Text() const {
    return orvtest::ReadFileText(dir_.File("stderr"));
}

} // namespace platformtest
