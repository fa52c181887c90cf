// Per-image cost of the full image path (host API -> IGrab2::GrabWait -> the
// driver's buffer list -> simulated SDK) against the same simulated SDK waited
// on directly, and heap allocations per image.
//
// Both paths run DMA 0 of the simulator's default board free-running (rate 0)
// into 256 buffers of 64 x 48 gray8 and wait for the same pictures in the same
// order, with the SDK calls the lock mode asks for:
//   lock_mode:2  blocking acquisition, pre-filled: the timer stands still while
//                the acquisition is (re)started and the DMA fills every buffer,
//                then one image per buffer is waited for. Every wait finds its
//                picture delivered and nothing else runs: the path's own cost.
//                BM_PausedBatchOverhead gives what pausing the timer adds per
//                image, the same for both paths.
//   lock_mode:1  standard acquisition, steady state: the DMA overwrites the ring
//                and runs ahead of the waits on its own thread.
//   lock_mode:0  blocking acquisition, steady state: each wait first hands the
//                previous buffer back, the DMA refills it on its own thread.
// "ready" is the share of waits that found their picture already delivered
// (checked on every batch for lock mode 2, in a pass before the timed loop
// otherwise). "allocs_per_image" counts every operator new of the process during
// the waits, after a warm-up.
//
// BM_AnchorLayerChain is the floor the module's layering is compared with: five
// virtual calls, each taking and giving back a try-lock. BM_NumBuffersRing and
// BM_MallocMemsetRing compare changing the number of buffers to a ring of
// ORV_BENCH_RING_BUFFERS frames with malloc + memset of the same size.
//
// The applet comes from the environment, so one program measures every case:
// ORV_BENCH_FRAME=<width>x<height> (default 64x48) and ORV_BENCH_FRAMERATE (frames
// per second, default 0: as fast as the buffers allow), e.g. ORV_BENCH_FRAMERATE=100000
// for the steady state at 100 kHz and ORV_BENCH_FRAME=1024x1024 for a 64 MiB ring.
#include "AllocationCounter.h"
#include "Sandbox.h"

#include <fglib5.h>

#include <ORHost/HostApp.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

/// The applet's frame size and rate, from the environment (see the top).
struct FrameSettings {
    uint32_t width = 64;
    uint32_t height = 48;
    double frameRate = 0.0;
    FrameSettings() {
        if (const char* frame = std::getenv("ORV_BENCH_FRAME")) {
            unsigned w = 0, h = 0;
            if (std::sscanf(frame, "%ux%u", &w, &h) == 2 && w > 0 && h > 0) {
                width = w;
                height = h;
            }
        }
        if (const char* rate = std::getenv("ORV_BENCH_FRAMERATE"))
            frameRate = std::strtod(rate, nullptr);
    }
};
const FrameSettings kFrame;
const uint32_t kWidth = kFrame.width;
const uint32_t kHeight = kFrame.height;
const size_t kFrameBytes = size_t{kWidth} * kHeight;
constexpr int64_t kBuffers = 256;
constexpr int32_t kRingBuffers = 64;
// The configured ring: kBuffers, or 2 for large frames (the ring benchmarks make
// the large ring themselves).
const int64_t kConfiguredBuffers = kFrameBytes > (size_t{64} << 10) ? 2 : kBuffers;
constexpr int kTimeoutSeconds = 5;
constexpr unsigned kFillTimeoutMs = 10000;
constexpr int kWarmUpImages = 2000;
constexpr int kCheckedImages = 2000;

