#include "LogServiceProcess.h"

#include <algorithm>
#include <nwLogging/ConnectionInfo.h>

#include <platform/SharedMemory.h>

#include <boost/filesystem.hpp>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace logsvctest {

namespace {

// Starts the service with standard output and error sent to files. The child
// dies with the test (a crashed test must not leave a service, and its block,
// behind).
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outPath,
            const std::string& errPath, int standardOutput = -1) {
    std::vector<std::string> all{ORV_LOGSVC_PATH};
    // The test's private block, never the machine's, unless the test names one.
    if (std::find(arguments.begin(), arguments.end(), "--block-name") == arguments.end()) {
        all.push_back("--block-name");
        all.push_back(GlobalBlockName());
    }
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int out = standardOutput >= 0
                        ? ::fcntl(standardOutput, F_DUPFD_CLOEXEC, 0)
                        : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(126);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(err);
    if (pid < 0)
        throw std::runtime_error("cannot start orvlogsvc");
    return pid;
}

// The exit status once the child ended, -1 for a signal; nothing while it runs.
bool Reap(pid_t pid, int* status, bool wait) {
    int raw = 0;
    pid_t result;
    do {
        result = ::waitpid(pid, &raw, wait ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result != pid)
        return false;
    *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return true;
}

nwLogging::endpoint EndpointOf(const std::string& text) {
    return nwLogging::parse_socket_address(text);
}

} // namespace

void PollPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    // Written aside and renamed: the service may read the file at any moment.
    const std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
    }
    std::rename(temporary.c_str(), path.c_str());
}

bool BlockExists(const std::string& name) {
    uint8_t byte = 0;
    return platform::ReadSharedMemory(name, &byte, 1).opened;
}

std::string GlobalBlockName() {
    return std::string(nwLogging::global_block_prefix) + nwLogging::block_name();
}

LogServiceProcess::LogServiceProcess(const std::string& configJson,
                                     const std::vector<std::string>& extra) {
    std::vector<std::string> arguments{"--output", directory_ + "/records.txt"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    Start(configJson, arguments, -1);
}

LogServiceProcess::LogServiceProcess(const std::string& configJson, int standardOutput) {
    Start(configJson, {}, standardOutput);
}

void LogServiceProcess::Start(const std::string& configJson, const std::vector<std::string>& extra,
                              int standardOutput) {
    std::vector<std::string> arguments{"--ready-file", ReadyPath(), "--replace"};
    if (!configJson.empty()) {
        WriteConfig(configJson);
        arguments.push_back("--config");
        arguments.push_back(ConfigPath());
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    pid_ = Spawn(arguments, directory_ + "/stdout.txt", directory_ + "/stderr.txt", standardOutput);
    int status = 0;
    bool exited = false;
    ready_ = WaitFor([&] {
        if (Reap(pid_, &status, false)) {
            exited = true;
            return true;
        }
        return boost::filesystem::exists(ReadyPath());
    });
    if (exited) {
        pid_ = -1;
        ready_ = false;
        return;
    }
    if (!ready_)
        return;
    std::istringstream lines(ReadText(ReadyPath()));
    std::string word, value;
    while (lines >> word >> value) {
        if (word == "command")
            command_ = EndpointOf(value);
        else if (word == "records")
            records_ = EndpointOf(value);
    }
}

LogServiceProcess::~LogServiceProcess() {
    if (pid_ > 0)
        Stop(SIGTERM);
}

void LogServiceProcess::WriteConfig(const std::string& json) const {
    WriteText(ConfigPath(), json);
}

std::string LogServiceProcess::Output() const {
    return ReadText(directory_ + "/records.txt");
}

std::string LogServiceProcess::Errors() const {
    return ReadText(directory_ + "/stderr.txt");
}

bool LogServiceProcess::WaitForOutput(const std::string& needle) const {
    return WaitFor([&] { return Output().find(needle) != std::string::npos; });
}

bool LogServiceProcess::WaitForErrors(const std::string& needle) const {
    return WaitFor([&] { return Errors().find(needle) != std::string::npos; });
}

int LogServiceProcess::Stop(int signal) {
    if (pid_ <= 0)
        return -1;
    ::kill(pid_, signal);
    int status = -1;
    const bool ended = WaitFor([&] { return Reap(pid_, &status, false); });
    if (!ended) {
        ::kill(pid_, SIGKILL);
        Reap(pid_, &status, true);
        status = -1;
    }
    pid_ = -1;
    return status;
}

void LogServiceProcess::Crash() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    Reap(pid_, &status, true);
    pid_ = -1;
}

Completed RunService(const std::vector<std::string>& arguments) {
    const orvtest::TempDir scratch("orvlogsvc-test");
    const std::string& directory = scratch.path();
    Completed completed;
    const pid_t pid = Spawn(arguments, directory + "/out", directory + "/err");
    const bool ended = WaitFor([&] { return Reap(pid, &completed.status, false); });
    if (!ended) {
        ::kill(pid, SIGKILL);
        Reap(pid, &completed.status, true);
        completed.status = -1;
    }
    completed.out = ReadText(directory + "/out");
    completed.err = ReadText(directory + "/err");
    return completed;
}

} // namespace logsvctest
