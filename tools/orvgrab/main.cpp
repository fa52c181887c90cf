// orvgrab: loads ORSisoMe.xvd as a host application does, grabs images from the
// first DMA of the first board and writes the last one as PNG.
#include "DebugCapture.h"
#include "GrabOptions.h"
#include "GrabSession.h"
#include "ImageSaver.h"
#include "ModuleLocator.h"
#include "NodeMaps.h"
#include "PngWriter.h"
#include "ProgressLine.h"
#include "Sandbox.h"
#include "SetupCheck.h"
#include "StopSignals.h"
#include "ToolError.h"
#include "VpaReader.h"

#include <ORHost/HostApp.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

void PrintFacts(const ImageFacts& facts) {
    std::printf("board: %d (of %d)\n", facts.board, facts.boards);
    std::printf("dma: %d (of %d)\n", facts.dma, facts.dmas);
    std::printf("size: %d x %d\n", facts.width, facts.height);
    std::printf("format: %s (%d plane%s, %d bits per sample)\n", facts.FormatName().c_str(),
                facts.planes, facts.planes == 1 ? "" : "s", facts.bitsPerSample);
    std::printf("buffers: %d\n", facts.buffers);
    std::printf("lock mode: %u\n", facts.lockMode);
}

void PrintFeature(const NodeMaps::Feature& feature) {
    std::printf("%s:%s = %s (%s, %s)\n", feature.nodeMap.c_str(), feature.name.c_str(),
                feature.value.c_str(), feature.type.c_str(), feature.access.c_str());
}

/// --get, --set and --features, before the grab; the node maps are released
/// before it starts, so the module can unload afterwards.
void UseNodeMaps(const GrabOptions& options, const GrabSession& session) {
    if (options.get.empty() && options.set.empty() && !options.features)
        return;
    const NodeMaps maps(session.Image());
    for (const auto& [feature, value] : options.set) {
        maps.Set(feature, value);
        const NodeMaps::Feature now = maps.Get(feature);
        std::printf("set: %s:%s = %s\n", now.nodeMap.c_str(), now.name.c_str(), now.value.c_str());
    }
    for (const std::string& feature : options.get)
        PrintFeature(maps.Get(feature));
    if (options.features) {
        std::printf("node maps: %zu\n", maps.Names().size());
        for (const NodeMaps::Feature& feature : maps.List())
            PrintFeature(feature);
    }
}

void PrintStatistics(const GrabReport& report) {
    std::printf("statistics: %u images in %.1f s, %.1f images/s, acquired %.0f, lost %.0f\n",
                report.images, report.seconds, report.FramesPerSecond(), report.acquired,
                report.lost);
    std::fflush(stdout);
}

void PrintReport(const GrabReport& report, uint32_t count) {
    if (count == 0)
        std::printf("grabbed: %u (until stopped)\n", report.images);
    else
        std::printf("grabbed: %u of %u\n", report.images, count);
    std::printf("acquired: %.0f\n", report.acquired);
    std::printf("lost: %.0f (%.0f to locked buffers)\n", report.lost, report.lostLocked);
    if (report.incomplete)
        std::printf("incomplete: %u\n", *report.incomplete);
    else
        std::printf("incomplete: unknown\n");
    std::printf("frame rate: %.1f images/s (%u in %.3f s)\n", report.FramesPerSecond(),
                report.images, report.seconds);
    std::printf("last image: buffer %d", report.lastBuffer);
    if (report.lastPicture)
        std::printf(", picture %lld", static_cast<long long>(*report.lastPicture));
    if (report.lastTag)
        std::printf(", tag %u", *report.lastTag);
    std::printf("\n");
}