/// A sandbox with the bench's applet and configuration, for the process's life.
class BenchEnvironment {
public:
    BenchEnvironment() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/orv-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create " + pattern);
        root_ = pattern;
        const fs::path drivers = fs::path(root_) / "data" / "Drivers";
        fs::create_directories(drivers);
        applet_ = (drivers / "bench.mcf").string();
        std::ofstream(applet_) << "[dma0]\nwidth = " << kWidth << "\nheight = " << kHeight
                               << "\nformat = gray8\nframerate = " << kFrame.frameRate
                               << "\ntrigger = freerun\n";
        std::ofstream(drivers / "ORSisoMe.ini")
            << "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\bench.mcf\n\n[BOARD0_DMA0]\nframebuffers="
            << kConfiguredBuffers << "\n";
        Sandbox::Settings settings;
        settings.root = root_;
        settings.genicamLibrary = ORV_SIM_GENICAM_LIBRARY;
        sandbox_ = std::make_unique<Sandbox>(settings);
    }
    ~BenchEnvironment() {
        sandbox_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    BenchEnvironment(const BenchEnvironment&) = delete;
    BenchEnvironment& operator=(const BenchEnvironment&) = delete;
    const std::string& Applet() const { return applet_; }

private:
    std::string root_;
    std::string applet_;
    std::unique_ptr<Sandbox> sandbox_;
};

BenchEnvironment* g_environment = nullptr;
orvhost::DriverModule* g_module = nullptr;

int64_t Delivered() {
    SimCtlDmaCounters counters{};
    SimCtl_GetDmaCounters(0, 0, &counters);
    return counters.delivered;
}

/// Lock mode 2: batches of one wait per buffer, each on a freshly filled ring of
/// `buffers` buffers.
template <class Restart, class Wait>
void PrefilledBatches(benchmark::State& state, int64_t buffers, Restart&& restart, Wait&& wait) {
    int64_t batches = 0, readyBatches = 0;
    AllocationCounter::Restart();
    AllocationCounter::Stop();
    while (state.KeepRunningBatch(buffers)) {
        state.PauseTiming();
        if (!restart() || SimCtl_WaitFrames(0, 0, buffers, kFillTimeoutMs) != SIMCTL_OK) {
            state.SkipWithError("cannot restart and fill the ring");
            return;
        }
        ++batches;
        readyBatches += Delivered() >= buffers ? 1 : 0;
        AllocationCounter::Resume();
        state.ResumeTiming();
        for (int64_t i = 0; i < buffers; ++i) {
            if (!wait()) {
                AllocationCounter::Stop();
                state.SkipWithError("a wait failed");
                return;
            }
        }
        AllocationCounter::Stop();
    }
    state.counters["ready"] = batches > 0 ? static_cast<double>(readyBatches) / batches : 0.0;
    state.counters["allocs_per_image"] =
        static_cast<double>(AllocationCounter::Count()) / static_cast<double>(state.iterations());
}

/// Lock modes 0 and 1: warm up, check readiness, then the timed steady state.
/// `nextPicture` answers the picture the next wait is for.
template <class Wait, class NextPicture>
void SteadyState(benchmark::State& state, Wait&& wait, NextPicture&& nextPicture) {
    for (int i = 0; i < kWarmUpImages; ++i) {
        if (!wait()) {
            state.SkipWithError("a warm-up wait failed");
            return;
        }
    }
    int ready = 0;
    for (int i = 0; i < kCheckedImages; ++i) {
        ready += Delivered() >= nextPicture() ? 1 : 0;
        if (!wait()) {
            state.SkipWithError("a wait failed");
            return;
        }
    }
    state.counters["ready"] = static_cast<double>(ready) / kCheckedImages;

    AllocationCounter::Restart();
    for (auto _ : state) {
        if (!wait()) {
            AllocationCounter::Stop();
            state.SkipWithError("a wait failed");
            return;
        }
    }
    state.counters["allocs_per_image"] =
        static_cast<double>(AllocationCounter::Stop()) / static_cast<double>(state.iterations());
}

