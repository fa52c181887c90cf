// orvgrab's failures name their cause and the file it is in, and the module's
// log set-up note appears only when asked for.
#include "tools/OrvgrabFixture.h"

using namespace toolstest;

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(OrvgrabEndToEnd, Failures_NameTheCauseAndTheFile) {
    const std::string root = scratch_ + "/sandbox";
    ASSERT_EQ(
        Orvgrab({"--sandbox", root, "--count", "1", "--output", Output()}, kBareEnvironment).status,
        0);
    const std::string ini = root + "/data/Drivers/ORSisoMe.ini";
    std::ifstream goodIni(ini);
    const std::string good((std::istreambuf_iterator<char>(goodIni)),
                           std::istreambuf_iterator<char>());

    // A broken ORSisoMe.ini.
    std::ofstream(ini, std::ios::trunc) << "[BOARD0\ninifilemcf=%ORVDATA%Drivers\\orvgrab.mcf\n";
    ToolResult run = Orvgrab({"--sandbox", root, "--output", Output()}, kBareEnvironment);
    EXPECT_EQ(run.status, 1) << Describe(run);
    EXPECT_TRUE(Contains(Slashed(run.err), Slashed("orvgrab: error: the module gave no image for "
                                                   "board 0: " +
                                                   ini + " line 1: unmatched '['")))
        << run.err;
    std::ofstream(ini, std::ios::trunc) << good;

    // A wrong value inside the applet, which only the vendor runtime checks: the
    // hint points at a log service, in a new run, since the module has released
    // its logging with this failure.
    const std::string applet = root + "/data/Drivers/orvgrab.mcf";
    std::ifstream goodAppletFile(applet);
    const std::string goodApplet((std::istreambuf_iterator<char>(goodAppletFile)),
                                 std::istreambuf_iterator<char>());
    ASSERT_FALSE(goodApplet.empty()) << applet;
    std::ofstream(applet, std::ios::trunc)
        << "[applet]\nname = Broken\ndmas = 1\n\n[dma0]\nwidth = 64\nheight = 48\n"
           "format = grey8\n";
    run = Orvgrab({"--sandbox", root, "--output", Output()}, kBareEnvironment);
    EXPECT_EQ(run.status, 1) << Describe(run);
    EXPECT_TRUE(Contains(run.err, "nothing missing in ")) << run.err;
    EXPECT_TRUE(Contains(run.err, "the module logs nothing more until it is loaded again"))
        << run.err;
    std::ofstream(applet, std::ios::trunc) << goodApplet;

    // A machine without boards, and one without the board asked for.
    const std::string machine = scratch_ + "/machine.ini";
    std::ofstream(machine) << "[machine]\nruntime = 5.7.0\n";
    run = Orvgrab({"--machine", machine, "--output", Output()}, kBareEnvironment);
    EXPECT_EQ(run.status, 1) << Describe(run);
    ExpectOneErrorLine(run);
    EXPECT_TRUE(Contains(run.err, "runtime-machine/fgsim_machine.ini has no [board0]")) << run.err;

    // ORVDATA without its separator: a warning first, and the cause at the end.
    const std::map<std::string, std::optional<std::string>> noSeparator = {
        {"ORVDATA", root + "/data"},
        {"SISODIR5", root + "/runtime"},
        {"ORV_REGISTRY_FILE", root + "/registry.ini"},
        {"ORV_DEBUG_OUTPUT_FILE", scratch_ + "/debug.log"}};
    run = Orvgrab({"--output", Output()}, noSeparator);
    EXPECT_EQ(run.status, 1) << Describe(run);
    const std::vector<std::string> lines = Lines(run.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "orvgrab: warning: ORVDATA=" + root +
                                 "/data lacks its trailing '/': the module reads " + root +
                                 "/dataDrivers/ORSisoMe.ini, not " + ini);
    EXPECT_TRUE(Contains(lines.back(), "no image for board 0: ORVDATA=" + root + "/data lacks"))
        << run.err;

    // Directories that are none, with the system's reason.
    const std::string file = scratch_ + "/plain";
    std::ofstream(file) << "x";
    for (const auto& [args, reason] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--data-dir", scratch_ + "/none"}, scratch_ + "/none: No such file or directory"},
             {{"--data-dir", file}, file + ": not a directory"},
             {{"--sandbox", file + "/box"}, file + "/box: Not a directory"}}) {
        run = Orvgrab(args, kBareEnvironment);
        EXPECT_EQ(run.status, 1) << Describe(run);
        ExpectOneErrorLine(run);
        EXPECT_TRUE(Contains(run.err, reason)) << run.err;
    }

    // Files that are no module.
    for (const std::string& module : {std::string("/etc/passwd"), scratch_}) {
        run = Orvgrab({"--module", module}, kBareEnvironment);
        EXPECT_EQ(run.status, 1) << Describe(run);
        ExpectOneErrorLine(run);
        EXPECT_TRUE(Contains(run.err, module == scratch_ ? scratch_ + ": it is a directory"
                                                         : "/etc/passwd is not a driver module"))
            << run.err;
    }
}

TEST_F(OrvgrabEndToEnd, PreparedEnvironment_LogSetUpNoteOnlyWhenVerbose) {
    const std::string root = scratch_ + "/sandbox";
    ASSERT_EQ(
        Orvgrab({"--sandbox", root, "--count", "1", "--output", Output()}, kBareEnvironment).status,
        0);
    // Prepared, without a debugger-output file: the module would write its note on
    // standard error.
    const std::map<std::string, std::optional<std::string>> prepared = {
        {"ORVDATA", root + "/data/"},
        {"SISODIR5", root + "/runtime"},
        {"ORV_REGISTRY_FILE", root + "/registry.ini"},
        {"ORV_DEBUG_OUTPUT_FILE", std::nullopt}};
    const ToolResult quiet = Orvgrab({"--count", "1", "--output", Output()}, prepared);
    ASSERT_EQ(quiet.status, 0) << Describe(quiet);
    EXPECT_EQ(quiet.err, "");
    const ToolResult verbose = Orvgrab({"--count", "1", "--output", Output(), "-v"}, prepared);
    ASSERT_EQ(verbose.status, 0) << Describe(verbose);
    EXPECT_EQ(verbose.err.rfind("orvgrab: module: Failed to retrieve/decode the log configuration "
                                "for module GDRVM",
                                0),
              0u)
        << verbose.err;
    EXPECT_TRUE(ScratchEntries("orvgrab-debug-").empty()) << "its capture file left behind";
}
