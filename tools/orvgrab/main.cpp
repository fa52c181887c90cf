// orvgrab: loads ORSisoMe.xvd as a host application does, grabs images from a
// board's DMA and writes the last one as PNG (see docs/orvgrab.md).
#include "GrabOptions.h"
#include "GrabRun.h"
#include "ResultPrinter.h"
#include "StopSignals.h"
#include "ToolError.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

namespace {

/// One line, whatever the text holds.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

int Fail(ResultPrinter& out, int status, const std::string& line) {
    std::fflush(stdout);
    std::fprintf(stderr, "orvgrab: %s\n", line.c_str());
    out.Finish(status, line);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit shows as a failed write with its reason, not as a kill
    // that would leave the temporary PNG and the sandbox behind.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    StopSignals signals;
    ResultPrinter out;
    try {
        const GrabOptions options = GrabOptions::Parse(argc, argv);
        if (options.help) {
            std::fputs(GrabOptions::Usage(), stdout);
            return 0;
        }
        if (options.json)
            out.UseJson();
        const int stopSignal = GrabRun(options, signals, out).Execute();
        if (stopSignal != 0)
            return Fail(out, StopSignals::ExitStatus(stopSignal),
                        std::string("stopped by ") + StopSignals::Name(stopSignal));
        out.Finish(0, {});
        return 0;
    } catch (const UsageError& e) {
        return Fail(out, 2, "error: " + OneLine(e.what()) + " (see orvgrab --help)");
    } catch (const std::exception& e) {
        return Fail(out,
                    signals.Requested() != 0 ? StopSignals::ExitStatus(signals.Requested()) : 1,
                    "error: " + OneLine(e.what()));
    }
}