/// DMA 0 acquiring endlessly into the buffers of a memory head, set up with the
/// SDK alone the way the driver sets it up for a lock mode; stopped and freed on
/// destruction.
class DirectRing {
public:
    explicit DirectRing(int64_t lockMode) : lockMode_(lockMode), block_(kFrameBytes * kBuffers) {
        grabber_ = Fg_OpenBoard(g_environment->Applet().c_str(), 0);
        if (grabber_ == nullptr)
            return;
        head_ = Fg_CreateMemoryHead(grabber_, block_.size(), kBuffers);
        for (int64_t i = 0; head_ != nullptr && i < kBuffers; ++i)
            Fg_AddBuffer(grabber_, block_.data() + i * kFrameBytes, kFrameBytes, i, head_);
        Start();
    }
    ~DirectRing() {
        Stop();
        if (head_ != nullptr) {
            for (int64_t i = 0; i < kBuffers; ++i)
                Fg_RemoveBuffer(grabber_, head_, i);
            Fg_FreeMemoryHead(grabber_, head_);
        }
        if (grabber_ != nullptr)
            Fg_CloseBoard(grabber_);
    }
    DirectRing(const DirectRing&) = delete;
    DirectRing& operator=(const DirectRing&) = delete;

    bool Running() const { return running_; }
    bool Restart() {
        Stop();
        return Start();
    }
    /// What the lock mode asks of the SDK per image: in lock mode 0 hand the
    /// previous buffer back, then wait for the next picture. Answers the picture's
    /// buffer number, 0 on failure.
    int64_t Wait() {
        if (previousBuffer_ != 0 &&
            Fg_SetBufferStatus(grabber_, FG_BUFFER_UNBLOCK, previousBuffer_, 0, head_) != FG_OK)
            return 0;
        if (Fg_WaitImage(grabber_, FG_WAIT_PICTURE_NUMBER, picture_, 0, kTimeoutSeconds, head_) !=
            picture_)
            return 0;
        const int64_t buffer = (picture_ - 1) % kBuffers + 1;
        if (lockMode_ == 0)
            previousBuffer_ = buffer;
        ++picture_;
        return buffer;
    }
    /// The queries the driver's buffer list makes for each delivered image.
    bool QueryAsTheDriverDoes(int64_t buffer) {
        uint64_t length = 0;
        uint16_t tag = 0;
        return Fg_GetBufferParameter(grabber_, FG_BUFPARAM_TRANSFER_LENGTH, &length, 0, head_,
                                     buffer) == FG_OK &&
               Fg_GetBufferParameter(grabber_, FG_BUFPARAM_TAG, &tag, 0, head_, buffer) == FG_OK &&
               Fg_QueryStatus(grabber_, FG_STATUS_BUFFER_LOCKED, buffer, 0, head_) ==
                   (lockMode_ == 1 ? 0 : 1);
    }
    int64_t NextPicture() const { return picture_; }

private:
    bool Start() {
        picture_ = 1;
        previousBuffer_ = 0;
        running_ = head_ != nullptr &&
                   Fg_AcquireEx(grabber_, 0, FG_FRAMES_ENDLESS,
                                lockMode_ == 1 ? FG_ACQ_STANDARD : FG_ACQ_BLOCKING, head_) == FG_OK;
        return running_;
    }
    void Stop() {
        if (running_)
            Fg_StopAcquire(grabber_, 0, head_, FG_STOP_SYNC);
        running_ = false;
    }

    int64_t lockMode_;
    std::vector<uint8_t> block_;
    Fg_Grabber* grabber_ = nullptr;
    Fg_Memory* head_ = nullptr;
    bool running_ = false;
    int64_t picture_ = 1;
    int64_t previousBuffer_ = 0;
};

template <class Wait> void RunDirect(benchmark::State& state, DirectRing& ring, Wait&& wait) {
    if (!ring.Running()) {
        state.SkipWithError("cannot start the DMA through the SDK");
        return;
    }
    if (state.range(0) == 2)
        PrefilledBatches(
            state, kBuffers, [&] { return ring.Restart(); }, wait);
    else
        SteadyState(state, wait, [&] { return ring.NextPicture(); });
}

/// The simulated SDK alone.
void BM_DirectWait(benchmark::State& state) {
    DirectRing ring(state.range(0));
    RunDirect(state, ring, [&] { return ring.Wait() != 0; });
}

