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

/// "640x480" or "16,8".
std::pair<int32_t, int32_t> Pair(const std::string& option, const std::string& text,
                                 char separator) {
    const std::string::size_type at = text.find(separator);
    if (at == std::string::npos)
        throw UsageError(option + " wants two numbers separated by '" + separator + "', not '" +
                         text + "'");
    constexpr uint32_t kMostInt = std::numeric_limits<int32_t>::max();
    return {static_cast<int32_t>(Number(option, text.substr(0, at), 0, kMostInt)),
            static_cast<int32_t>(Number(option, text.substr(at + 1), 0, kMostInt))};
}

double Rate(const std::string& option, const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE || !(value > 0.0) ||
        value > 1e6)
        throw UsageError(option + " wants images per second above 0, not '" + text + "'");
    return value;
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
        auto flag = [&] {
            if (attached)
                throw UsageError(option + " takes no value");
            return true;
        };
        if (option == "--count")
            options.count = Number(option, value(), 0, kMostInt);
        else if (option == "--board")
            options.board = static_cast<int32_t>(Number(option, value(), 0, 15));
        else if (option == "--dma")
            options.dma = static_cast<int32_t>(Number(option, value(), 0, 15));
        else if (option == "--size")
            options.size = Pair(option, value(), 'x');
        else if (option == "--offset")
            options.offset = Pair(option, value(), ',');
        else if (option == "--get")
            options.get.push_back(Path(option, value()));
        else if (option == "--set") {
            const std::string assignment = value();
            const std::string::size_type at = assignment.find('=');
            if (at == 0 || at == std::string::npos)
                throw UsageError("--set wants FEATURE=VALUE, not '" + assignment + "'");
            options.set.emplace_back(assignment.substr(0, at), assignment.substr(at + 1));
        } else if (option == "--features")
            options.features = flag();
        else if (option == "--trigger") {
            const std::string mode = value();
            if (mode != "software")
                throw UsageError("--trigger knows 'software', not '" + mode + "'");
            options.softwareTrigger = true;
        } else if (option == "--rate")
            options.rate = Rate(option, value());
        else if (option == "--save")
            options.saveDirectory = Path(option, value());
        else if (option == "--save-format") {
            options.saveFormat = value();
            if (options.saveFormat != "png" && options.saveFormat != "pgm")
                throw UsageError("--save-format knows 'png' and 'pgm', not '" + options.saveFormat +
                                 "'");
        } else if (option == "--machine")
            options.machine = Path(option, value());
        else if (option == "--applet")
            options.applet = Path(option, value());
        else if (option == "--verbose" || option == "-v")
            options.verbose = flag();
        else if (option == "--list")
            options.list = flag();
        else if (option == "--json")
            options.json = flag();

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
    if (options.rate > 0.0 && !options.softwareTrigger)
        throw UsageError("--rate needs --trigger software");
    return options;
}

const char* GrabOptions::Usage() {
    return "Usage: orvgrab [options]\n"
           "Grabs images from ORSisoMe.xvd through the host-application API and writes the\n"
           "last one as PNG. Without ORVDATA, SISODIR5 and ORV_REGISTRY_FILE it runs on the\n"
           "simulated machine's default board in a temporary sandbox.\n"
           "\n"
           "  --count N        images to grab (default 10); 0 grabs until Ctrl-C and\n"
           "                   prints statistics once a second\n"
           "  --board N        the board (default 0)\n"
           "  --dma N          the DMA (camera port) of the board (default 0)\n"
           "  --size WxH       the image size (IImageRect), e.g. 320x200\n"
           "  --offset X,Y     the image offset (IImageRect), e.g. 16,8\n"
           "  --trigger software  trigger each image through ISoftwareTrigger\n"
           "  --rate HZ        software triggers per second (default: as fast as images come)\n"
           "  --save DIR       write every image into DIR (a bounded queue; images that\n"
           "                   do not fit are dropped and counted, the grab never waits)\n"
           "  --save-format F  png (default) or pgm (Netpbm PGM/PPM: raw samples after a\n"
           "                   small text header)\n"
           "  --get FEATURE    print a feature of the camera (Device) or grabber (TLDevice)\n"
           "                   node map; NODEMAP:FEATURE picks one (repeatable)\n"
           "  --set F=VALUE    write a feature before the grab (repeatable)\n"
           "  --features       list the node maps' features with value and access\n"
           "  --machine FILE   run the sandbox on this simulated machine file\n"
           "  --applet FILE    run the sandbox with this applet file on every board\n"
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
           "  --list           list the boards, their DMAs (camera ports) and cameras, then end\n"
           "  --json           one JSON object with the result on stdout instead of lines\n"
           "  --verbose, -v    show the module's debugger output (its log set-up notes)\n"
           "  --help           this text\n"
           "\n"
           "Exit status: 0 success, 1 failure, 2 bad command line, 130/143 stopped by\n"
           "SIGINT/SIGTERM.\n";
}
