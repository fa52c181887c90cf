// One failed SDK call is never fatal: every SDK entry point the module calls is
// made to fail once, during set-up and during acquisition, on a Camera Link, a
// GigE and a CoaXPress board. Each case runs in a child process of its own with a
// fresh module and machine, and must end without a crash, a hang or a leftover
// object, with the module unmapped and the image (or a retried one) usable.
//
// The child is this test program started again for the same test, with the case
// in ORV_FAULT_SWEEP_CASE; it writes its findings to the file named by
// ORV_FAULT_SWEEP_OUTPUT.

#include "support/ChildProcess.h"
#include "support/LoadedLibrary.h"
#include "support/SimEnvironment.h"
#include "support/TempDir.h"

#include "SimFunction.h"

#include <ORHost/HostApp.h>

#include <platform/Environment.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

/// Generous bound for one case's child process.
constexpr std::chrono::seconds kCaseBound{60};
/// What a failed call answers; the SDKs only tell failure from success by sign.
constexpr int kFaultCode = -9999;

const char* const kFunctionNames[] = {
#define SWEEP_FUNCTION_NAME(name) #name,
    SIM_FUNCTION_LIST(SWEEP_FUNCTION_NAME)
#undef SWEEP_FUNCTION_NAME
};

enum class Phase { SetUp, Acquisition };

struct BoardKind {
    const char* name;
    const char* boardLines; // the [board0] section and its camera
};

const BoardKind kCameraLink{"CameraLink", "[board0]\ntype = 1873\ndmas = 1\n"};
const BoardKind kGigE{
    "GigE", "[board0]\ntype = 3650\ndmas = 1\nport0 = gcam\n\n[camera:gcam]\nkind = gige\n"};
const BoardKind kCoaXPress{
    "CoaXPress", "[board0]\ntype = 1875\ndmas = 1\ncameras = xcam\n\n[camera:xcam]\nkind = cxp\n"};