/// The direct wait plus the driver's per-image SDK queries: the SDK's share of
/// the full path.
void BM_DirectWaitWithDriverQueries(benchmark::State& state) {
    DirectRing ring(state.range(0));
    RunDirect(state, ring, [&] {
        const int64_t buffer = ring.Wait();
        return buffer != 0 && ring.QueryAsTheDriverDoes(buffer);
    });
}

/// The full path: the module's image through the host-application API, with
/// state.range(1) buffers.
void BM_FullPathGrabWait(benchmark::State& state) {
    orvhost::HostObject image(g_module->GetImageV2());
    ORV::IGrab2* grab = image ? orvhost::FindInterface<ORV::IGrab2>(image.get()) : nullptr;
    ORV::IRingBuffer* ring =
        image ? orvhost::FindInterface<ORV::IRingBuffer>(image.get()) : nullptr;
    uint32_t lockMode = static_cast<uint32_t>(state.range(0));
    int32_t buffers = static_cast<int32_t>(state.range(1));
    if (ring != nullptr && buffers != kConfiguredBuffers) {
        ORHandle replacement = nullptr;
        const int32_t result =
            ring->NumBuffers(ORV::RINGBUFFER_NUMBUFFER_CMD_SET, &buffers, &replacement);
        image = orvhost::HostObject(replacement);
        if (result != ORV::OK || !image) {
            state.SkipWithError("cannot change the number of buffers");
            return;
        }
        grab = orvhost::FindInterface<ORV::IGrab2>(image.get());
        ring = orvhost::FindInterface<ORV::IRingBuffer>(image.get());
    }
    if (grab == nullptr || ring == nullptr ||
        ring->LockMode(ORV::RINGBUFFER_LOCKMODE_CMD_SET, &lockMode) != ORV::OK ||
        grab->GrabStart() != ORV::OK) {
        state.SkipWithError("no image, or the lock mode or GrabStart failed");
        return;
    }
    int64_t picture = 1; // the driver numbers pictures from 1 at every start
    auto wait = [&] {
        int32_t index = -1;
        const bool delivered = grab->GrabWait(&index) == ORV::OK;
        ++picture;
        return delivered;
    };
    if (lockMode == 2) {
        PrefilledBatches(
            state, buffers,
            [&] {
                picture = 1;
                return grab->GrabStop(0) == ORV::OK && grab->GrabStart() == ORV::OK;
            },
            wait);
    } else {
        SteadyState(state, wait, [&] { return picture; });
    }
    grab->GrabStop(0);
}

/// A lock-mode-2 batch with nothing in it: the timer's pause and resume, which the
/// pre-filled figures carry besides the waits.
void BM_PausedBatchOverhead(benchmark::State& state) {
    while (state.KeepRunningBatch(kBuffers)) {
        state.PauseTiming();
        state.ResumeTiming();
        for (int64_t i = 0; i < kBuffers; ++i)
            benchmark::DoNotOptimize(i);
    }
}

/// One layer of the anchor chain: a virtual call that takes a try-lock around
/// the call to the next layer, as each of the framework's layers does.
class Layer {
public:
    explicit Layer(Layer* next) : next_(next) {}
    virtual ~Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    virtual int32_t Call(int32_t* value) {
        std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
        if (!lock.owns_lock())
            return -1;
        return next_ != nullptr ? next_->Call(value) : ++*value;
    }

private:
    Layer* next_;
    std::mutex mutex_;
};

/// The floor of five layers (virtual call + try-lock each), the anchor the
/// module's own cost is compared with. The chain is built behind an opaque
/// pointer so the calls stay virtual. Timed in batches of kBuffers calls with the
/// timer paused in between, as the pre-filled waits are, so that both see the
/// same share of preemption on a shared machine.
void BM_AnchorLayerChain(benchmark::State& state) {
    std::vector<std::unique_ptr<Layer>> layers;
    Layer* next = nullptr;
    for (int i = 0; i < 5; ++i) {
        layers.push_back(std::make_unique<Layer>(next));
        next = layers.back().get();
    }
    Layer* top = next;
    benchmark::DoNotOptimize(top);
    int32_t value = 0;
    while (state.KeepRunningBatch(kBuffers)) {
        state.PauseTiming();
        state.ResumeTiming();
        for (int64_t i = 0; i < kBuffers; ++i)
            benchmark::DoNotOptimize(top->Call(&value));
    }
}

