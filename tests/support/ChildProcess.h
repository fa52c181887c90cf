#pragma once
// A program a test runs as a child process: its standard output and error go to
// files the test reads while it runs, its environment is the test's with some
// changes, it is stopped the way a user or the system stops it, and it is never
// left behind: one still running when the object goes is killed, and one whose
// test crashed dies with it.
//
//   orvtest::ChildProcess service({{path, "--ready-file", ready}, dir.File("out")});
//   ...
//   service.RequestStop(platform::StopKind::Terminate);
//   EXPECT_EQ(service.Wait(), 0);

#include <platform/StopRequests.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvtest {

/// Generous: a loaded machine (or Wine) may take long to start a program.
constexpr std::chrono::seconds kChildBound{120};

struct ChildSetup {
    std::vector<std::string> argv; // argv[0] is the program's path
    std::string outputPath;        // standard output appended here; empty: the null device
    std::string errorPath;         // standard error likewise
    /// Standard output into a pipe whose reading end is closed already.
    bool outputToClosedPipe = false;
    /// Windows only: the child runs attached to a new pseudo console, and what
    /// the console sends to its terminal (text and VT sequences) goes to
    /// outputPath; standard error is the console too. Refused elsewhere.
    bool pseudoConsole = false;
    /// A value sets the variable for the child, nothing unsets it.
    std::map<std::string, std::optional<std::string>> environment;
};

/// A setup that runs the current test again in a child: this test program with
/// a filter for the running test, so the test can do a child's part there.
ChildSetup ThisTestAgain();

class ChildProcess {
public:
    /// Starts the child; StartError() says why when it could not.
    explicit ChildProcess(const ChildSetup& setup);
    /// `argv` with its output discarded and the test's environment.
    explicit ChildProcess(const std::vector<std::string>& argv) : ChildProcess(Discarding(argv)) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// Empty when the child started.
    const std::string& StartError() const { return startError_; }
    /// The system's id of the child; 0 when it did not start.
    uint32_t Id() const { return id_; }
    /// True once the child ended (or never started); does not wait.
    bool Ended();
    /// Waits for the end, killing the child after `bound`. The exit status; -1
    /// when the child did not exit by itself (killed, a signal, never started).
    int Wait(std::chrono::milliseconds bound = kChildBound);
    /// Asks the child to stop as Ctrl-C or a termination request does; false when
    /// the request could not be delivered.
    bool RequestStop(platform::StopKind kind);
    /// Ends the child at once, as a crash would, and collects it.
    void Kill();

private:
    static ChildSetup Discarding(const std::vector<std::string>& argv) {
        ChildSetup setup;
        setup.argv = argv;
        return setup;
    }

    struct Native;
    std::unique_ptr<Native> native_;
    uint32_t id_ = 0;
    std::optional<int> status_; // once the child ended
    std::string startError_;
};

} // namespace orvtest
