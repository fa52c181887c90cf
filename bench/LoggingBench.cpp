// nwLogging against spdlog doing the same work:
//  - a disabled log site (one thread, and two threads at once);
//  - an enabled record written to a file, one line flushed per record;
//  - a record sent to the log service, against a raw sendto of the same bytes.
// Run: build-bench/bench/bench_logging --benchmark_repetitions=5
//      --benchmark_report_aggregates_only=true   (see docs/performance.md)

#include <nwLogging/FileTarget.h>
#include <nwLogging/LogMacros.h>
#include <nwLogging/LogSvcTarget.h>
#include <nwLogging/Target.h>

#include <benchmark/benchmark.h>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/null_sink.h>
#include <spdlog/spdlog.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace nw = nwLogging;

namespace {

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/" + name;
}

// A logger of its own tree with mask "info": debug records are disabled.
nw::logger_ptr NwLogger() {
    static const nw::logger_ptr root = [] {
        nw::logger_ptr made = nw::basic_logger::make_root("GDRVM");
        made->state()->set_level_mask(15);
        return made;
    }();
    static const nw::logger_ptr logger = root->get_child("Bench");
    return logger;
}

// ---- disabled site ------------------------------------------------------

void BM_DisabledSite_nwLogging(benchmark::State& state) {
    const nw::logger_ptr logger = NwLogger();
    int value = 0;
    for (auto _ : state) {
        NWLOG(logger, nw::level_debug, "\tGrab2: buffer " << value << " delivered");
        ++value;
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_DisabledSite_nwLogging)->Threads(1)->Threads(2);

std::shared_ptr<spdlog::logger> SpdlogOff() {
    static const std::shared_ptr<spdlog::logger> logger = [] {
        auto made = std::make_shared<spdlog::logger>(
            "GDRVM.bench", std::make_shared<spdlog::sinks::null_sink_mt>());
        made->set_level(spdlog::level::off);
        return made;
    }();
    return logger;
}

void BM_DisabledSite_spdlog(benchmark::State& state) {
    const std::shared_ptr<spdlog::logger> logger = SpdlogOff();
    int value = 0;
    for (auto _ : state) {
        logger->debug("\tGrab2: buffer {} delivered", value);
        ++value;
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_DisabledSite_spdlog)->Threads(1)->Threads(2);

// ---- enabled record to a target that writes nothing ----------------------
// What a record costs before any output: stream, stamp, dispatch and line.

class LineOnlyTarget : public nw::basic_target {
protected:
    void do_write(const nw::basic_timed_msgstate& record, const std::string& text) override {
        line_.clear();
        nw::append_line(line_, record, text);
        benchmark::DoNotOptimize(line_.data());
    }

private:
    std::string line_;
};

void BM_EnabledRecord_nwLogging(benchmark::State& state) {
    nw::install_target(nullptr, std::make_shared<LineOnlyTarget>());
    const nw::logger_ptr logger = NwLogger();
    int value = 0;
    for (auto _ : state) {
        NWLOG(logger, nw::level_info, "\tGrab2: buffer " << value << " delivered");
        ++value;
    }
    nw::release_targets();
}
BENCHMARK(BM_EnabledRecord_nwLogging);

void BM_EnabledRecord_spdlog(benchmark::State& state) {
    // A sink that formats the line like a file sink and writes it nowhere.
    class LineOnlySink : public spdlog::sinks::base_sink<std::mutex> {
    protected:
        void sink_it_(const spdlog::details::log_msg& message) override {
            spdlog::memory_buf_t line;
            formatter_->format(message, line);
            benchmark::DoNotOptimize(line.data());
        }
        void flush_() override {}
    };
    auto logger = std::make_shared<spdlog::logger>("GDRVM.bench", std::make_shared<LineOnlySink>());
    logger->set_pattern("%Y-%b-%d %H:%M:%S.%f %n [%l] %v");
    logger->set_level(spdlog::level::info);
    int value = 0;
    for (auto _ : state) {
        logger->info("\tGrab2: buffer {} delivered", value);
        ++value;
    }
}
BENCHMARK(BM_EnabledRecord_spdlog);

// ---- file line, flushed per record --------------------------------------

void BM_FileLine_nwLogging(benchmark::State& state) {
    const std::string path = TempPath("bench-nwlogging.log");
    std::remove(path.c_str());
    nw::install_target(nullptr, std::make_shared<nw::basic_file_target>(path));
    const nw::logger_ptr logger = NwLogger();
    int value = 0;
    for (auto _ : state) {
        NWLOG(logger, nw::level_info, "\tGrab2: buffer " << value << " delivered");
        ++value;
    }
    nw::release_targets();
    state.SetItemsProcessed(state.iterations());
    std::remove(path.c_str());
}
BENCHMARK(BM_FileLine_nwLogging);

void BM_FileLine_spdlog(benchmark::State& state) {
    const std::string path = TempPath("bench-spdlog.log");
    std::remove(path.c_str());
    auto logger = std::make_shared<spdlog::logger>(
        "GDRVM.bench", std::make_shared<spdlog::sinks::basic_file_sink_mt>(path));
    // The same line: 2021-Mar-03 08:05:07.125000 GDRVM.bench [info] text
    logger->set_pattern("%Y-%b-%d %H:%M:%S.%f %n [%l] %v");
    logger->set_level(spdlog::level::info);
    logger->flush_on(spdlog::level::trace); // every line
    int value = 0;
    for (auto _ : state) {
        logger->info("\tGrab2: buffer {} delivered", value);
        ++value;
    }
    logger.reset();
    state.SetItemsProcessed(state.iterations());
    std::remove(path.c_str());
}
BENCHMARK(BM_FileLine_spdlog);

// ---- record datagram to the log service ---------------------------------

// A bound socket on 127.0.0.1 that nobody reads: both sides pay the same for
// what the kernel does with a datagram once it is queued or dropped.
class Receiver {
public:
    Receiver() : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Receiver() { ::close(fd_); }
    uint16_t port() const { return port_; }
    /// The next datagram waiting, blocking.
    std::vector<uint8_t> Take() {
        std::vector<uint8_t> bytes(2048);
        const ssize_t n = ::recv(fd_, bytes.data(), bytes.size(), 0);
        bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return bytes;
    }

private:
    int fd_;
    uint16_t port_ = 0;
};

void BM_ServiceRecord_nwLogging(benchmark::State& state) {
    Receiver receiver;
    nw::install_target(nullptr, std::make_shared<nw::basic_logsvc_target>(
                                    nw::endpoint{0x7F000001, receiver.port()}, true));
    const nw::logger_ptr logger = NwLogger();
    int value = 0;
    for (auto _ : state) {
        NWLOG_AT(logger, nw::level_info, "DriverIGrab2", 120,
                 "\tGrab2: buffer " << value << " delivered");
        ++value;
    }
    nw::release_targets();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ServiceRecord_nwLogging);

void BM_ServiceRecord_rawSendto(benchmark::State& state) {
    Receiver receiver;
    // The very bytes the client sends for such a record.
    nw::install_target(nullptr, std::make_shared<nw::basic_logsvc_target>(
                                    nw::endpoint{0x7F000001, receiver.port()}, true));
    NWLOG_AT(NwLogger(), nw::level_info, "DriverIGrab2", 120,
             "\tGrab2: buffer " << 0 << " delivered");
    nw::release_targets();
    const std::vector<uint8_t> datagram = receiver.Take();

    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(receiver.port());
    for (auto _ : state) {
        benchmark::DoNotOptimize(::sendto(fd, datagram.data(), datagram.size(), 0,
                                          reinterpret_cast<const sockaddr*>(&target),
                                          sizeof target));
    }
    ::close(fd);
    state.SetItemsProcessed(state.iterations());
    state.counters["bytes"] = static_cast<double>(datagram.size());
}
BENCHMARK(BM_ServiceRecord_rawSendto);

} // namespace

BENCHMARK_MAIN();
