#include "support/win32/LeanWindows.h"

#include "support/ChildProcess.h"

#include <cstring>
#include <mutex>

namespace orvtest {

struct ChildProcess::Native {
    HANDLE process = nullptr;
    HANDLE job = nullptr; // kills the child when the test ends, however it ends
};

namespace {

std::string LastErrorText(const std::string& what) {
    return what + " (error " + std::to_string(::GetLastError()) + ")";
}

// One argument as the C run-time splits a command line: quoted when it holds
// blanks or quotes, backslashes doubled before a quote.
std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string CommandLine(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& argument : argv)
        line += (line.empty() ? "" : " ") + Quoted(argument);
    return line;
}

std::string NativePath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool SameName(const std::string& a, const std::string& b) {
    return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                            b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// The test's environment with the changes, as CreateProcess takes it.
std::string EnvironmentBlock(const std::map<std::string, std::optional<std::string>>& changes) {
    std::string block;
    char* strings = ::GetEnvironmentStringsA();
    for (const char* entry = strings; entry != nullptr && *entry != '\0';
         entry += std::strlen(entry) + 1) {
        const std::string text = entry;
        // Entries such as "=C:=C:\\" name a drive's directory, not a variable.
        const std::string name = text.substr(0, text.find('=', 1));
        bool changed = false;
        for (const auto& change : changes)
            changed = changed || SameName(change.first, name);
        if (!changed)
            block += text + '\0';
    }
    if (strings != nullptr)
        ::FreeEnvironmentStringsA(strings);
    for (const auto& [name, value] : changes)
        if (value)
            block += name + "=" + *value + '\0';
    return block + '\0';
}

HANDLE OpenOutput(const std::string& path, SECURITY_ATTRIBUTES* inherit) {
    if (path.empty())
        return ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, inherit,
                             OPEN_EXISTING, 0, nullptr);
    return ::CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, inherit,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE ClosedPipe(SECURITY_ATTRIBUTES* inherit) {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, inherit, 0))
        return INVALID_HANDLE_VALUE;
    ::CloseHandle(read);
    return write;
}

HANDLE KillOnCloseJob() {
    HANDLE job = ::CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

// Inheritable handles made for one child must not reach another started at the
// same time from another thread.
std::mutex& StartLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

ChildProcess::ChildProcess(const ChildSetup& setup) : native_(std::make_unique<Native>()) {
    if (setup.argv.empty()) {
        startError_ = "no program";
        return;
    }
    std::lock_guard<std::mutex> guard(StartLock());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE in = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              OPEN_EXISTING, 0, nullptr);
    HANDLE out =
        setup.outputToClosedPipe ? ClosedPipe(&inherit) : OpenOutput(setup.outputPath, &inherit);
    HANDLE err = OpenOutput(setup.errorPath, &inherit);
    if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
        startError_ = LastErrorText("cannot open the child's files");
    } else {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION started{};
        const std::string program = NativePath(setup.argv[0]);
        std::string line = CommandLine(setup.argv);
        std::string environment = EnvironmentBlock(setup.environment);
        if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                              CREATE_SUSPENDED, environment.data(), nullptr, &startup, &started)) {
            startError_ = LastErrorText("cannot start " + setup.argv[0]);
        } else {
            native_->job = KillOnCloseJob();
            if (native_->job != nullptr)
                ::AssignProcessToJobObject(native_->job, started.hProcess);
            ::ResumeThread(started.hThread);
            ::CloseHandle(started.hThread);
            native_->process = started.hProcess;
            id_ = started.dwProcessId;
        }
    }
    for (HANDLE handle : {in, out, err})
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
}

ChildProcess::~ChildProcess() {
    Kill();
    if (native_->job != nullptr)
        ::CloseHandle(native_->job);
}

bool ChildProcess::Ended() {
    if (status_ || native_->process == nullptr)
        return true;
    if (::WaitForSingleObject(native_->process, 0) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    status_ = ::GetExitCodeProcess(native_->process, &code) ? static_cast<int>(code) : -1;
    ::CloseHandle(native_->process);
    native_->process = nullptr;
    return true;
}

int ChildProcess::Wait(std::chrono::milliseconds bound) {
    if (native_->process != nullptr &&
        ::WaitForSingleObject(native_->process, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0)
        Kill();
    Ended();
    return status_.value_or(-1);
}

bool ChildProcess::RequestStop(platform::StopKind kind) {
    return native_->process != nullptr && platform::RequestStop(id_, kind);
}

void ChildProcess::Kill() {
    if (Ended())
        return;
    ::TerminateProcess(native_->process, 1);
    ::WaitForSingleObject(native_->process, INFINITE);
    ::CloseHandle(native_->process);
    native_->process = nullptr;
    status_ = -1;
}

} // namespace orvtest
