#pragma once
// The set-up of orvgrab's end-to-end tests: a scratch directory per test that
// takes the temporary sandboxes, orvgrab run as a child process in it, and the
// files and checks the tests share.
#include "support/SimEnvironment.h"
#include "support/TempDir.h"
#include "tools/PatternCheck.h"
#include "tools/PngReader.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace toolstest {

namespace fs = std::filesystem;

/// The environment of a machine that has never seen the product.
inline const Environment kBareEnvironment = {{"ORVDATA", std::nullopt},
                                             {"SISODIR5", std::nullopt},
                                             {"ORV_REGISTRY_FILE", std::nullopt},
                                             {"ORV_DEBUG_OUTPUT_FILE", std::nullopt}};

/// `text` with '/' for every '\\': orvgrab prints Windows paths with the
/// system's separators, the tests make theirs with '/'.
inline std::string Slashed(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

inline std::string Describe(const ToolResult& run) {
    return "status " + std::to_string(run.status) + "\n--- stdout\n" + run.out + "--- stderr\n" +
           run.err;
}

struct LastImage {
    int buffer = -1;
    int64_t picture = -1;
    int64_t tag = -1;
};

inline LastImage ParseLastImage(const std::string& out) {
    LastImage last;
    const std::optional<std::string> field = Field(out, "last image");
    std::smatch match;
    if (field &&
        std::regex_match(*field, match, std::regex(R"(buffer (\d+), picture (\d+), tag (\d+))"))) {
        last.buffer = std::stoi(match[1]);
        last.picture = std::stoll(match[2]);
        last.tag = std::stoll(match[3]);
    }
    return last;
}

inline std::string Applet(const DmaLayout& layout, const std::string& trigger = "freerun") {
    const char* format = layout.format == 1 ? "gray16" : layout.format == 2 ? "color24" : "gray8";
    std::ostringstream text;
    text << "[applet]\nname = OrvgrabTest\ndmas = 1\n\n[dma0]\nwidth = " << layout.width
         << "\nheight = " << layout.height << "\nformat = " << format
         << "\npattern = moving\ntrigger = " << trigger << "\n";
    return text.str();
}

inline std::string Configuration(const DmaLayout& layout, uint32_t buffers = 3,
                                 const std::string& applet = "%ORVDATA%Drivers\\acq.mcf") {
    std::ostringstream text;
    text << "[BOARD0]\ninifilemcf=" << applet << "\n\n[BOARD0_DMA0]\nframebuffers=" << buffers
         << "\nRotateImage=" << layout.rotation
         << "\ninvertdim=" << (layout.invertdim ? "true" : "false") << "\n";
    return text.str();
}

class OrvgrabEndToEnd : public ::testing::Test {
protected:
    /// orvgrab with `args`; temporary sandboxes go below the scratch directory.
    ToolResult Orvgrab(std::vector<std::string> args, Environment environment = {}) const {
        args.insert(args.begin(), ORVGRAB_PATH);
        return toolstest::RunTool(args, InScratch(std::move(environment)));
    }
    /// orvgrab started with `args` as Orvgrab() runs it, for a test that watches it.
    std::unique_ptr<ToolProcess> StartOrvgrab(std::vector<std::string> args,
                                              Environment environment = {}) const {
        args.insert(args.begin(), ORVGRAB_PATH);
        return std::make_unique<ToolProcess>(args, InScratch(std::move(environment)));
    }
    /// The temporary area is the scratch directory: TMPDIR on POSIX, TMP and TEMP
    /// on Windows.
    Environment InScratch(Environment environment) const {
        for (const char* name : {"TMPDIR", "TMP", "TEMP"})
            environment.emplace(name, scratch_);
        return environment;
    }
    /// Entries of the scratch directory whose names start with `prefix`.
    std::vector<std::string> ScratchEntries(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(scratch_))
            if (entry.path().filename().string().rfind(prefix, 0) == 0)
                found.push_back(entry.path().string());
        return found;
    }
    std::string Output() const { return scratch_ + "/last.png"; }
    /// For runs in a SimEnvironment: the module's debugger output goes to a file,
    /// as a user who set up the environment would arrange.
    Environment Prepared() const {
        return {{"ORV_DEBUG_OUTPUT_FILE", scratch_ + "/debug-output.log"}};
    }

    /// Asserts that the PNG holds picture `picture` of the moving pattern.
    void ExpectPicture(const DmaLayout& layout, int64_t picture, int channels, int bitDepth) const {
        const PngImage png = toolstest::ReadPng(Output());
        const bool turned = layout.rotation == 1 || layout.rotation == 3;
        EXPECT_EQ(png.width, turned ? layout.height : layout.width);
        EXPECT_EQ(png.height, turned ? layout.width : layout.height);
        ASSERT_EQ(png.channels, channels);
        ASSERT_EQ(png.bitDepth, bitDepth);
        std::string detail;
        EXPECT_EQ(toolstest::PatternMismatches(png, layout, picture, &detail), 0) << detail;
    }

    const orvtest::TempDir scratchDirectory_{"orvgrab-e2e"};
    const std::string scratch_ = scratchDirectory_.path();
};

inline void ExpectOneErrorLine(const ToolResult& run) {
    const std::vector<std::string> lines = Lines(run.err);
    ASSERT_EQ(lines.size(), 1u) << Describe(run);
    EXPECT_EQ(lines[0].rfind("orvgrab: error: ", 0), 0u) << lines[0];
}

} // namespace toolstest