/// Changing the number of buffers from 2 to kRingBuffers (a ring of
/// kRingBuffers frames, 64 MiB with ORV_BENCH_FRAME=1024x1024) and back; only
/// the change to the large ring is timed. The replacement image is the new ring.
void BM_NumBuffersRing(benchmark::State& state) {
    orvhost::HostObject image(g_module->GetImageV2());
    for (auto _ : state) {
        for (int32_t buffers : {2, kRingBuffers}) {
            if (buffers == 2)
                state.PauseTiming();
            ORV::IRingBuffer* ring =
                image ? orvhost::FindInterface<ORV::IRingBuffer>(image.get()) : nullptr;
            ORHandle replacement = nullptr;
            int32_t count = buffers;
            if (ring == nullptr || ring->NumBuffers(ORV::RINGBUFFER_NUMBUFFER_CMD_SET, &count,
                                                    &replacement) != ORV::OK) {
                state.SkipWithError("cannot change the number of buffers");
                return;
            }
            image = orvhost::HostObject(replacement);
            if (buffers == 2)
                state.ResumeTiming();
        }
    }
    state.counters["ring_MiB"] =
        static_cast<double>(size_t{kWidth} * kHeight * kRingBuffers) / (1024.0 * 1024.0);
}

/// What the ring's block costs the ordinary way: malloc and memset of the same
/// size, then free. memset is called through a volatile pointer: the compiler would
/// otherwise make the pair a calloc, which leaves a fresh mapping untouched.
void BM_MallocMemsetRing(benchmark::State& state) {
    const size_t size = size_t{kWidth} * kHeight * kRingBuffers;
    void* (*volatile fill)(void*, int, size_t) = std::memset;
    for (auto _ : state) {
        void* block = std::malloc(size);
        if (block == nullptr) {
            state.SkipWithError("malloc failed");
            return;
        }
        fill(block, 0, size);
        benchmark::DoNotOptimize(block);
        benchmark::ClobberMemory();
        std::free(block);
    }
}

BENCHMARK(BM_AnchorLayerChain)->UseRealTime();
BENCHMARK(BM_NumBuffersRing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MallocMemsetRing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PausedBatchOverhead)->UseRealTime();
BENCHMARK(BM_DirectWait)->ArgName("lock_mode")->Arg(2)->Arg(1)->Arg(0)->UseRealTime();
BENCHMARK(BM_DirectWaitWithDriverQueries)
    ->ArgName("lock_mode")
    ->Arg(2)
    ->Arg(1)
    ->Arg(0)
    ->UseRealTime();
// Lock mode 2 with 1024 buffers as well: the path's cost by ring length.
BENCHMARK(BM_FullPathGrabWait)
    ->ArgNames({"lock_mode", "buffers"})
    ->Args({2, kBuffers})
    ->Args({1, kBuffers})
    ->Args({0, kBuffers})
    ->Args({2, 1024})
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        BenchEnvironment environment;
        g_environment = &environment;
        std::string error;
        // Kept for the process, as a host keeps its driver modules.
        g_module = orvhost::DriverModule::Load(ORSISOME_PATH, &error).release();
        if (g_module == nullptr) {
            std::fprintf(stderr, "bench: %s\n", error.c_str());
            return 1;
        }
        {
            // The count must see the module's allocations, or "0 per image" means
            // nothing.
            AllocationCounter::Restart();
            orvhost::HostObject probe(g_module->GetImageV2());
            const uint64_t allocations = AllocationCounter::Stop();
            if (!probe || allocations == 0) {
                std::fprintf(stderr, "bench: %s\n",
                             probe ? "the allocation counter does not see the module"
                                   : "the module gave no image");
                return 1;
            }
        }
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
