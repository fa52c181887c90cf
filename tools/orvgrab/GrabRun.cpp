#include "GrabRun.h"

#include "DebugCapture.h"
#include "GrabSession.h"
#include "ImageSaver.h"
#include "ModuleLocator.h"
#include "PngWriter.h"
#include "ProgressLine.h"
#include "Sandbox.h"
#include "SetupCheck.h"
#include "StopSignals.h"
#include "ToolError.h"
#include "VpaReader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

using F = ResultPrinter;

/// The module's debugger output on standard error when the run ends, with --verbose.
class ShowDebugOutput {
public:
    ShowDebugOutput(const DebugCapture& capture, bool verbose)
        : capture_(capture), verbose_(verbose) {}
    ~ShowDebugOutput() {
        if (!verbose_)
            return;
        std::fflush(stdout);
        std::istringstream lines(capture_.Text());
        for (std::string line; std::getline(lines, line);)
            std::fprintf(stderr, "orvgrab: module: %s\n", line.c_str());
    }
    ShowDebugOutput(const ShowDebugOutput&) = delete;
    ShowDebugOutput& operator=(const ShowDebugOutput&) = delete;

private:
    const DebugCapture& capture_;
    bool verbose_;
};

std::string FeatureObject(const NodeMaps::Feature& feature) {
    return "{\"nodeMap\": " + F::Quote(feature.nodeMap) + ", \"name\": " + F::Quote(feature.name) +
           ", \"value\": " + F::Quote(feature.value) + ", \"type\": " + F::Quote(feature.type) +
           ", \"readable\": " + (feature.readable ? "true" : "false") + "}";
}

} // namespace

int GrabRun::Execute() {
    // Before the grab, so that a long run does not end in a refusal.
    if (!options_.list)
        PngWriter::CheckTarget(options_.output);
    const std::string modulePath = ModuleLocator::FindModule(options_.module);
    Sandbox::Settings settings;
    settings.root = options_.sandbox;
    settings.dataDirectory = options_.dataDirectory;
    settings.genicamLibrary = ModuleLocator::FindGenICamLibrary(modulePath);
    settings.machine = options_.machine;
    settings.applet = options_.applet;
    const Sandbox sandbox(settings);
    const std::string temporaryRoot = sandbox.TemporaryRoot();
    if (!temporaryRoot.empty())
        signals_.SetLastResort([temporaryRoot] {
            std::error_code ignored;
            std::filesystem::remove_all(temporaryRoot, ignored);
            // Windows keeps a file the process still has loaded (the sandbox's
            // copy of the GenICam library): the user learns what is left.
            if (std::filesystem::exists(temporaryRoot, ignored))
                std::fprintf(stderr,
                             "orvgrab: the temporary sandbox %s is still in use and stays; "
                             "remove it by hand\n",
                             temporaryRoot.c_str());
        });
    for (const std::string& line : sandbox.Report()) {
        const std::string::size_type colon = line.find(": ");
        out_.Line(line.substr(0, colon), line.substr(colon + 2));
    }
    if (const std::optional<std::string> warning = SetupCheck::DataDirectoryWarning()) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvgrab: warning: %s\n", warning->c_str());
    }
    const DebugCapture debugOutput;
    const ShowDebugOutput showDebugOutput(debugOutput, options_.verbose);

    std::string error;
    std::unique_ptr<orvhost::DriverModule> module = orvhost::DriverModule::Load(modulePath, &error);
    if (!module)
        throw ToolError(error);
    out_.Line("module", modulePath);
    int stopSignal = 0;
    try {
        if (options_.list)
            List(*module);
        else
            stopSignal = GrabOn(*module);
    } catch (const NoImageError& e) {
        const int32_t board = options_.board.value_or(0);
        throw ToolError(std::string(e.what()) + " for board " + std::to_string(board) + ": " +
                        WhyNoImage(board, debugOutput));
    }
    if (module->CanUnload() != 1)
        throw ToolError("the module refuses to unload (CanUnload answered 0): a driver "
                        "object outlived the image");
    out_.Line("unload", "yes");
    module->Unload();
    return stopSignal;
}

std::string GrabRun::WhyNoImage(int32_t board, const DebugCapture& debugOutput) const {
    // The first cause the module wrote down, else the first one orvgrab sees in
    // the files; with the actual paths either way.
    const std::string said = debugOutput.FirstCause();
    if (!said.empty())
        return said + " (the module, reading " + SetupCheck::Files() + ")";
    if (const std::optional<std::string> problem = SetupCheck::FirstProblem(board))
        return *problem;
    // After a failed GetImageV2 the module has released its logging for good:
    // only a new run (a new load of the module) logs again.
    return "nothing missing in " + SetupCheck::Files() +
           "; a log service shows the module's own reason (docs/log-service.md) in a new "
           "run: after this failure the module logs nothing more until it is loaded again";
}

