// The commands people reach for first: other machines, boards and DMAs, camera
// and grabber features, software triggers, and grabbing until Ctrl-C with every
// image saved.
#include "tools/OrvgrabFixture.h"

#include <algorithm>

using namespace toolstest;

namespace {

/// Camera Link board 0, GigE board 1 (a camera on port 0), CoaXPress board 2 (a
/// camera on port 0): one machine with each kind of board.
const char* const kThreeBoards = "[machine]\nruntime = 5.7.0\n\n"
                                 "[board0]\ntype = 1873\ndmas = 2\n\n"
                                 "[board1]\ntype = 3650\ndmas = 2\nport0 = gige\n\n"
                                 "[board2]\ntype = 2646\ndmas = 4\ncameras = cxp\n\n"
                                 "[camera:gige]\nHeight = 480\n"
                                 "[camera:cxp]\nDeviceModelName = Orvgrab CXP\n";

std::string Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

TEST_F(OrvgrabEndToEnd, Machine_BoardsDmasAndTheirFeatures) {
    const std::string machine = Write(scratch_ + "/machine.ini", kThreeBoards);
    struct Case {
        const char* board;
        const char* get;
        const char* expected;
    };
    // Both kinds of camera describe their size and their device strings.
    for (const Case& c : {Case{"1", "Height", "Device:Height = 480 (Integer, read-write)"},
                          Case{"2", "DeviceModelName", "Device:DeviceModelName = Orvgrab CXP"}}) {
        const ToolResult run = Orvgrab({"--machine", machine, "--board", c.board, "--get", c.get,
                                        "--set", "Device:Width=320", "--get", "TLDevice:FG_WIDTH",
                                        "--count", "2", "--output", Output()},
                                       kBareEnvironment);
        ASSERT_EQ(run.status, 0) << Describe(run);
        EXPECT_EQ(Field(run.out, "board"), std::string(c.board) + " (of 3)");
        EXPECT_NE(Field(run.out, "vendor runtime").value_or("").find("/runtime-machine (sandbox)"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
        EXPECT_EQ(Field(run.out, "set"), "Device:Width = 320") << run.out;
        EXPECT_NE(run.out.find("TLDevice:FG_WIDTH = 640 (Integer"), std::string::npos) << run.out;
        EXPECT_EQ(Field(run.out, "grabbed"), "2 of 2");
    }
    // The Camera Link board's second DMA: no camera node map, and the list says so.
    const ToolResult features = Orvgrab(
        {"--machine", machine, "--dma", "1", "--features", "--count", "1", "--output", Output()},
        kBareEnvironment);
    ASSERT_EQ(features.status, 0) << Describe(features);
    EXPECT_EQ(Field(features.out, "dma"), "1 (of 2)");
    EXPECT_EQ(Field(features.out, "node maps"), "1");
    EXPECT_NE(features.out.find("TLDevice:FG_WIDTH = 640 (Integer, read-write)"), std::string::npos)
        << features.out;
    const ToolResult missing = Orvgrab(
        {"--machine", machine, "--get", "DeviceModelName", "--output", Output()}, kBareEnvironment);
    EXPECT_EQ(missing.status, 1) << Describe(missing);
    ExpectOneErrorLine(missing);
    EXPECT_NE(missing.err.find("no feature DeviceModelName in the node map TLDevice"),
              std::string::npos)
        << missing.err;
}

TEST_F(OrvgrabEndToEnd, List_EveryBoardAndDmaWithItsCamera_AsLinesAndAsJson) {
    const std::string machine = Write(scratch_ + "/machine.ini", kThreeBoards);
    const ToolResult run = Orvgrab({"--machine", machine, "--list"}, kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(Field(run.out, "boards"), "3");
    EXPECT_EQ(Field(run.out, "board 0 dma 1"),
              "640 x 480 gray8, camera: none (no camera node map)");
    EXPECT_EQ(Field(run.out, "board 1 dma 0"),
              "640 x 480 gray8, camera: SimCam GigE, vendor Nordwell Sim, serial gige");
    EXPECT_EQ(Field(run.out, "board 2 dma 0"),
              "640 x 480 gray8, camera: Orvgrab CXP, vendor Nordwell Sim, serial cxp");
    EXPECT_EQ(Field(run.out, "board 2 dma 3").has_value(), true);
    EXPECT_EQ(Field(run.out, "grabbed"), std::nullopt) << "a listing grabs nothing";
    EXPECT_EQ(Field(run.out, "unload"), "yes");

    const ToolResult json = Orvgrab({"--machine", machine, "--list", "--json"}, kBareEnvironment);
    ASSERT_EQ(json.status, 0) << Describe(json);
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_NE(json.out.find("\"boardCount\": 3"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("{\"board\": 2, \"dma\": 0, \"width\": 640, \"height\": 480, "
                            "\"format\": \"gray8\", \"camera\": {\"model\": \"Orvgrab CXP\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"status\": 0\n}"), std::string::npos) << json.out;

    // A failure is in the object too, as well as on standard error.
    const ToolResult failed = Orvgrab(
        {"--machine", machine, "--board", "1", "--get", "Nothing", "--json"}, kBareEnvironment);
    EXPECT_EQ(failed.status, 1) << Describe(failed);
    ExpectOneErrorLine(failed);
    EXPECT_NE(failed.out.find("\"status\": 1,\n \"error\": \"error: no feature Nothing"),
              std::string::npos)
        << failed.out;
}

TEST_F(OrvgrabEndToEnd, SoftwareTriggerUntilCtrlC_SavesEveryImageItKept) {
    DmaLayout layout;
    layout.width = 64;
    layout.height = 48;
    const std::string applet = Write(scratch_ + "/soft.mcf", Applet(layout, "software"));
    const std::string saved = scratch_ + "/saved";
    fs::create_directory(saved);
    std::unique_ptr<ToolProcess> grab =
        StartOrvgrab({"--applet", applet, "--trigger", "software", "--rate", "200", "--count", "0",
                      "--save", saved, "--size", "64x48", "--output", Output()},
                     kBareEnvironment);
    // Statistics come once a second: the first one means images are flowing.
    ASSERT_TRUE(grab->WaitForOutput("statistics: ")) << Describe(grab->Wait());
    grab->RequestStop(platform::StopKind::Interrupt);
    const ToolResult run = grab->Wait();
    EXPECT_EQ(run.status, 130) << Describe(run);
    EXPECT_EQ(Field(run.out, "size"), "64 x 48");

    std::smatch match;
    const std::string grabbedText = Field(run.out, "grabbed").value_or("");
    ASSERT_TRUE(std::regex_match(grabbedText, match, std::regex(R"((\d+) \(until stopped\))")))
        << run.out;
    const uint64_t grabbed = std::stoull(match[1]);
    const std::string savedText = Field(run.out, "saved").value_or("");
    ASSERT_TRUE(
        std::regex_match(savedText, match, std::regex(R"((\d+) to (.*) \((\d+) dropped: .*\))")))
        << run.out;
    const uint64_t written = std::stoull(match[1]);
    EXPECT_EQ(match[2], saved);
    EXPECT_EQ(written + std::stoull(match[3]), grabbed);
    EXPECT_GT(written, 0u);

    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(saved))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), written);
    // Triggered images are never lost, so image N is picture N.
    const std::string first = fs::path(files.front()).filename().string();
    ASSERT_TRUE(std::regex_match(first, match, std::regex(R"(image-(\d{6})\.png)"))) << first;
    const PngImage png = toolstest::ReadPng(files.front());
    std::string detail;
    EXPECT_EQ(toolstest::PatternMismatches(png, layout, std::stoll(match[1]), &detail), 0)
        << detail;
    EXPECT_TRUE(ScratchEntries("orvgrab-").empty());
}

TEST_F(OrvgrabEndToEnd, SaveAsNetpbm_HeaderAndSamples) {
    const std::string saved = scratch_ + "/saved";
    fs::create_directory(saved);
    const ToolResult run =
        Orvgrab({"--count", "3", "--save", saved, "--save-format", "pgm", "--output", Output()},
                kBareEnvironment);
    ASSERT_EQ(run.status, 0) << Describe(run);
    std::smatch match;
    const std::string savedText = Field(run.out, "saved").value_or("");
    ASSERT_TRUE(std::regex_match(savedText, match, std::regex(R"((\d+) to .* \((\d+) dropped.*)")))
        << run.out;
    EXPECT_EQ(std::stoi(match[1]) + std::stoi(match[2]), 3);
    EXPECT_EQ(std::distance(fs::directory_iterator(saved), fs::directory_iterator()),
              std::stoi(match[1]));
    for (const fs::directory_entry& entry : fs::directory_iterator(saved)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string magic;
        int width = 0, height = 0, most = 0;
        in >> magic >> width >> height >> most;
        in.get();
        EXPECT_EQ(magic, "P5");
        EXPECT_EQ(width, 640);
        EXPECT_EQ(height, 480);
        EXPECT_EQ(most, 255);
        std::string samples((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(samples.size(), 640u * 480u) << entry.path();
    }
}
