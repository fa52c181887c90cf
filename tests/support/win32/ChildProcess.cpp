// Pseudo consoles came with Windows 10 1809; the headers show them from there on.
#ifndef NTDDI_VERSION
#define NTDDI_VERSION 0x0A000006
#endif
#include "support/win32/LeanWindows.h"

#include "support/ChildProcess.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace orvtest {
namespace {

// A pseudo console, and a thread that copies what it sends to its terminal into
// a file, as the terminal would show it.
class ConsoleRelay {
public:
    ConsoleRelay() = default;
    ConsoleRelay(const ConsoleRelay&) = delete;
    ConsoleRelay& operator=(const ConsoleRelay&) = delete;
    ~ConsoleRelay() { Close(); }

    /// Empty when the console is open and relayed to `path`.
    std::string Open(const std::string& path) {
        file_ = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        HANDLE consoleInput = nullptr;
        HANDLE consoleOutput = nullptr;
        if (file_ == INVALID_HANDLE_VALUE || !::CreatePipe(&consoleInput, &input_, nullptr, 0))
            return "cannot open the console's file or input";
        if (!::CreatePipe(&output_, &consoleOutput, nullptr, 0)) {
            ::CloseHandle(consoleInput);
            return "cannot open the console's output";
        }
        // Wide enough that no line of a test wraps.
        const HRESULT result =
            ::CreatePseudoConsole(COORD{250, 25}, consoleInput, consoleOutput, 0, &console_);
        // The console keeps its own copies.
        ::CloseHandle(consoleInput);
        ::CloseHandle(consoleOutput);
        if (FAILED(result)) {
            console_ = nullptr;
            return "cannot create a pseudo console (HRESULT " + std::to_string(result) + ")";
        }
        relay_ = std::thread([this] { Relay(); });
        return {};
    }

    HPCON Handle() const { return console_; }

    /// Closes the console; once its output has ended, the file has all of it.
    void Close() {
        if (console_ != nullptr)
            ::ClosePseudoConsole(console_);
        console_ = nullptr;
        closed_ = true;
        if (relay_.joinable())
            relay_.join();
        for (HANDLE* handle : {&input_, &output_, &file_})
            if (*handle != nullptr && *handle != INVALID_HANDLE_VALUE) {
                ::CloseHandle(*handle);
                *handle = nullptr;
            }
    }

private:
    // Copies until the console's output ends. A process the console started
    // (Wine's explorer.exe, which outlives the test) may hold the pipe's writing
    // end, so that end never comes: once the console is closed, a quiet spell
    // also ends the copying.
    void Relay() {
        constexpr auto kQuietSpell = std::chrono::seconds(2);
        auto lastData = std::chrono::steady_clock::now();
        char buffer[4096];
        for (;;) {
            DWORD available = 0;
            if (!::PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr))
                return; // every writer is gone
            if (available == 0) {
                if (closed_ && std::chrono::steady_clock::now() - lastData > kQuietSpell)
                    return;
                ::Sleep(5);
                continue;
            }
            DWORD read = 0;
            if (!::ReadFile(output_, buffer, available < sizeof buffer ? available : sizeof buffer,
                            &read, nullptr))
                return;
            DWORD written = 0;
            ::WriteFile(file_, buffer, read, &written, nullptr);
            lastData = std::chrono::steady_clock::now();
        }
    }

    HPCON console_ = nullptr;
    HANDLE input_ = nullptr;  // the console's input, kept open while it lives
    HANDLE output_ = nullptr; // what the console sends to its terminal
    HANDLE file_ = nullptr;
    std::atomic<bool> closed_{false};
    std::thread relay_;
};

} // namespace

struct ChildProcess::Native {
    HANDLE process = nullptr;
    HANDLE job = nullptr; // kills the child when the test ends, however it ends
    ConsoleRelay console; // a pseudo console, when the child has one
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

// The child with its standard streams on the null device, files or a closed pipe.
std::string StartWithFiles(const ChildSetup& setup, std::string& line, std::string& environment,
                           PROCESS_INFORMATION& started) {
    std::lock_guard<std::mutex> guard(StartLock());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE in = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              OPEN_EXISTING, 0, nullptr);
    HANDLE out =
        setup.outputToClosedPipe ? ClosedPipe(&inherit) : OpenOutput(setup.outputPath, &inherit);
    HANDLE err = OpenOutput(setup.errorPath, &inherit);
    std::string error;
    if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
        error = LastErrorText("cannot open the child's files");
    } else {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        if (!::CreateProcessA(NativePath(setup.argv[0]).c_str(), line.data(), nullptr, nullptr,
                              TRUE, CREATE_SUSPENDED, environment.data(), nullptr, &startup,
                              &started))
            error = LastErrorText("cannot start " + setup.argv[0]);
    }
    for (HANDLE handle : {in, out, err})
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    return error;
}

// The child attached to `console`, inheriting no handles.
std::string StartInConsole(const ChildSetup& setup, HPCON console, std::string& line,
                           std::string& environment, PROCESS_INFORMATION& started) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size);
    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    if (!::InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size))
        return LastErrorText("cannot make the attribute list");
    std::string error;
    if (!::UpdateProcThreadAttribute(startup.lpAttributeList, 0,
                                     PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE, console, sizeof console,
                                     nullptr, nullptr))
        error = LastErrorText("cannot attach the pseudo console");
    else if (!::CreateProcessA(NativePath(setup.argv[0]).c_str(), line.data(), nullptr, nullptr,
                               FALSE, CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT,
                               environment.data(), nullptr, &startup.StartupInfo, &started))
        error = LastErrorText("cannot start " + setup.argv[0]);
    ::DeleteProcThreadAttributeList(startup.lpAttributeList);
    return error;
}

} // namespace

ChildProcess::ChildProcess(const ChildSetup& setup) : native_(std::make_unique<Native>()) {
    if (setup.argv.empty()) {
        startError_ = "no program";
        return;
    }
    std::string line = CommandLine(setup.argv);
    std::string environment = EnvironmentBlock(setup.environment);
    PROCESS_INFORMATION started{};
    if (!setup.pseudoConsole) {
        startError_ = StartWithFiles(setup, line, environment, started);
    } else {
        startError_ = native_->console.Open(setup.outputPath);
        if (startError_.empty())
            startError_ =
                StartInConsole(setup, native_->console.Handle(), line, environment, started);
    }
    if (!startError_.empty()) {
        native_->console.Close();
        return;
    }
    native_->job = KillOnCloseJob();
    if (native_->job != nullptr)
        ::AssignProcessToJobObject(native_->job, started.hProcess);
    ::ResumeThread(started.hThread);
    ::CloseHandle(started.hThread);
    native_->process = started.hProcess;
    id_ = started.dwProcessId;
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
    native_->console.Close();
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
    native_->console.Close();
    status_ = -1;
}

} // namespace orvtest
