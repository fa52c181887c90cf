// Descriptions downloaded from the device: GigE camera, CoaXPress camera, grabber.
#include "nodemap/NodeMapDescription.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "nodemap/XmlRepair.h"
#include "sdk/GenICamEntryTable.h"
#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

#include <cstring>
#include <new>
#include <vector>

namespace {

/// A zero-filled buffer of `size` bytes; empty when the memory cannot be had.
bool Allocate(std::vector<char>& buffer, size_t size) {
    try {
        buffer.assign(size, '\0');
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void Info(CDriverChannel& channel, const char* text) {
    NWLOG(channel.Log(), nwLogging::level_info, channel.Prefix() << '\t' << text);
}

/// The description of `size` bytes that `fetch` (buffer, in/out size; 0 for
/// success) writes, cut after its last '>'; none, after `failed` is logged, when
/// it cannot be had.
template <class Fetch>
std::optional<std::string> Download(CDriverChannel& channel, size_t size, Fetch fetch,
                                    const char* failed) {
    std::vector<char> buffer;
    size_t filled = size;
    std::optional<std::string> text;
    if (Allocate(buffer, size) && fetch(buffer.data(), &filled) == 0)
        text = CNodeMapDescription::CutAfterLastBracket(buffer.data(), buffer.size());
    if (!text)
        Info(channel, failed);
    return text;
}

} // namespace

std::optional<std::string> CNodeMapDescription::CutAfterLastBracket(const char* buffer,
                                                                    size_t size) {
    if (buffer == nullptr)
        return std::nullopt;
    // The text ends at its terminating zero; an SDK that filled the whole buffer
    // without one still ends at the buffer's end.
    const size_t length = strnlen(buffer, size);
    for (size_t end = length; end > 0; --end) {
        if (buffer[end - 1] == '>')
            return std::string(buffer, end);
    }
    return std::nullopt;
}

bool CNodeMapDescription::OldRuntime(const CDriverChannel& channel) {
    const RuntimeVersion& runtime = channel.System().Runtime();
    return !(runtime.major == 5 && runtime.minor >= 2);
}

CHostObject CNodeMapDescription::FromGigECamera(CDriverChannel& channel) {
    Gbe_Camera* camera = channel.GigECamera();
    size_t size = 0;
    if (Gbe_CameraDescription(camera, nullptr, &size) != 0) {
        Info(channel, "Unable to get size of genicam XML");
        return CHostObject();
    }
    const std::optional<std::string> text = Download(
        channel, size,
        [&](char* data, size_t* filled) { return Gbe_CameraDescription(camera, data, filled); },
        "Unable to get data for genicam XML");
    if (!text)
        return CHostObject();
    SaveDownloaded(channel, "camxmlsave", "Saved camera xml: ", *text);
    return LoadDownloaded(channel, *text, "Error validation camera xml string from board",
                          "Loaded camera XML from gige camera");
}

CHostObject CNodeMapDescription::FromCoaXPressCamera(CDriverChannel& channel) {
    const GenICamEntryTable& genicam = GenICam();
    SgcCamera* camera = channel.CoaXPressCamera();
    size_t size = 0;
    const int sizeResult =
        genicam.Loaded() ? genicam.getGenICamXML(camera, nullptr, &size) : SGC_ERR_INVALID_HANDLE;
    if (sizeResult != 0 || size == 0) {
        NWLOG(channel.Log(), nwLogging::level_info,
              channel.Prefix() << '\t' << "Unable to get size of genicam XML: size request failed "
                               << size);
        return CHostObject();
    }
    const std::optional<std::string> text = Download(
        channel, size,
        [&](char* data, size_t* filled) { return genicam.getGenICamXML(camera, data, filled); },
        "Unable to get data for genicam XML");
    if (!text)
        return CHostObject();
    SaveDownloaded(channel, "camxmlsave", "Saved camera xml: ", *text);
    return LoadDownloaded(channel, *text, "Error validation camera xml string from board",
                          "Loaded camera XML from sgc camera");
}

CHostObject CNodeMapDescription::FromGrabber(CDriverChannel& channel) {
    Fg_Grabber* grabber = channel.DriverBoard().Grabber();
    size_t size = 0;
    if (Fg_DmaDescription(grabber, channel.DmaIndex(), nullptr, &size) != 0) {
        Info(channel, "Unable to get size of SiSo board XML");
        return CHostObject();
    }
    std::optional<std::string> text = Download(
        channel, size,
        [&](char* data, size_t* filled) {
            return Fg_DmaDescription(grabber, channel.DmaIndex(), data, filled);
        },
        "Unable to get data for SiSo board XML");
    if (!text)
        return CHostObject();
    if (OldRuntime(channel)) {
        CXmlRepair::Result repaired = CXmlRepair::Apply(std::move(*text));
        text = std::move(repaired.text);
        if (repaired.categoryAdded)
            Info(channel, "repaired empty XML category");
    }
    SaveDownloaded(channel, "dmaxmlsave", "Saved dma xml: ", *text);
    return LoadDownloaded(channel, *text, "Error validation dma xml string from board",
                          "Loaded dma XML from grabber");
}
