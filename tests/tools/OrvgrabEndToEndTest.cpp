// orvgrab run as a user runs it: a child process on the simulated machine, out of
// the box (its own sandbox) and in a sandbox the test prepares, with the PNG it
// writes decoded and compared with the simulator's pattern.
#include "tools/OrvgrabFixture.h"

using namespace toolstest;

TEST_F(OrvgrabEndToEnd, EmbeddedDefault_OutOfTheBox_WritesTheLastPictureAsPng) {
    const ToolResult run = Orvgrab({"--count", "7", "--output", Output()}, kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Field(run.out, "board"), "0 (of 1)");
    EXPECT_EQ(Field(run.out, "dma"), "0 (of 2)");
    EXPECT_EQ(Field(run.out, "size"), "640 x 480");
    EXPECT_EQ(Field(run.out, "format"), "gray8 (1 plane, 8 bits per sample)");
    EXPECT_EQ(Field(run.out, "grabbed"), "7 of 7");
    EXPECT_EQ(Field(run.out, "lost"), "0 (0 to locked buffers)");
    EXPECT_EQ(Field(run.out, "incomplete"), "0");
    EXPECT_EQ(Field(run.out, "unload"), "yes");
    // No terminal: no progress line redrawn with carriage returns.
    EXPECT_EQ(run.out.find('\r'), std::string::npos);

    // Lock mode 0 keeps the delivered buffer until the next wait, so the free-running
    // DMA can never overwrite the last image: it is picture 7.
    const LastImage last = ParseLastImage(run.out);
    EXPECT_EQ(last.picture, 7) << run.out;
    EXPECT_EQ(last.tag, 7);
    EXPECT_EQ(last.buffer, 0); // pictures 1..7 in three buffers: the 7th is in buffer 0
    ExpectPicture(DmaLayout(), 7, 1, 8);

    // The temporary sandbox is gone.
    const std::optional<std::string> sandbox = Field(run.out, "sandbox");
    ASSERT_TRUE(sandbox.has_value()) << run.out;
    const std::string root = sandbox->substr(0, sandbox->find(' '));
    EXPECT_EQ(root.rfind(scratch_, 0), 0u) << root;
    EXPECT_FALSE(fs::exists(root));
}

TEST_F(OrvgrabEndToEnd, GivenSandbox_IsLaidOutForTheModuleAndReused) {
    const std::string root = scratch_ + "/sandbox";
    const ToolResult first =
        Orvgrab({"--sandbox", root, "--count", "2", "--output", Output()}, kBareEnvironment);
    ASSERT_EQ(first.status, 0) << Describe(first);
    EXPECT_EQ(Slashed(Field(first.out, "sandbox").value_or("")), Slashed(root + " (kept)"));

    EXPECT_TRUE(fs::is_regular_file(root + "/data/Drivers/ORSisoMe.ini"));
    EXPECT_TRUE(fs::is_regular_file(root + "/data/Drivers/orvgrab.mcf"));
    EXPECT_TRUE(fs::is_regular_file(root + "/runtime/fgsim_machine.ini"));
    EXPECT_TRUE(fs::is_regular_file(root + "/runtime/bin/siso_genicam.dll"));
#ifdef _WIN32
    EXPECT_EQ(Field(first.out, "registry"),
              "HKEY_LOCAL_MACHINE\\Software\\Orvento\\Pictora (the system's)");
#else
    const std::string registryText = orvtest::ReadFileText(root + "/registry.ini");
    EXPECT_NE(registryText.find("\"Default Timeout\"=dword:"), std::string::npos) << registryText;
#endif
    EXPECT_EQ(Slashed(Field(first.out, "data directory").value_or("")),
              Slashed(root + "/data/ (sandbox)"));
    EXPECT_EQ(first.err, "");
    // The module's complaint about the missing log service went to the sandbox.
    EXPECT_TRUE(fs::is_regular_file(root + "/debug-output.log"));

    // An edit survives the next run, which uses it.
    {
        std::ofstream applet(root + "/data/Drivers/orvgrab.mcf", std::ios::trunc);
        applet << "[dma0]\nwidth = 64\nheight = 32\n";
    }
    const ToolResult second =
        Orvgrab({"--sandbox", root, "--count", "3", "--output", Output()}, kBareEnvironment);
    ASSERT_EQ(second.status, 0) << Describe(second);
    EXPECT_EQ(Field(second.out, "size"), "64 x 32");
    DmaLayout layout;
    layout.width = 64;
    layout.height = 32;
    ExpectPicture(layout, 3, 1, 8);
}

TEST_F(OrvgrabEndToEnd, PreparedEnvironment_RotatedInvertedColour_ShowsAsRgb) {
    DmaLayout layout;
    layout.width = 40;
    layout.height = 24;
    layout.format = 2;
    layout.rotation = 1;
    layout.invertdim = true;
    SimEnvironment::Options options;
    options.configurationText = Configuration(layout);
    SimEnvironment sim(options);
    sim.WriteDriverFile("acq.mcf", Applet(layout));

    const ToolResult run = Orvgrab({"--count", "4", "--output", Output()}, Prepared());
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Field(run.out, "data directory"), sim.DataDirectory() + " (ORVDATA)");
    EXPECT_EQ(Field(run.out, "size"), "24 x 40");
    EXPECT_EQ(Field(run.out, "format"), "rgb24 (3 planes, 8 bits per sample)");
    EXPECT_EQ(Field(run.out, "sandbox"), std::nullopt); // nothing made
    EXPECT_EQ(ParseLastImage(run.out).picture, 4);
    ExpectPicture(layout, 4, 3, 8);
}

