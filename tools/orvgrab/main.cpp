// orvgrab: loads ORSisoMe.xvd as a host application does, grabs images from the
// first DMA of the first board and writes the last one as PNG.
#include "GrabOptions.h"
#include "GrabSession.h"
#include "ModuleLocator.h"
#include "PngWriter.h"
#include "ProgressLine.h"
#include "Sandbox.h"
#include "ToolError.h"
#include "VpaReader.h"

#include <ORHost/HostApp.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
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

void PrintReport(const GrabReport& report, uint32_t count) {
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

int Run(int argc, char** argv) {
    const GrabOptions options = GrabOptions::Parse(argc, argv);
    if (options.help) {
        std::fputs(GrabOptions::Usage(), stdout);
        return 0;
    }

    const std::string modulePath = ModuleLocator::FindModule(options.module);
    Sandbox::Settings settings;
    settings.root = options.sandbox;
    settings.dataDirectory = options.dataDirectory;
    settings.genicamLibrary = ModuleLocator::FindGenICamLibrary(modulePath);
    const Sandbox sandbox(settings);
    for (const std::string& line : sandbox.Report())
        std::printf("%s\n", line.c_str());

    std::string error;
    std::unique_ptr<orvhost::DriverModule> module = orvhost::DriverModule::Load(modulePath, &error);
    if (!module)
        throw ToolError(error);
    std::printf("module: %s\n", modulePath.c_str());
    {
        GrabSession session(*module);
        if (options.lockMode)
            session.SetLockMode(*options.lockMode);
        if (options.buffers)
            session.SetBuffers(*options.buffers);
        if (options.timeoutMs) {
            session.SetTimeout(*options.timeoutMs);
            std::printf("time-out: %u ms\n", *options.timeoutMs);
        }
        PrintFacts(session.Facts());
        std::fflush(stdout);

        ProgressLine progress(stdout);
        const GrabReport report = session.Grab(options.count, progress);
        PrintReport(report, options.count);

        const PngImage image = VpaReader::Read(*session.Description());
        PngWriter::Write(options.output, image);
        const std::string written = std::filesystem::absolute(options.output).string();
        std::printf("wrote: %s (%u x %u, %s, %d bits)\n", written.c_str(), image.width,
                    image.height, image.channels == 3 ? "RGB" : "gray", image.bitDepth);
        session.Release();
    }
    if (module->CanUnload() != 1)
        throw ToolError("the module refuses to unload (CanUnload answered 0): a driver "
                        "object outlived the image");
    std::printf("unload: yes\n");
    module->Unload();
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
    try {
        return Run(argc, argv);
    } catch (const UsageError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: error: %s (see orvgrab --help)\n",
                     OneLine(e.what()).c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: error: %s\n", OneLine(e.what()).c_str());
        return 1;
    }
}
