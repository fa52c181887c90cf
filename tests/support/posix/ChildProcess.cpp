#include "support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace orvtest {

struct ChildProcess::Native {
    pid_t pid = -1;
};

namespace {

std::vector<std::string>
ChildEnvironment(const std::map<std::string, std::optional<std::string>>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (changes.count(text.substr(0, text.find('='))) == 0)
            entries.push_back(text);
    }
    for (const auto& [name, value] : changes)
        if (value)
            entries.push_back(name + "=" + *value);
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

int OpenOutput(const std::string& path) {
    if (path.empty())
        return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

int ClosedPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    ::close(ends[0]);
    return ends[1];
}

} // namespace

ChildProcess::ChildProcess(const ChildSetup& setup) : native_(std::make_unique<Native>()) {
    if (setup.pseudoConsole) {
        // POSIX tests put a pseudo-terminal on standard output themselves.
        startError_ = "a pseudo console exists on Windows only";
        return;
    }
    std::vector<std::string> arguments = setup.argv;
    std::vector<std::string> environment = ChildEnvironment(setup.environment);
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(environment);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = setup.outputToClosedPipe ? ClosedPipe() : OpenOutput(setup.outputPath);
    const int err = OpenOutput(setup.errorPath);
    if (arguments.empty() || in < 0 || out < 0 || err < 0) {
        startError_ = arguments.empty()
                          ? "no program"
                          : std::string("cannot open the child's files: ") + std::strerror(errno);
    } else {
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Only async-signal-safe calls between fork and exec. The child is
            // asked to stop when the test ends, so a crashed test leaves no
            // process behind (and our programs clean up on that request).
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(126);
            ::dup2(in, STDIN_FILENO);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        if (pid < 0)
            startError_ = std::string("cannot start ") + arguments[0] + ": " + std::strerror(errno);
        else {
            native_->pid = pid;
            id_ = static_cast<uint32_t>(pid);
        }
    }
    for (const int fd : {in, out, err})
        if (fd >= 0)
            ::close(fd);
}

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Ended() {
    if (status_ || native_->pid <= 0)
        return true;
    int raw = 0;
    pid_t done;
    do {
        done = ::waitpid(native_->pid, &raw, WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0)
        return false;
    status_ = done == native_->pid && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    native_->pid = -1;
    return true;
}

int ChildProcess::Wait(std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!Ended()) {
        if (std::chrono::steady_clock::now() > deadline) {
            Kill();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_.value_or(-1);
}

bool ChildProcess::RequestStop(platform::StopKind kind) {
    return native_->pid > 0 && platform::RequestStop(id_, kind);
}

void ChildProcess::Kill() {
    if (Ended())
        return;
    ::kill(native_->pid, SIGKILL);
    int raw = 0;
    while (::waitpid(native_->pid, &raw, 0) < 0 && errno == EINTR) {
    }
    native_->pid = -1;
    status_ = -1;
}

} // namespace orvtest
