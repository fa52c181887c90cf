// orvgrab and the special files of POSIX at its output path: FIFOs, device
// nodes, a file-size limit and symbolic links (POSIX only).
#include "tools/OrvgrabFixture.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace toolstest;

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
    EXPECT_EQ(orvtest::ReadFileText(Output()), good);
    EXPECT_EQ(ScratchEntries("last.png.").size(), 0u) << "a temporary PNG left behind";

    // Through a link the file it names is replaced; the link stays.
    const std::string link = scratch_ + "/link.png";
    fs::create_symlink(Output(), link);
    const ToolResult linked = Orvgrab({"--count", "2", "--output", link}, kBareEnvironment);
    ASSERT_EQ(linked.status, 0) << Describe(linked);
    EXPECT_TRUE(fs::is_symlink(link));
    ExpectPicture(DmaLayout(), 2, 1, 8);
}
