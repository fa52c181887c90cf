// Descriptions from user files, and what every source shares: loading a text into
// a new node map and saving it.
#include "nodemap/NodeMapDescription.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "system/DriverConfiguration.h"
#include "system/ExceptionText.h"

#include <ORGenApi/ORGenApi.h>

#include <nwLogging/LogMacros.h>

#include <platform/Path.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

std::string CNodeMapDescription::Key(const CDriverChannel& channel, const char* key) {
    return "BOARD" + std::to_string(channel.DriverBoard().VendorIndex()) + "_DMA" +
           std::to_string(channel.DmaIndex()) + "." + key;
}

std::optional<std::string> CNodeMapDescription::SavePath(const CDriverChannel& channel,
                                                         const char* key) {
    if (boost::optional<std::string> path = channel.Configuration().Path(Key(channel, key)))
        return *path;
    return std::nullopt;
}

std::string CNodeMapDescription::ReadFile(const std::string& path) {
    std::ifstream file(platform::ToNativePath(path), std::ios::in | std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        throw std::runtime_error("cannot read " + path);
    return text.str();
}

void CNodeMapDescription::Save(const std::string& path, const std::string& text) {
    std::ofstream file(platform::ToNativePath(path),
                       std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file)
        throw std::runtime_error("cannot create " + path);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

CHostObject CNodeMapDescription::Load(const std::string& text) {
    ORHandle handle = nullptr;
    if (ORGenApi_CreateNodeMap(&handle) != 0)
        return CHostObject();
    CHostObject nodeMap(handle);
    if (ORGenApi_LoadDescription(nodeMap.get(), text.c_str()) != 0)
        return CHostObject();
    return nodeMap;
}

CHostObject CNodeMapDescription::FromUserFile(CDriverChannel& channel, Kind kind) {
    const bool camera = kind == Kind::Camera;
    const nwLogging::logger_ptr& log = channel.Log();
    try {
        const boost::optional<std::string> path =
            channel.Configuration().Path(Key(channel, camera ? "camxml" : "dmaxml"));
        if (!path)
            return CHostObject();
        const std::string text = ReadFile(*path);
        if (std::optional<std::string> save =
                SavePath(channel, camera ? "camxmlsave" : "dmaxmlsave")) {
            Save(*save, text);
            NWLOG(log, nwLogging::level_info,
                  channel.Prefix()
                      << '\t' << (camera ? "Saved camera xml: " : "Saved DMA xml: ") << *save);
        }
        CHostObject nodeMap = Load(text);
        if (!nodeMap) {
            NWLOG_HERE(log, nwLogging::level_warn, "DriverChannel",
                       channel.Prefix()
                           << '\t' << "Error validation camera xml string from file: " << *path);
            return CHostObject();
        }
        NWLOG(log, nwLogging::level_info,
              channel.Prefix() << '\t' << "Loaded camera XML from file: " << *path);
        return nodeMap;
    } catch (const std::exception& error) {
        NWLOG_HERE(log, nwLogging::level_err, "DriverChannel",
                   channel.Prefix()
                       << '\t' << "Unable to load user camera xml:" << ExceptionText(error));
    } catch (...) {
        NWLOG_HERE(log, nwLogging::level_err, "DriverChannel",
                   channel.Prefix() << '\t' << "Unable to load user camera xml:"
                                    << "Unknown exception");
    }
    return CHostObject();
}

void CNodeMapDescription::SaveDownloaded(CDriverChannel& channel, const char* key,
                                         const char* savedText, const std::string& text) {
    const std::optional<std::string> path = SavePath(channel, key);
    if (!path)
        return;
    try {
        Save(*path, text);
        NWLOG(channel.Log(), nwLogging::level_info, channel.Prefix() << '\t' << savedText << *path);
    } catch (const std::exception& error) {
        // The description is still good; only the copy is missing.
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   channel.Prefix() << '\t' << "Unable to save xml: " << ExceptionText(error));
    }
}

CHostObject CNodeMapDescription::LoadDownloaded(CDriverChannel& channel, const std::string& text,
                                                const char* failed, const char* loaded) {
    CHostObject nodeMap = Load(text);
    if (!nodeMap) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   channel.Prefix() << '\t' << failed);
        return CHostObject();
    }
    NWLOG(channel.Log(), nwLogging::level_info, channel.Prefix() << '\t' << loaded);
    return nodeMap;
}
