// The fuzz targets' main where libFuzzer is not available (GCC builds, the
// sanitizer build CI runs): every file of the given corpus folders is run
// once, then, for --seconds, random mutations of them. Not coverage-guided:
// it replays what the coverage-guided runs found and shakes it a little.
//   fuzz_<name> [--seconds N] [--seed S] [--artifact-prefix P] <corpus folder>...
// A run that dies (sanitizer report, abort, crash) leaves its input in
// P + "crash-<seed>-<run>" and the same --seed replays the same inputs.

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#define ORV_FUZZ_HAS_SANITIZER 1
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Input = std::vector<uint8_t>;

constexpr size_t MaxInputSize = 64 * 1024;

struct Options {
    unsigned seconds = 0;
    uint64_t seed = 0;
    bool seedGiven = false;
    std::string artifactPrefix = "./";
    std::vector<std::string> folders;
};

// What a death handler writes out: the input being run and where it goes.
// Filled before each run, read only from the handler.
struct CurrentRun {
    const uint8_t* data = nullptr;
    size_t size = 0;
    char path[4096] = {};
};
CurrentRun current;

void WriteCurrentInput() {
    if (current.path[0] == '\0')
        return;
    const int fd = ::open(current.path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    size_t written = 0;
    while (written < current.size) {
        const ssize_t count = ::write(fd, current.data + written, current.size - written);
        if (count <= 0)
            break;
        written += static_cast<size_t>(count);
    }
    ::close(fd);
    static const char note[] = "fuzz: the failing input was written to the artifact prefix\n";
    (void)!::write(STDERR_FILENO, note, sizeof note - 1);
}

void OnFatalSignal(int signalNumber) {
    WriteCurrentInput();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void InstallDeathHandlers() {
    for (const int signalNumber : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signalNumber, OnFatalSignal);
#ifdef ORV_FUZZ_HAS_SANITIZER
    __sanitizer_set_death_callback(WriteCurrentInput);
#endif
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == "--seconds" && hasValue) {
            options.seconds = static_cast<unsigned>(std::strtoul(argv[++index], nullptr, 10));
        } else if (argument == "--seed" && hasValue) {
            options.seed = std::strtoull(argv[++index], nullptr, 10);
            options.seedGiven = true;
        } else if (argument == "--artifact-prefix" && hasValue) {
            options.artifactPrefix = argv[++index];
        } else if (!argument.empty() && argument[0] == '-') {
            std::cerr << "fuzz: unknown option '" << argument << "'\n";
            return false;
        } else {
            options.folders.push_back(argument);
        }
    }
    return true;
}

bool LoadCorpus(const std::vector<std::string>& folders, std::vector<Input>& corpus) {
    namespace fs = std::filesystem;
    for (const std::string& folder : folders) {
        std::error_code error;
        fs::directory_iterator entries(folder, error);
        if (error) {
            std::cerr << "fuzz: cannot read corpus folder '" << folder << "': " << error.message()
                      << '\n';
            return false;
        }
        for (const fs::directory_entry& entry : entries) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream file(entry.path(), std::ios::binary);
            Input bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            if (bytes.size() > MaxInputSize)
                bytes.resize(MaxInputSize);
            corpus.push_back(std::move(bytes));
        }
    }
    if (corpus.empty())
        corpus.emplace_back();
    return true;
}

class Mutator {
public:
    explicit Mutator(uint64_t seed) : random_(seed) {}

    // One to four edits of a copy of `base`, sometimes spliced with `other`.
    void Mutate(const Input& base, const Input& other, Input& out) {
        out = base;
        const size_t edits = Below(4) + 1;
        for (size_t edit = 0; edit < edits; ++edit)
            EditOnce(other, out);
        if (out.size() > MaxInputSize)
            out.resize(MaxInputSize);
    }

private:
    size_t Below(size_t bound) { return bound == 0 ? 0 : random_() % bound; }

    uint8_t AnyByte() {
        static constexpr uint8_t Interesting[] = {0,   1,   0x7F, 0x80, 0xFF, '\n', '\r', '\0',
                                                  '=', '[', ']',  '<',  '>',  '"',  ';',  ':'};
        if (Below(2) == 0)
            return Interesting[Below(sizeof Interesting)];
        return static_cast<uint8_t>(random_());
    }

    void EditOnce(const Input& other, Input& out) {
        const size_t at = Below(out.size() + 1);
        switch (Below(7)) {
        case 0:
            if (!out.empty())
                out[Below(out.size())] ^= static_cast<uint8_t>(1u << Below(8));
            break;
        case 1:
            if (!out.empty())
                out[Below(out.size())] = AnyByte();
            break;
        case 2:
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), Below(8) + 1, AnyByte());
            break;
        case 3: {
            const size_t count = Below(out.size() - std::min(at, out.size()) + 1);
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(at),
                      out.begin() + static_cast<std::ptrdiff_t>(at + count));
            break;
        }
        case 4:
            if (!out.empty()) {
                const size_t from = Below(out.size());
                const size_t count = Below(out.size() - from) + 1;
                const Input piece(out.begin() + static_cast<std::ptrdiff_t>(from),
                                  out.begin() + static_cast<std::ptrdiff_t>(from + count));
                out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(),
                           piece.end());
            }
            break;
        case 5:
            if (!other.empty()) {
                const size_t from = Below(other.size());
                out.resize(at);
                out.insert(out.end(), other.begin() + static_cast<std::ptrdiff_t>(from),
                           other.end());
            }
            break;
        default:
            out.resize(at);
            break;
        }
    }

    std::mt19937_64 random_;
};

void Run(const Input& input, uint64_t seed, uint64_t runNumber, const std::string& prefix) {
    std::snprintf(current.path, sizeof current.path, "%scrash-%llu-%llu", prefix.c_str(),
                  static_cast<unsigned long long>(seed),
                  static_cast<unsigned long long>(runNumber));
    current.data = input.data();
    current.size = input.size();
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options))
        return 2;
    std::vector<Input> corpus;
    if (!LoadCorpus(options.folders, corpus))
        return 2;
    if (!options.seedGiven)
        options.seed = std::random_device{}();
    InstallDeathHandlers();
    std::cout << "fuzz: seed " << options.seed << ", " << corpus.size() << " corpus inputs, "
              << options.seconds << " s of mutations" << std::endl;

    uint64_t runNumber = 0;
    for (const Input& input : corpus)
        Run(input, options.seed, runNumber++, options.artifactPrefix);

    Mutator mutator(options.seed);
    Input mutated;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.seconds);
    while (options.seconds > 0 && std::chrono::steady_clock::now() < deadline) {
        const Input& base = corpus[runNumber % corpus.size()];
        const Input& other = corpus[(runNumber * 7 + 3) % corpus.size()];
        mutator.Mutate(base, other, mutated);
        Run(mutated, options.seed, runNumber++, options.artifactPrefix);
    }
    std::cout << "fuzz: " << runNumber << " runs, nothing found" << std::endl;
    return 0;
}