TEST_F(OrvgrabEndToEnd, DataDirectoryOption_Gray16Rotated_WritesSixteenBitGray) {
    DmaLayout layout;
    layout.width = 48;
    layout.height = 20;
    layout.format = 1;
    layout.rotation = 2;
    const fs::path data = fs::path(scratch_) / "data";
    fs::create_directories(data / "Drivers");
    std::ofstream(data / "Drivers" / "ORSisoMe.ini") << Configuration(layout);
    std::ofstream(data / "Drivers" / "acq.mcf") << Applet(layout);

    const ToolResult run = Orvgrab(
        {"--data-dir", data.string(), "--count", "5", "--output", Output()}, kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(Field(run.out, "data directory"), data.string() + "/ (--data-dir)");
    EXPECT_EQ(Field(run.out, "format"), "gray16 (1 plane, 16 bits per sample)");
    EXPECT_EQ(ParseLastImage(run.out).picture, 5);
    ExpectPicture(layout, 5, 1, 16);
}

TEST_F(OrvgrabEndToEnd, FiveBuffersLockModeTwo_UnlocksEachBufferAroundTheRing) {
    // Twelve images through five buffers: without the unlocks the ring would run
    // out of free buffers after five.
    const ToolResult run =
        Orvgrab({"--buffers", "5", "--lock-mode", "2", "--count", "12", "--output", Output()},
                kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(Field(run.out, "buffers"), "5");
    EXPECT_EQ(Field(run.out, "lock mode"), "2");
    EXPECT_EQ(Field(run.out, "grabbed"), "12 of 12");
    EXPECT_EQ(Field(run.out, "lost"), "0 (0 to locked buffers)");
    const LastImage last = ParseLastImage(run.out);
    EXPECT_EQ(last.picture, 12);
    EXPECT_EQ(last.buffer, 1); // picture 12 lands in buffer ((12 - 1) mod 5) + 1, index 1
    ExpectPicture(DmaLayout(), 12, 1, 8);
}

TEST_F(OrvgrabEndToEnd, Help_PrintsUsageAndSucceeds) {
    const ToolResult run = Orvgrab({"--help"});
    EXPECT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.out.rfind("Usage: orvgrab", 0), 0u) << run.out;
    for (const char* option :
         {"--count",   "--lock-mode",   "--buffers", "--timeout",  "--output",  "--data-dir",
          "--sandbox", "--module",      "--help",    "--board",    "--dma",     "--size",
          "--offset",  "--get",         "--set",     "--features", "--trigger", "--rate",
          "--save",    "--save-format", "--machine", "--applet"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    EXPECT_EQ(run.err, "");
}

TEST_F(OrvgrabEndToEnd, BadOption_FailsWithOneLine) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--frobnicate"},
                                                 {"--count", "-1"},
                                                 {"--rate", "5"},
                                                 {"--trigger", "hardware"},
                                                 {"--set", "Width"},
                                                 {"--size", "640"},
                                                 {"--lock-mode", "3"},
                                                 {"--buffers"},
                                                 {"--count", "12x"},
                                                 {"stray"}}) {
        const ToolResult run = Orvgrab(args, kBareEnvironment);
        EXPECT_EQ(run.status, 2) << Describe(run);
        ExpectOneErrorLine(run);
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(OrvgrabEndToEnd, MissingModule_FailsWithOneLine) {
    const ToolResult run =
        Orvgrab({"--module", scratch_ + "/nowhere/ORSisoMe.xvd"}, kBareEnvironment);
    EXPECT_EQ(run.status, 1) << Describe(run);
    ExpectOneErrorLine(run);
    EXPECT_NE(run.err.find("no driver module"), std::string::npos) << run.err;
}

TEST_F(OrvgrabEndToEnd, UnwritableOutput_FailsWithOneLineAndLeavesNoFile) {
    const std::string output = scratch_ + "/missing-folder/last.png";
    const ToolResult run = Orvgrab({"--count", "1", "--output", output}, kBareEnvironment);
    EXPECT_EQ(run.status, 1) << Describe(run);
    ExpectOneErrorLine(run);
    EXPECT_NE(run.err.find("cannot write " + output), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(OrvgrabEndToEnd, UnconfiguredBoard_FailsWithNoImage) {
    SimEnvironment::Options options;
    options.configurationText = Configuration(DmaLayout(), 3, "%ORVDATA%Drivers\\missing.mcf");
    SimEnvironment sim(options);

    const ToolResult run = Orvgrab({"--output", Output()}, Prepared());
    EXPECT_EQ(run.status, 1) << Describe(run);
    ExpectOneErrorLine(run);
    EXPECT_NE(run.err.find("the module gave no image"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Output()));
}

TEST_F(OrvgrabEndToEnd, NoFrameWithinTheTimeout_FailsTheGrab) {
    // A software-triggered DMA that nobody triggers delivers nothing.
    DmaLayout layout;
    layout.width = 32;
    layout.height = 16;
    SimEnvironment::Options options;
    options.configurationText = Configuration(layout);
    SimEnvironment sim(options);
    sim.WriteDriverFile("acq.mcf", Applet(layout, "software"));

    const ToolResult run =
        Orvgrab({"--count", "2", "--timeout", "1000", "--output", Output()}, Prepared());
    EXPECT_EQ(run.status, 1) << Describe(run);
    ExpectOneErrorLine(run);
    EXPECT_NE(run.err.find("no image 1 of 2 within the time-out"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Output()));
}
