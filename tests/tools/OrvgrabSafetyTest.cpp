// orvgrab and what the user already has: files at the output path, a kept
// sandbox's files, and the temporary sandbox when a run is interrupted.
#include "tools/OrvgrabFixture.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace toolstest;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST_F(OrvgrabEndToEnd, OutputThatIsNoRegularFile_RefusedBeforeTheGrabAndLeftAlone) {
    // A device node like /dev/full, made in the scratch directory when the system
    // lets us, and a pipe; a directory the user cannot mean either.
    std::vector<std::string> targets{scratch_ + "/pipe", scratch_ + "/folder"};
    ASSERT_EQ(::mkfifo(targets[0].c_str(), 0600), 0);
    fs::create_directory(targets[1]);
    const std::string device = scratch_ + "/full";
    if (::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0)
        targets.push_back(device);
    for (const std::string& target : targets) {
        const fs::file_type type = fs::symlink_status(target).type();
        const ToolResult run = Orvgrab({"--count", "1", "--output", target}, kBareEnvironment);
        EXPECT_EQ(run.status, 1) << Describe(run);
        ExpectOneErrorLine(run);
        EXPECT_NE(run.err.find("cannot write " + target), std::string::npos) << run.err;
        EXPECT_EQ(Field(run.out, "grabbed"), std::nullopt) << "refused before the grab";
        EXPECT_EQ(fs::symlink_status(target).type(), type) << target;
    }
    EXPECT_TRUE(ScratchEntries("orvgrab-").empty());
}

TEST_F(OrvgrabEndToEnd, FailedWrite_LeavesTheFileThereAndNoTemporaryFile) {
    const std::string good = "an image the user keeps";
    std::ofstream(Output(), std::ios::binary) << good;
    // The sandbox is made first, so that only the PNG meets the limit.
    const std::string root = scratch_ + "/sandbox";
    ASSERT_EQ(Orvgrab({"--sandbox", root, "--count", "1", "--output", scratch_ + "/first.png"},
                      kBareEnvironment)
                  .status,
              0);
    // A file-size limit (512 or 1024 bytes) far below the PNG of a 640 x 480 pattern.
    const ToolResult run =
        toolstest::RunTool({"/bin/sh", "-c", "ulimit -f 1 && exec \"$0\" \"$@\"", ORVGRAB_PATH,
                            "--sandbox", root, "--count", "1", "--output", Output()},
                           kBareEnvironment);
    EXPECT_EQ(run.status, 1) << Describe(run);
    ExpectOneErrorLine(run);
    EXPECT_NE(run.err.find("cannot write " + Output() + ": File too large"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(Output()), good);
    EXPECT_EQ(ScratchEntries("last.png.").size(), 0u) << "a temporary PNG left behind";

    // Through a link the file it names is replaced; the link stays.
    const std::string link = scratch_ + "/link.png";
    fs::create_symlink(Output(), link);
    const ToolResult linked = Orvgrab({"--count", "2", "--output", link}, kBareEnvironment);
    ASSERT_EQ(linked.status, 0) << Describe(linked);
    EXPECT_TRUE(fs::is_symlink(link));
    ExpectPicture(DmaLayout(), 2, 1, 8);
}

TEST_F(OrvgrabEndToEnd, KeptSandbox_FilesLeftAsTheUserLeftThem) {
    const std::string root = scratch_ + "/sandbox";
    fs::create_directories(root);
    // A registry without "Default Timeout": the driver's own default applies.
    const std::string registry = "REGEDIT4\n";
    std::ofstream(root + "/registry.ini", std::ios::binary) << registry;
    const ToolResult run =
        Orvgrab({"--sandbox", root, "--count", "1", "--output", Output()}, kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(ReadBytes(root + "/registry.ini"), registry);
}

TEST_F(OrvgrabEndToEnd, Signals_StopTheGrabPrintTheCountsAndRemoveTheSandbox) {
    struct Case {
        std::vector<int> signals;
        int status;
    };
    // One SIGINT, one SIGTERM, and two SIGINTs in a row (the second one ends at
    // once unless the first one's clean stop was quicker).
    for (const Case& c : {Case{{SIGINT}, 130}, Case{{SIGTERM}, 143}, Case{{SIGINT, SIGINT}, 130}}) {
        std::unique_ptr<ToolProcess> grab =
            StartOrvgrab({"--count", "2000000000", "--output", Output()}, kBareEnvironment);
        ASSERT_TRUE(grab->WaitForOutput("grabbing: ")) << Describe(grab->Wait());
        for (int signal : c.signals)
            grab->Signal(signal);
        const ToolResult run = grab->Wait();
        EXPECT_EQ(run.status, c.status) << Describe(run);
        EXPECT_TRUE(ScratchEntries("orvgrab-").empty()) << "sandbox left behind";
        if (c.signals.size() > 1)
            continue;
        const char* name = c.signals[0] == SIGINT ? "SIGINT" : "SIGTERM";
        ASSERT_EQ(Lines(run.err).size(), 1u) << Describe(run);
        EXPECT_EQ(run.err.rfind(std::string("orvgrab: stopped by ") + name, 0), 0u) << run.err;
        const std::optional<std::string> grabbed = Field(run.out, "grabbed");
        ASSERT_TRUE(grabbed.has_value()) << run.out;
        EXPECT_NE(grabbed->find(" of 2000000000"), std::string::npos) << *grabbed;
        if (grabbed->rfind("0 of", 0) != 0)
            ExpectPicture(DmaLayout(), ParseLastImage(run.out).picture, 1, 8);
    }
}
