#include "StandardErrorCapture.h"

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace platformtest {
namespace {

#ifdef _WIN32
// Not inherited, and binary: the C run-time would turn "\n" into "\r\n".
constexpr int kPrivateFile = _O_NOINHERIT | _O_BINARY;
#else
constexpr int kPrivateFile = O_CLOEXEC;
#endif

} // namespace

StandardErrorCapture::StandardErrorCapture() {
    int file =
        ::open(dir_.File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | kPrivateFile, 0600);
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
