// orvgrab and what the user already has: files at the output path, a kept
// sandbox's files, and the temporary sandbox when a run is interrupted.
#include "tools/OrvgrabFixture.h"

using namespace toolstest;

TEST_F(OrvgrabEndToEnd, KeptSandbox_FilesLeftAsTheUserLeftThem) {
    const std::string root = scratch_ + "/sandbox";
    fs::create_directories(root);
    // A registry without "Default Timeout": the driver's own default applies.
    const std::string registry = "REGEDIT4\n";
    std::ofstream(root + "/registry.ini", std::ios::binary) << registry;
    const ToolResult run =
        Orvgrab({"--sandbox", root, "--count", "1", "--output", Output()}, kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(orvtest::ReadFileText(root + "/registry.ini"), registry);
}

TEST_F(OrvgrabEndToEnd, StopRequests_StopTheGrabPrintTheCountsAndRemoveTheSandbox) {
    using platform::StopKind;
    struct Case {
        std::vector<StopKind> requests;
        int status;
    };
    // One Ctrl-C (SIGINT), one termination request (SIGTERM), and two Ctrl-Cs in a
    // row (the second one ends at once unless the first one's clean stop was quicker).
    for (const Case& c : {Case{{StopKind::Interrupt}, 130}, Case{{StopKind::Terminate}, 143},
                          Case{{StopKind::Interrupt, StopKind::Interrupt}, 130}}) {
        std::unique_ptr<ToolProcess> grab =
            StartOrvgrab({"--count", "2000000000", "--output", Output()}, kBareEnvironment);
        ASSERT_TRUE(grab->WaitForOutput("grabbing: ")) << Describe(grab->Wait());
        for (StopKind kind : c.requests)
            grab->RequestStop(kind);
        const ToolResult run = grab->Wait();
        EXPECT_EQ(run.status, c.status) << Describe(run);
#ifdef _WIN32
        // Ended at once, orvgrab cannot remove the library it still has loaded
        // on Windows; it names the sandbox it leaves instead.
        if (c.requests.size() > 1 && !ScratchEntries("orvgrab-").empty()) {
            EXPECT_NE(run.err.find("is still in use and stays"), std::string::npos) << run.err;
            continue;
        }
#endif
        EXPECT_TRUE(ScratchEntries("orvgrab-").empty())
            << "sandbox left behind after " << c.requests.size() << " request(s)";
        if (c.requests.size() > 1)
            continue;
        const char* name = c.requests[0] == StopKind::Interrupt ? "SIGINT" : "SIGTERM";
        ASSERT_EQ(Lines(run.err).size(), 1u) << Describe(run);
        EXPECT_EQ(run.err.rfind(std::string("orvgrab: stopped by ") + name, 0), 0u) << run.err;
        const std::optional<std::string> grabbed = Field(run.out, "grabbed");
        ASSERT_TRUE(grabbed.has_value()) << run.out;
        EXPECT_NE(grabbed->find(" of 2000000000"), std::string::npos) << *grabbed;
        if (grabbed->rfind("0 of", 0) != 0)
            ExpectPicture(DmaLayout(), ParseLastImage(run.out).picture, 1, 8);
    }
}
