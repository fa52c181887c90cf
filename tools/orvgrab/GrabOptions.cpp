#include "GrabOptions.h"

#include "ToolError.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

uint32_t Number(const std::string& option, const std::string& text, uint32_t least, uint32_t most) {
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    errno = 0;
    const unsigned long long value = digits ? std::strtoull(text.c_str(), nullptr, 10) : 0;
    if (!digits || errno == ERANGE || value < least || value > most)
        throw UsageError(option + " wants a whole number from " + std::to_string(least) + " to " +
                         std::to_string(most) + ", not '" + text + "'");
    return static_cast<uint32_t>(value);
}

std::string Path(const std::string& option, const std::string& text) {
    if (text.empty())
        throw UsageError(option + " wants a path");
    return text;
}

} // namespace

GrabOptions GrabOptions::Parse(int argc, const char* const* argv) {
    GrabOptions options;
    constexpr uint32_t kMostInt = std::numeric_limits<int32_t>::max();
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        std::optional<std::string> attached;
        const std::string::size_type equals = option.find('=');
        if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
            attached = option.substr(equals + 1);
            option.erase(equals);
        }
        if (option == "--help" || option == "-h") {
            if (attached)
                throw UsageError("--help takes no value");
            options.help = true;
            continue;
        }
        auto value = [&]() -> std::string {
            if (attached)
                return *attached;
            if (i + 1 >= argc)
                throw UsageError(option + " needs a value");
            return argv[++i];
        };
        if (option == "--count")
            options.count = Number(option, value(), 1, kMostInt);
        else if (option == "--lock-mode")
            options.lockMode = Number(option, value(), 0, 2);
        else if (option == "--buffers")
            options.buffers = static_cast<int32_t>(Number(option, value(), 1, kMostInt));
        else if (option == "--timeout")
            options.timeoutMs = Number(option, value(), 1, kMostInt);
        else if (option == "--output")
            options.output = Path(option, value());
        else if (option == "--data-dir")
            options.dataDirectory = Path(option, value());
        else if (option == "--sandbox")
            options.sandbox = Path(option, value());
        else if (option == "--module")
            options.module = Path(option, value());
        else
            throw UsageError("unknown " +
                             std::string(option.rfind("-", 0) == 0 ? "option" : "argument") + " '" +
                             option + "'");
    }
    return options;
}

const char* GrabOptions::Usage() {
    return "Usage: orvgrab [options]\n"
           "Grabs images from ORSisoMe.xvd through the host-application API and writes the\n"
           "last one as PNG. Without ORVDATA, SISODIR5 and ORV_REGISTRY_FILE it runs on the\n"
           "simulated machine's default board in a temporary sandbox.\n"
           "\n"
           "  --count N        images to grab (default 10)\n"
           "  --lock-mode M    0 the driver unlocks at the next wait, 1 no locking (the DMA\n"
           "                   overwrites the ring), 2 orvgrab unlocks each buffer it used\n"
           "                   (default: the channel's mode, 0)\n"
           "  --buffers N      ring buffers; makes the driver build a new image\n"
           "                   (default: framebuffers of ORSisoMe.ini)\n"
           "  --timeout MS     wait time-out; the driver counts whole seconds, at least one\n"
           "                   (default: the registry's \"Default Timeout\")\n"
           "  --output PATH    PNG of the last image (default orvgrab.png)\n"
           "  --data-dir DIR   an existing data directory (ORVDATA) to use\n"
           "  --sandbox DIR    build (or reuse) the sandbox in DIR and keep it\n"
           "  --module PATH    the driver module (default: ORSisoMe.xvd next to orvgrab or\n"
           "                   in ../lib)\n"
           "  --help           this text\n"
           "\n"
           "Exit status: 0 success, 1 failure, 2 bad command line.\n";
}