int Run(int argc, char** argv, StopSignals& signals) {
    const GrabOptions options = GrabOptions::Parse(argc, argv);
    if (options.help) {
        std::fputs(GrabOptions::Usage(), stdout);
        return 0;
    }
    // Before the grab, so that a long run does not end in a refusal.
    PngWriter::CheckTarget(options.output);

    const std::string modulePath = ModuleLocator::FindModule(options.module);
    Sandbox::Settings settings;
    settings.root = options.sandbox;
    settings.dataDirectory = options.dataDirectory;
    settings.genicamLibrary = ModuleLocator::FindGenICamLibrary(modulePath);
    settings.machine = options.machine;
    settings.applet = options.applet;
    const Sandbox sandbox(settings);
    const std::string temporaryRoot = sandbox.TemporaryRoot();
    if (!temporaryRoot.empty())
        signals.SetLastResort([temporaryRoot] {
            std::error_code ignored;
            std::filesystem::remove_all(temporaryRoot, ignored);
        });
    for (const std::string& line : sandbox.Report())
        std::printf("%s\n", line.c_str());
    if (const std::optional<std::string> warning = SetupCheck::DataDirectoryWarning()) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: warning: %s\n", warning->c_str());
    }
    const DebugCapture debugOutput;
    // The module's debugger output, shown at the end with --verbose.
    struct ShowDebugOutput {
        const DebugCapture& capture;
        bool verbose;
        ~ShowDebugOutput() {
            if (!verbose)
                return;
            std::fflush(stdout);
            std::istringstream lines(capture.Text());
            for (std::string line; std::getline(lines, line);)
                std::fprintf(stderr, "orvgrab: module: %s\n", line.c_str());
        }
    } showDebugOutput{debugOutput, options.verbose};

    std::string error;
    std::unique_ptr<orvhost::DriverModule> module = orvhost::DriverModule::Load(modulePath, &error);
    if (!module)
        throw ToolError(error);
    std::printf("module: %s\n", modulePath.c_str());
    int stopSignal = 0;
    bool stoppedEarly = false;
    try {
        GrabSession session(*module);
        if (options.board)
            session.SelectBoard(*options.board);
        if (options.dma)
            session.SelectDma(*options.dma);
        if (options.size)
            session.SetSize(options.size->first, options.size->second);
        if (options.offset)
            session.SetOffset(options.offset->first, options.offset->second);
        UseNodeMaps(options, session);
        if (options.lockMode)
            session.SetLockMode(*options.lockMode);
        if (options.buffers)
            session.SetBuffers(*options.buffers);
        if (options.timeoutMs) {
            session.SetTimeout(*options.timeoutMs);
            std::printf("time-out: %u ms\n", *options.timeoutMs);
        }
        PrintFacts(session.Facts());
        std::unique_ptr<ImageSaver> saver;
        if (options.saveDirectory)
            saver = std::make_unique<ImageSaver>(
                *options.saveDirectory,
                options.saveFormat == "png" ? ImageSaver::Format::Png : ImageSaver::Format::Netpbm);
        if (options.count == 0)
            std::printf("grabbing: until Ctrl-C\n");
        else
            std::printf("grabbing: %u images\n", options.count);
        std::fflush(stdout);

        GrabPlan plan;
        plan.count = options.count;
        plan.stopRequested = [&signals] { return signals.Requested() != 0; };
        if (options.count == 0)
            plan.everySecond = PrintStatistics;
        if (saver)
            plan.onImage = [&saver](ORV::IImageVPA& image, const GrabReport& report) {
                saver->Offer(image, report.images);
            };
        plan.softwareTrigger = options.softwareTrigger;
        plan.triggerRate = options.rate;
        ProgressLine progress(stdout);
        const GrabReport report = session.Grab(plan, progress);
        PrintReport(report, options.count);
        if (saver) {
            saver->Finish();
            std::printf("saved: %llu to %s (%llu dropped: the writer was behind)\n",
                        static_cast<unsigned long long>(saver->Written()),
                        options.saveDirectory->c_str(),
                        static_cast<unsigned long long>(saver->Dropped()));
        }
        stopSignal = signals.Requested();
        stoppedEarly = report.images == 0;

        if (report.images > 0) {
            const PngImage image = VpaReader::Read(*session.Description());
            PngWriter::Write(options.output, image);
            const std::string written = std::filesystem::absolute(options.output).string();
            std::printf("wrote: %s (%u x %u, %s, %d bits)\n", written.c_str(), image.width,
                        image.height, image.channels == 3 ? "RGB" : "gray", image.bitDepth);
        }
        session.Release();
    } catch (const NoImageError& e) {
        // The first cause the module wrote down, else the first one orvgrab sees in
        // the files; with the actual paths either way.
        const std::string board = std::to_string(options.board.value_or(0));
        std::string cause = debugOutput.FirstCause();
        if (!cause.empty())
            cause += " (the module, reading " + SetupCheck::Files() + ")";
        else if (const std::optional<std::string> problem =
                     SetupCheck::FirstProblem(options.board.value_or(0)))
            cause = *problem;
        else
            cause = "nothing missing in " + SetupCheck::Files() +
                    "; a log service shows the module's own reason (docs/log-service.md)";
        throw ToolError(std::string(e.what()) + " for board " + board + ": " + cause);
    }
    if (module->CanUnload() != 1)
        throw ToolError("the module refuses to unload (CanUnload answered 0): a driver "
                        "object outlived the image");
    std::printf("unload: yes\n");
    module->Unload();
    if (stopSignal != 0) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: stopped by %s%s\n", StopSignals::Name(stopSignal),
                     stoppedEarly ? " before the first image" : "");
        return StopSignals::ExitStatus(stopSignal);
    }
    return 0;
}

/// One line, whatever the text holds.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit shows as a failed write with its reason, not as a kill
    // that would leave the temporary PNG and the sandbox behind.
    std::signal(SIGXFSZ, SIG_IGN);
    StopSignals signals;
    try {
        return Run(argc, argv, signals);
    } catch (const UsageError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: error: %s (see orvgrab --help)\n",
                     OneLine(e.what()).c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: error: %s\n", OneLine(e.what()).c_str());
        return signals.Requested() != 0 ? StopSignals::ExitStatus(signals.Requested()) : 1;
    }
}
