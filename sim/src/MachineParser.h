// Reads a machine description (INI text) into a MachineSetup.
#pragma once

#include "IniDocument.h"
#include "MachineSetup.h"

#include <map>
#include <optional>
#include <string>

namespace sim {

// Stateless; safe from any thread. Every method throws ConfigError with the source and
// line of the first problem.
class MachineParser {
public:
    // The machine used when $SISODIR5 holds no description.
    static const char* EmbeddedDefault();

    static MachineSetup ParseText(const std::string& text, const std::string& source,
                                  const std::string& baseDirectory);
    static MachineSetup ParseFile(const std::string& path);

    // The interface a board type code has when the file does not name one.
    static BoardInterface DefaultInterface(int type);

private:
    struct DeclaredKind {
        std::optional<CameraKind> kind;
        int line = 0;
    };

    static MachineSetup ParseDocument(const IniDocument& doc, const std::string& baseDirectory);
    static void ParseMachine(const IniDocument& doc, const IniDocument::Section& section,
                             MachineSetup& setup);
    static BoardSetup ParseBoard(const IniDocument& doc, const IniDocument::Section& section,
                                 int index, const std::string& baseDirectory);
    static CameraSetup ParseCamera(const IniDocument& doc, const IniDocument::Section& section,
                                   const std::string& name, const std::string& baseDirectory,
                                   DeclaredKind& declared);
    static void ParseFaults(const IniDocument& doc, const IniDocument::Section& section,
                            MachineSetup& setup);
    static void AttachCameras(const IniDocument& doc, MachineSetup& setup,
                              const std::map<std::string, DeclaredKind>& declaredKinds,
                              const std::map<int, int>& boardLines);
};

} // namespace sim
