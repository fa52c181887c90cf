#include "tools/ToolRun.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace toolstest {

namespace {

// Generous: a loaded machine may take long to start a program or to grab.
constexpr std::chrono::seconds kBound{120};

std::vector<std::string>
ChildEnvironment(const std::map<std::string, std::optional<std::string>>& changes);

} // namespace

/// A temporary file that the child writes and the parent reads back.
class ToolProcess::CaptureFile {
public:
    CaptureFile() {
        const char* tmp = std::getenv("TMPDIR");
        path_ =
            std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/orvgrab-test-XXXXXX";
        const int fd = ::mkstemp(path_.data());
        if (fd < 0)
            throw std::runtime_error("cannot create a capture file from " + path_);
        ::close(fd);
    }
    ~CaptureFile() { ::unlink(path_.c_str()); }
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    const std::string& path() const { return path_; }
    std::string Read() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string path_;
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

} // namespace

ToolProcess::ToolProcess(const std::vector<std::string>& argv,
                         const std::map<std::string, std::optional<std::string>>& environment)
    : out_(std::make_unique<CaptureFile>()), err_(std::make_unique<CaptureFile>()) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_->path().c_str(),
                                       O_WRONLY | O_TRUNC, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_->path().c_str(),
                                       O_WRONLY | O_TRUNC, 0);

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> entries = ChildEnvironment(environment);
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        startError_ = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
    else
        pid_ = pid;
}

ToolProcess::~ToolProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

bool ToolProcess::WaitForOutput(const std::string& needle) const {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (out_->Read().find(needle) == std::string::npos) {
        siginfo_t ended{};
        if (pid_ <= 0 ||
            ::waitid(P_PID, static_cast<id_t>(pid_), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            ended.si_pid != 0 || std::chrono::steady_clock::now() > deadline)
            return out_->Read().find(needle) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ToolProcess::Signal(int signal) const {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

ToolResult ToolProcess::Wait() {
    ToolResult result;
    if (pid_ <= 0) {
        result.err = startError_;
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(pid_, &status, WNOHANG)) == 0 || (done < 0 && errno == EINTR)) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            done = ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (done == pid_ && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    pid_ = -1;
    result.out = out_->Read();
    result.err = err_->Read();
    return result;
}

ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::optional<std::string>>& environment) {
    return ToolProcess(argv, environment).Wait();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::optional<std::string> Field(const std::string& text, const std::string& key) {
    for (const std::string& line : Lines(text))
        if (line.rfind(key + ": ", 0) == 0)
            return line.substr(key.size() + 2);
    return std::nullopt;
}

} // namespace toolstest