/// Failure texts of one child run, one a line.
class Findings {
public:
    void Fail(const std::string& text) { text_ += text + "\n"; }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

const char* const kCaseVariable = "ORV_FAULT_SWEEP_CASE";
const char* const kOutputVariable = "ORV_FAULT_SWEEP_OUTPUT";

/// Start, two delivered images, stop; every answer 0. False with the reason.
bool GrabCycle(ORHandle image, std::string& why) {
    ORV::IGrab2* grab = orvhost::FindInterface<ORV::IGrab2>(image);
    if (grab == nullptr) {
        why = "no IGrab2";
        return false;
    }
    std::ostringstream text;
    const int32_t started = grab->GrabStart();
    int32_t waited = ORV::OK;
    for (int i = 0; i < 2 && started == ORV::OK && waited == ORV::OK; ++i) {
        int32_t index = -1;
        waited = grab->GrabWait(&index);
    }
    const int32_t stopped = grab->GrabStop(0);
    text << std::hex << "GrabStart 0x" << started << ", GrabWait 0x" << waited << ", GrabStop 0x"
         << stopped;
    why = text.str();
    return started == ORV::OK && waited == ORV::OK && stopped == ORV::OK;
}

/// The same cycle where answers may be failures (the fault is armed).
void FaultedGrabCycle(ORHandle image) {
    if (ORV::IGrab2* grab = orvhost::FindInterface<ORV::IGrab2>(image)) {
        if (grab->GrabStart() == ORV::OK) {
            for (int i = 0; i < 2; ++i) {
                int32_t index = -1;
                if (grab->GrabWait(&index) != ORV::OK)
                    break;
            }
        }
        grab->GrabStop(0);
    }
}

std::vector<int64_t> CallCounts() {
    std::vector<int64_t> counts;
    for (const char* name : kFunctionNames)
        counts.push_back(SimCtl_CallCount(name));
    return counts;
}

/// Sandbox of one child: a machine with one board of `kind`, one DMA, a tiny
/// image and two buffers.
std::unique_ptr<SimEnvironment> Sandbox(const BoardKind& kind) {
    SimEnvironment::Options options;
    options.machineText = std::string("[machine]\nruntime = 5.7.0\n\n") + kind.boardLines;
    options.configurationText = "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\sweep.mcf\n\n"
                                "[BOARD0_DMA0]\nframebuffers=2\n";
    auto sim = std::make_unique<SimEnvironment>(options);
    sim->WriteDriverFile("sweep.mcf", "[applet]\nname = Sweep\ndmas = 1\n\n[dma0]\nwidth = 16\n"
                                      "height = 8\nformat = gray8\n");
    return sim;
}

/// Loads the module; checks at the end that nothing of it outlives the image.
void WithModule(Findings& findings, const std::function<void(orvhost::DriverModule&)>& body) {
    std::string error;
    std::unique_ptr<orvhost::DriverModule> module =
        orvhost::DriverModule::Load(ORSISOME_PATH, &error);
    if (!module) {
        findings.Fail("module not loaded: " + error);
        return;
    }
    body(*module);
    if (module->CanUnload() != 1)
        findings.Fail("CanUnload is not 1 after the image was released");
    module->Unload();
    module.reset();
    if (orvtest::IsLibraryLoaded(ORSISOME_PATH))
        findings.Fail("the module is still mapped");
}

/// Child: which entry points set-up and acquisition call, as "S name" / "A name".
void ListCalls(const BoardKind& kind, Findings& findings, std::string& calls) {
    auto sim = Sandbox(kind);
    WithModule(findings, [&](orvhost::DriverModule& module) {
        SimCtl_ResetCallCounts();
        orvhost::HostObject image(module.GetImageV2());
        const std::vector<int64_t> setUp = CallCounts();
        SimCtl_ResetCallCounts();
        std::string why;
        if (!image)
            findings.Fail("no image without a fault");
        else if (!GrabCycle(image.get(), why))
            findings.Fail("grab without a fault: " + why);
        const std::vector<int64_t> acquisition = CallCounts();
        for (size_t i = 0; i < setUp.size(); ++i) {
            if (setUp[i] > 0)
                calls += std::string("S ") + kFunctionNames[i] + "\n";
            if (acquisition[i] > 0)
                calls += std::string("A ") + kFunctionNames[i] + "\n";
        }
    });
}

/// Child: `function` fails once in `phase`; afterwards the image must work.
void RunCase(const BoardKind& kind, const std::string& function, Phase phase, Findings& findings) {
    auto sim = Sandbox(kind);
    WithModule(findings, [&](orvhost::DriverModule& module) {
        std::string why;
        if (phase == Phase::SetUp) {
            SimCtl_FailCall(function.c_str(), kFaultCode, 1);
            orvhost::HostObject image(module.GetImageV2());
            if (SimCtl_CallCount(function.c_str()) == 0)
                findings.Fail("the fault never fired");
            SimCtl_ClearFaults();
            // A set-up that gave up answers null; asking again must work.
            if (!image)
                *image.out() = module.GetImageV2();
            if (!image)
                findings.Fail("no image on the retry");
            else if (!GrabCycle(image.get(), why))
                findings.Fail("grab after the set-up fault: " + why);
            return;
        }
        orvhost::HostObject image(module.GetImageV2());
        if (!image) {
            findings.Fail("no image without a fault");
            return;
        }
        SimCtl_ResetCallCounts();
        SimCtl_FailCall(function.c_str(), kFaultCode, 1);
        FaultedGrabCycle(image.get());
        if (SimCtl_CallCount(function.c_str()) == 0)
            findings.Fail("the fault never fired");
        SimCtl_ClearFaults();
        if (!GrabCycle(image.get(), why))
            findings.Fail("grab after the acquisition fault: " + why);
    });
}

struct ChildResult {
    bool finished = false; // false: killed after the bound
    int status = -1;       // the child's exit status
    std::string output;
};

/// Runs one case (`text`: "list", or "S name" / "A name") in a child: this test
/// started again, its findings read back from a file.
ChildResult InChild(const std::string& text) {
    const orvtest::TempDir scratch("fault-sweep");
    orvtest::ChildSetup setup = orvtest::ThisTestAgain();
    setup.environment = {{kCaseVariable, text}, {kOutputVariable, scratch.File("findings")}};
    setup.outputPath = scratch.File("log");
    setup.errorPath = scratch.File("log");
    orvtest::ChildProcess child(setup);
    const auto deadline = std::chrono::steady_clock::now() + kCaseBound;
    while (!child.Ended() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ChildResult result;
    result.finished = child.Ended();
    result.status = child.Wait(std::chrono::milliseconds(0));
    result.output = orvtest::ReadFileText(scratch.File("findings"));
    return result;
}

/// "OK" or the failure lines, prefixed with "F".
std::string Outcome(const Findings& findings) {
    return findings.Text().empty() ? "OK\n" : "F" + findings.Text();
}

/// Child: runs the case it was started for and writes its findings.
void RunInChild(const BoardKind& kind, const std::string& text) {
    Findings findings;
    std::string output;
    if (text == "list") {
        std::string calls;
        ListCalls(kind, findings, calls);
        output = findings.Text().empty() ? calls : "F" + findings.Text();
    } else {
        const Phase phase = text.rfind("S ", 0) == 0 ? Phase::SetUp : Phase::Acquisition;
        RunCase(kind, text.substr(2), phase, findings);
        output = Outcome(findings);
    }
    orvtest::WriteFileText(*platform::GetEnv(kOutputVariable), output);
}

void Sweep(const BoardKind& kind) {
    if (const std::optional<std::string> text = platform::GetEnv(kCaseVariable)) {
        RunInChild(kind, *text);
        return;
    }
    std::vector<std::pair<Phase, std::string>> cases;
    const ChildResult listing = InChild("list");
    ASSERT_TRUE(listing.finished && listing.status == 0) << "the run without a fault";
    ASSERT_NE(listing.output.rfind("F", 0), 0u) << listing.output;
    std::istringstream lines(listing.output);
    std::string tag;
    std::string name;
    while (lines >> tag >> name)
        cases.emplace_back(tag == "S" ? Phase::SetUp : Phase::Acquisition, name);
    ASSERT_GT(cases.size(), 4u) << "set-up and acquisition call the SDK";
    ::testing::Test::RecordProperty("cases", static_cast<int>(cases.size()));

    for (const auto& [phase, function] : cases) {
        const std::string label = std::string(kind.name) + ", " + function + " failing once in " +
                                  (phase == Phase::SetUp ? "set-up" : "acquisition");
        const ChildResult run =
            InChild(std::string(phase == Phase::SetUp ? "S " : "A ") + function);
        if (!run.finished) {
            ADD_FAILURE() << label << ": hung (killed after " << kCaseBound.count() << " s)";
            continue;
        }
        if (run.status != 0) {
            ADD_FAILURE() << label << ": crashed (status " << run.status << ")";
            continue;
        }
        EXPECT_EQ(run.output, "OK\n") << label;
    }
}

} // namespace

TEST(FaultSweep, CameraLink_EveryCallFailingOnce_ImageStaysUsable) {
    Sweep(kCameraLink);
}

TEST(FaultSweep, GigE_EveryCallFailingOnce_ImageStaysUsable) {
    Sweep(kGigE);
}

TEST(FaultSweep, CoaXPress_EveryCallFailingOnce_ImageStaysUsable) {
    Sweep(kCoaXPress);
}