void GrabRun::SetUp(GrabSession& session) {
    if (options_.board)
        session.SelectBoard(*options_.board);
    if (options_.dma)
        session.SelectDma(*options_.dma);
    if (options_.size)
        session.SetSize(options_.size->first, options_.size->second);
    if (options_.offset)
        session.SetOffset(options_.offset->first, options_.offset->second);
    UseNodeMaps(session);
    if (options_.lockMode)
        session.SetLockMode(*options_.lockMode);
    if (options_.buffers)
        session.SetBuffers(*options_.buffers);
    if (options_.timeoutMs) {
        session.SetTimeout(*options_.timeoutMs);
        out_.Line("time-out", F::Format("%u ms", *options_.timeoutMs));
    }
}

int GrabRun::GrabOn(const orvhost::DriverModule& module) {
    GrabSession session(module);
    SetUp(session);
    PrintFacts(session.Facts());
    std::unique_ptr<ImageSaver> saver;
    if (options_.saveDirectory)
        saver = std::make_unique<ImageSaver>(
            *options_.saveDirectory,
            options_.saveFormat == "png" ? ImageSaver::Format::Png : ImageSaver::Format::Netpbm);
    out_.Line("grabbing", options_.count == 0 ? std::string("until Ctrl-C")
                                              : F::Format("%u images", options_.count));
    std::fflush(stdout);

    GrabPlan plan;
    plan.count = options_.count;
    plan.stopRequested = [this] { return signals_.Requested() != 0; };
    if (options_.count == 0 && !out_.Json())
        plan.everySecond = [](const GrabReport& report) {
            std::printf("statistics: %u images in %.1f s, %.1f images/s, acquired %.0f, "
                        "lost %.0f\n",
                        report.images, report.seconds, report.FramesPerSecond(), report.acquired,
                        report.lost);
            std::fflush(stdout);
        };
    if (saver)
        plan.onImage = [&saver](ORV::IImageVPA& image, const GrabReport& report) {
            saver->Offer(image, report.images);
        };
    plan.softwareTrigger = options_.softwareTrigger;
    plan.triggerRate = options_.rate;
    ProgressLine progress(out_.Json() ? stderr : stdout);
    const GrabReport report = session.Grab(plan, progress);
    PrintReport(report);
    if (saver) {
        saver->Finish();
        out_.Line("saved", F::Format("%llu to %s (%llu dropped: the writer was behind)",
                                     static_cast<unsigned long long>(saver->Written()),
                                     options_.saveDirectory->c_str(),
                                     static_cast<unsigned long long>(saver->Dropped())));
        out_.Number("savedImages", static_cast<double>(saver->Written()));
        out_.Number("droppedImages", static_cast<double>(saver->Dropped()));
    }
    if (report.images > 0) {
        const PngImage image = VpaReader::Read(*session.Description());
        PngWriter::Write(options_.output, image);
        const std::string written = std::filesystem::absolute(options_.output).string();
        out_.Line("wrote",
                  F::Format("%s (%u x %u, %s, %d bits)", written.c_str(), image.width, image.height,
                            image.channels == 3 ? "RGB" : "gray", image.bitDepth));
    }
    session.Release();
    return signals_.Requested();
}

