#pragma once

#include "nodemap/HostObject.h"

#include <cstddef>
#include <optional>
#include <string>

class CDriverChannel;

/// Where the GenICam descriptions of a channel's node maps come from: a user
/// file named in the DMA's configuration section, or a download from the GigE
/// camera, the CoaXPress camera or the grabber. Each source answers a node map
/// with the description loaded (no port yet), or an empty object after logging
/// why there is none. Saves the text when the matching save key is set.
///
/// Runs on the host thread that requests a node map, under the channel's
/// node-map lock; keeps no state.
class CNodeMapDescription {
public:
    enum class Kind { Camera, Dma };

    /// Keys `camxml`/`camxmlsave` (Camera) or `dmaxml`/`dmaxmlsave` (Dma).
    static CHostObject FromUserFile(CDriverChannel& channel, Kind kind);
    static CHostObject FromGigECamera(CDriverChannel& channel);
    static CHostObject FromCoaXPressCamera(CDriverChannel& channel);
    /// Repaired first on runtimes before 5.2.
    static CHostObject FromGrabber(CDriverChannel& channel);

    /// The text of a downloaded buffer: everything up to and including its last
    /// '>' before the first NUL or the end of the buffer, whichever comes first.
    /// Nothing when there is no '>' there: such a buffer holds no description.
    static std::optional<std::string> CutAfterLastBracket(const char* buffer, size_t size);
    /// A runtime before 5.2, whose grabber descriptions need repair.
    static bool OldRuntime(const CDriverChannel& channel);

private:
    /// A new node map with `text` loaded; empty when it does not load.
    static CHostObject Load(const std::string& text);
    /// Writes `text` to `path`, replacing the file; throws when it cannot.
    static void Save(const std::string& path, const std::string& text);
    static std::string ReadFile(const std::string& path);
    /// "BOARDb_DMAd." + key.
    static std::string Key(const CDriverChannel& channel, const char* key);
    /// The save key's path, when set.
    static std::optional<std::string> SavePath(const CDriverChannel& channel, const char* key);
    /// Saves a downloaded text when `key` is set; a failed save is only logged.
    static void SaveDownloaded(CDriverChannel& channel, const char* key, const char* savedText,
                               const std::string& text);
    /// Loads a downloaded text, logging `failed` or `loaded`.
    static CHostObject LoadDownloaded(CDriverChannel& channel, const std::string& text,
                                      const char* failed, const char* loaded);
};
