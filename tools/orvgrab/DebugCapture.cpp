#include "DebugCapture.h"

#include "ToolError.h"

#include <platform/Environment.h>
#include <platform/TemporaryFiles.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

const char* const kLogSetUpNote = "Failed to retrieve/decode the log configuration";

} // namespace

DebugCapture::DebugCapture() {
    if (std::optional<std::string> file = platform::GetEnv("ORV_DEBUG_OUTPUT_FILE")) {
        path_ = *file;
        std::error_code error;
        const auto size = std::filesystem::file_size(path_, error);
        start_ = error ? 0 : static_cast<long long>(size);
        return;
    }
    try {
        path_ = platform::MakeTemporaryFile("orvgrab-debug");
    } catch (const std::system_error& error) {
        throw ToolError(std::string("cannot create a file for the module's debugger output: ") +
                        error.what());
    }
    own_ = true;
    if (!platform::SetEnv("ORV_DEBUG_OUTPUT_FILE", path_))
        throw ToolError("cannot set ORV_DEBUG_OUTPUT_FILE");
}

DebugCapture::~DebugCapture() {
    if (own_)
        std::remove(path_.c_str());
}

std::string DebugCapture::Text() const {
    std::ifstream in(path_, std::ios::binary);
    in.seekg(start_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DebugCapture::FirstCause() const {
    std::string text = Text();
    // The note is written without a line end of its own; the reason it names
    // runs to the end of the line or to the next bracketed message.
    for (std::string::size_type at; (at = text.find(kLogSetUpNote)) != std::string::npos;) {
        std::string::size_type end = text.find_first_of("\n[", at);
        text.erase(at, end == std::string::npos ? std::string::npos : end - at);
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty())
            return line;
    }
    return {};
}