void GrabRun::List(const orvhost::DriverModule& module) {
    int32_t boards = 0;
    {
        GrabSession first(module);
        boards = first.Facts().boards;
    }
    out_.Line("boards", std::to_string(boards));
    out_.Number("boardCount", boards);
    for (int32_t board = 0; board < boards; ++board) {
        int32_t dmas = 0;
        try {
            GrabSession session(module);
            session.SelectBoard(board);
            dmas = session.Facts().dmas;
        } catch (const ToolError& e) {
            out_.Line(F::Format("board %d", board), std::string("no image: ") + e.what());
            out_.Item("channels", F::Format("{\"board\": %d, \"error\": %s}", board,
                                            F::Quote(e.what()).c_str()));
            continue;
        }
        for (int32_t dma = 0; dma < dmas; ++dma) {
            GrabSession session(module);
            session.SelectBoard(board);
            session.SelectDma(dma);
            const ImageFacts facts = session.Facts();
            std::string camera = "none (no camera node map)";
            std::string cameraObject = "null";
            {
                const NodeMaps maps(session.Image());
                auto text = [&maps](const char* name) {
                    try {
                        return maps.Get(std::string("Device:") + name).value;
                    } catch (const ToolError&) {
                        return std::string();
                    }
                };
                const std::vector<std::string> names = maps.Names();
                if (std::find(names.begin(), names.end(), "Device") != names.end()) {
                    const std::string model = text("DeviceModelName");
                    const std::string vendor = text("DeviceVendorName");
                    const std::string serial = text("DeviceSerialNumber");
                    camera = (model.empty() ? std::string("present (no model in its description)")
                                            : model) +
                             (vendor.empty() ? "" : ", vendor " + vendor) +
                             (serial.empty() ? "" : ", serial " + serial);
                    cameraObject = "{\"model\": " + F::Quote(model) +
                                   ", \"vendor\": " + F::Quote(vendor) +
                                   ", \"serial\": " + F::Quote(serial) + "}";
                }
            }
            out_.Line(F::Format("board %d dma %d", board, dma),
                      F::Format("%d x %d %s, camera: %s", facts.width, facts.height,
                                facts.FormatName().c_str(), camera.c_str()));
            out_.Item("channels",
                      F::Format("{\"board\": %d, \"dma\": %d, \"width\": %d, \"height\": %d, "
                                "\"format\": %s, \"camera\": %s}",
                                board, dma, facts.width, facts.height,
                                F::Quote(facts.FormatName()).c_str(), cameraObject.c_str()));
        }
    }
}

void GrabRun::UseNodeMaps(const GrabSession& session) {
    if (options_.get.empty() && options_.set.empty() && !options_.features)
        return;
    // Released before the grab starts, so the module can unload afterwards.
    const NodeMaps maps(session.Image());
    for (const auto& [feature, value] : options_.set) {
        maps.Set(feature, value);
        const NodeMaps::Feature now = maps.Get(feature);
        out_.Line("set", now.nodeMap + ":" + now.name + " = " + now.value);
        out_.Item("set", FeatureObject(now));
    }
    for (const std::string& feature : options_.get)
        PrintFeature(maps.Get(feature));
    if (options_.features) {
        out_.Line("node maps", std::to_string(maps.Names().size()));
        for (const NodeMaps::Feature& feature : maps.List())
            PrintFeature(feature);
    }
}

void GrabRun::PrintFeature(const NodeMaps::Feature& feature) {
    if (out_.Json())
        out_.Item("features", FeatureObject(feature));
    else
        std::printf("%s:%s = %s (%s, %s)\n", feature.nodeMap.c_str(), feature.name.c_str(),
                    feature.value.c_str(), feature.type.c_str(), feature.access.c_str());
}

void GrabRun::PrintFacts(const ImageFacts& facts) {
    out_.Line("board", F::Format("%d (of %d)", facts.board, facts.boards));
    out_.Line("dma", F::Format("%d (of %d)", facts.dma, facts.dmas));
    out_.Line("size", F::Format("%d x %d", facts.width, facts.height));
    out_.Line("format", F::Format("%s (%d plane%s, %d bits per sample)", facts.FormatName().c_str(),
                                  facts.planes, facts.planes == 1 ? "" : "s", facts.bitsPerSample));
    out_.Line("buffers", std::to_string(facts.buffers));
    out_.Line("lock mode", std::to_string(facts.lockMode));
    out_.Number("width", facts.width);
    out_.Number("height", facts.height);
}

void GrabRun::PrintReport(const GrabReport& report) {
    out_.Line("grabbed", options_.count == 0
                             ? F::Format("%u (until stopped)", report.images)
                             : F::Format("%u of %u", report.images, options_.count));
    out_.Line("acquired", F::Format("%.0f", report.acquired));
    out_.Line("lost", F::Format("%.0f (%.0f to locked buffers)", report.lost, report.lostLocked));
    out_.Line("incomplete", report.incomplete ? std::to_string(*report.incomplete) : "unknown");
    out_.Line("frame rate", F::Format("%.1f images/s (%u in %.3f s)", report.FramesPerSecond(),
                                      report.images, report.seconds));
    std::string last = F::Format("buffer %d", report.lastBuffer);
    if (report.lastPicture)
        last += F::Format(", picture %lld", static_cast<long long>(*report.lastPicture));
    if (report.lastTag)
        last += F::Format(", tag %u", *report.lastTag);
    out_.Line("last image", last);
    out_.Number("images", report.images);
    out_.Number("imagesAcquired", report.acquired);
    out_.Number("imagesLost", report.lost);
    out_.Number("framesPerSecond", report.FramesPerSecond());
    if (report.lastPicture)
        out_.Number("lastPicture", static_cast<double>(*report.lastPicture));
}
