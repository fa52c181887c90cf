#include "AppletParser.h"

#include "PatternGenerator.h"
#include "PixelFormat.h"

#include <limits>

namespace sim {

namespace {

const char* const patternNames[] = {"moving", "ramp", "constant", "checker", "counter"};
static_assert(sizeof(patternNames) / sizeof(patternNames[0]) == PatternGenerator::PatternCount);

} // namespace

AppletConfig AppletParser::ParseFile(const std::string& path, unsigned boardDmas) {
    return ParseDocument(IniDocument::ParseFile(path), boardDmas);
}

AppletConfig AppletParser::ParseText(const std::string& text, const std::string& source,
                                     unsigned boardDmas) {
    return ParseDocument(IniDocument::Parse(text, source), boardDmas);
}

AppletConfig AppletParser::ParseDocument(const IniDocument& doc, unsigned boardDmas) {
    AppletConfig applet;
    unsigned dmas = boardDmas;
    if (const IniDocument::Section* section = doc.Find("applet")) {
        for (const IniDocument::Entry& entry : section->entries) {
            if (entry.key == "name") {
                applet.name = entry.value;
            } else if (entry.key == "dmas") {
                dmas = static_cast<unsigned>(doc.ToInteger(entry, 1, boardDmas));
            } else {
                throw doc.Error(entry.line, "unknown key '" + entry.key + "' in [applet]");
            }
        }
    }
    applet.dmas.assign(dmas, DmaConfig{});
    for (const IniDocument::Section& section : doc.Sections()) {
        if (section.name == "applet") {
            continue;
        }
        std::int64_t index = -1;
        if (section.name.rfind("dma", 0) != 0 || !ParseInteger(section.name.substr(3), index) ||
            section.name.substr(3) != std::to_string(index)) {
            throw doc.Error(section.line, "unknown section [" + section.name + "]");
        }
        if (index < 0 || index >= static_cast<std::int64_t>(dmas)) {
            throw doc.Error(section.line, "[" + section.name + "] is beyond the applet's " +
                                              std::to_string(dmas) + " DMAs");
        }
        ParseDma(doc, section, applet.dmas[static_cast<std::size_t>(index)]);
    }
    return applet;
}

void AppletParser::ParseDma(const IniDocument& doc, const IniDocument::Section& section,
                            DmaConfig& config) {
    constexpr std::int64_t U32 = 0xFFFFFFFF;
    bool depthGiven = false;
    for (const IniDocument::Entry& entry : section.entries) {
        const std::string& key = entry.key;
        if (key == "width") {
            config.width = static_cast<std::uint32_t>(doc.ToInteger(entry, 1, U32));
        } else if (key == "height") {
            config.height = static_cast<std::uint32_t>(doc.ToInteger(entry, 1, U32));
        } else if (key == "xoffset") {
            config.xoffset = static_cast<std::uint32_t>(doc.ToInteger(entry, 0, U32));
        } else if (key == "yoffset") {
            config.yoffset = static_cast<std::uint32_t>(doc.ToInteger(entry, 0, U32));
        } else if (key == "maxwidth") {
            config.maxWidth = static_cast<std::uint32_t>(doc.ToInteger(entry, 1, U32));
        } else if (key == "maxheight") {
            config.maxHeight = static_cast<std::uint32_t>(doc.ToInteger(entry, 1, U32));
        } else if (key == "format") {
            if (!PixelFormat::Parse(entry.value, config.format)) {
                throw doc.Error(entry.line, "format needs a pixel format name or code, not '" +
                                                entry.value + "'");
            }
        } else if (key == "pixeldepth") {
            config.pixelDepth = static_cast<std::uint32_t>(doc.ToInteger(entry, 1, 64));
            depthGiven = true;
        } else if (key == "framerate") {
            config.frameRate = doc.ToDouble(entry, 0.0, 1e6);
        } else if (key == "trigger") {
            if (entry.value == "freerun") {
                config.triggerMode = 0;
            } else if (entry.value == "software") {
                config.triggerMode = 1;
            } else {
                throw doc.Error(entry.line, "trigger must be freerun or software");
            }
        } else if (key == "pattern") {
            bool known = false;
            for (std::uint32_t i = 0; i < PatternGenerator::PatternCount; ++i) {
                if (entry.value == patternNames[i]) {
                    config.pattern = i;
                    known = true;
                }
            }
            if (!known) {
                throw doc.Error(entry.line,
                                "pattern must be moving, ramp, constant, checker or counter");
            }
        } else if (key == "patternoffset") {
            config.patternOffset = static_cast<std::int32_t>(
                doc.ToInteger(entry, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max()));
        } else if (key == "shorttransfer") {
            config.shortTransfer = doc.ToUnsigned(entry, std::numeric_limits<std::uint64_t>::max());
        } else if (key == "timeout") {
            config.timeout = static_cast<std::uint32_t>(doc.ToInteger(entry, 0, U32));
        } else {
            throw doc.Error(entry.line, "unknown key '" + key + "' in [" + section.name + "]");
        }
    }
    if (!depthGiven) {
        config.pixelDepth = PixelFormat::DefaultDepth(config.format);
    }
    if (config.width > config.maxWidth || config.height > config.maxHeight) {
        throw doc.Error(section.line,
                        "[" + section.name + "] image larger than maxwidth x maxheight");
    }
    if (config.xoffset >= config.maxWidth || config.yoffset >= config.maxHeight) {
        throw doc.Error(section.line, "[" + section.name + "] offset beyond maxwidth x maxheight");
    }
}

} // namespace sim
