// Reads the applet configuration file a board is opened with.
#pragma once

#include "DmaConfig.h"
#include "IniDocument.h"

#include <string>
#include <vector>

namespace sim {

struct AppletConfig {
    std::string name = "SimAcquisition";
    std::vector<DmaConfig> dmas; // one per DMA the applet offers
};

// Stateless; safe from any thread. Throws ConfigError for a missing or malformed file.
class AppletParser {
public:
    // boardDmas: how many DMAs the board has; the applet may offer fewer.
    static AppletConfig ParseFile(const std::string& path, unsigned boardDmas);
    static AppletConfig ParseText(const std::string& text, const std::string& source,
                                  unsigned boardDmas);

private:
    static AppletConfig ParseDocument(const IniDocument& doc, unsigned boardDmas);
    static void ParseDma(const IniDocument& doc, const IniDocument::Section& section,
                         DmaConfig& config);
};

} // namespace sim
