#include "LogServiceProcess.h"

#include <nwLogging/ConnectionInfo.h>

#include <platform/SharedMemory.h>

#include <boost/filesystem.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace logsvctest {

namespace {

// Starts the service with standard output and error sent to files.
std::unique_ptr<orvtest::ChildProcess> Spawn(const std::vector<std::string>& arguments,
                                             const std::string& outPath, const std::string& errPath,
                                             bool closedPipeOutput = false) {
    orvtest::ChildSetup setup;
    setup.argv = {ORV_LOGSVC_PATH};
    // The test's private block, never the machine's, unless the test names one.
    if (std::find(arguments.begin(), arguments.end(), "--block-name") == arguments.end()) {
        setup.argv.push_back("--block-name");
        setup.argv.push_back(GlobalBlockName());
    }
    setup.argv.insert(setup.argv.end(), arguments.begin(), arguments.end());
    setup.outputPath = outPath;
    setup.errorPath = errPath;
    setup.outputToClosedPipe = closedPipeOutput;
    auto child = std::make_unique<orvtest::ChildProcess>(setup);
    if (!child->StartError().empty())
        throw std::runtime_error(child->StartError());
    return child;
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
    boost::system::error_code ignored;
    boost::filesystem::rename(temporary, path, ignored);
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
    Start(configJson, arguments, false);
}

LogServiceProcess::LogServiceProcess(const std::string& configJson, ClosedPipeOutput) {
    Start(configJson, {}, true);
}

void LogServiceProcess::Start(const std::string& configJson, const std::vector<std::string>& extra,
                              bool closedPipeOutput) {
    std::vector<std::string> arguments{"--ready-file", ReadyPath(), "--replace"};
    if (!configJson.empty()) {
        WriteConfig(configJson);
        arguments.push_back("--config");
        arguments.push_back(ConfigPath());
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    child_ =
        Spawn(arguments, directory_ + "/stdout.txt", directory_ + "/stderr.txt", closedPipeOutput);
    bool exited = false;
    // The file appears whole (written aside and renamed), but Windows may refuse
    // to open it while the rename still holds it: ready once both endpoints read.
    ready_ = WaitFor([&] {
        exited = child_->Ended();
        return exited || ReadEndpoints();
    });
    if (exited) {
        child_.reset();
        ready_ = false;
    }
}

bool LogServiceProcess::ReadEndpoints() {
    std::istringstream lines(ReadText(ReadyPath()));
    std::string word, value;
    while (lines >> word >> value) {
        if (word == "command")
            command_ = EndpointOf(value);
        else if (word == "records")
            records_ = EndpointOf(value);
    }
    return command_.port != 0 && records_.port != 0;
}

LogServiceProcess::~LogServiceProcess() {
    Stop(platform::StopKind::Terminate);
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

int LogServiceProcess::Stop(platform::StopKind kind) {
    if (!child_)
        return -1;
    child_->RequestStop(kind);
    const int status = child_->Wait(kBound);
    child_.reset();
    return status;
}

void LogServiceProcess::Crash() {
    if (child_)
        child_->Kill();
    child_.reset();
}

Completed RunService(const std::vector<std::string>& arguments) {
    const orvtest::TempDir scratch("orvlogsvc-test");
    const std::string& directory = scratch.path();
    Completed completed;
    {
        const std::unique_ptr<orvtest::ChildProcess> child =
            Spawn(arguments, directory + "/out", directory + "/err");
        completed.status = child->Wait(kBound);
    }
    completed.out = orvtest::ReadWrittenText(directory + "/out");
    completed.err = orvtest::ReadWrittenText(directory + "/err");
    return completed;
}

} // namespace logsvctest
