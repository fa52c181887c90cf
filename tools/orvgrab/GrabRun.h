#pragma once
// One orvgrab run from parsed options: the sandbox, the module, the channel
// chosen and set up, the grab or the listing, and what is printed about them.

#include "GrabOptions.h"
#include "GrabReport.h"
#include "ImageFacts.h"
#include "NodeMaps.h"
#include "ResultPrinter.h"

#include <ORHost/HostApp.h>

class DebugCapture;
class GrabSession;
class StopSignals;

class GrabRun {
public:
    GrabRun(const GrabOptions& options, StopSignals& signals, ResultPrinter& out)
        : options_(options), signals_(signals), out_(out) {}

    /// The exit status; failures as ToolError.
    int Execute();

private:
    /// Grabs on the chosen channel; the signal that stopped it, or 0.
    int GrabOn(const orvhost::DriverModule& module);
    /// --list: one line per board and DMA.
    void List(const orvhost::DriverModule& module);
    void SetUp(GrabSession& session);
    void UseNodeMaps(const GrabSession& session);
    void PrintFacts(const ImageFacts& facts);
    void PrintFeature(const NodeMaps::Feature& feature);
    void PrintReport(const GrabReport& report);
    /// The first cause of a missing image, with the paths.
    std::string WhyNoImage(int32_t board, const DebugCapture& debugOutput) const;

    const GrabOptions& options_;
    StopSignals& signals_;
    ResultPrinter& out_;
};
