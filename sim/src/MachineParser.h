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
    static const char* embeddedDefault();

    static MachineSetup parseText(const std::string& text, const std::string& source,
                                  const std::string& baseDirectory);
    static MachineSetup parseFile(const std::string& path);

    // The interface a board type code has when the file does not name one.
    static BoardInterface defaultInterface(int type);

private:
    struct DeclaredKind {
        std::optional<CameraKind> kind;
        int line = 0;
    };

    static MachineSetup parseDocument(const IniDocument& doc, const std::string& baseDirectory);
    static void parseMachine(const IniDocument& doc, const IniDocument::Section& section,
                             MachineSetup& setup);
    static BoardSetup parseBoard(const IniDocument& doc, const IniDocument::Section& section,
                                 int index, const std::string& baseDirectory);
    static CameraSetup parseCamera(const IniDocument& doc, const IniDocument::Section& section,
                                   const std::string& name, const std::string& baseDirectory,
                                   DeclaredKind& declared);
    static void parseFaults(const IniDocument& doc, const IniDocument::Section& section,
                            MachineSetup& setup);
    static void attachCameras(const IniDocument& doc, MachineSetup& setup,
                              const std::map<std::string, DeclaredKind>& declaredKinds,
                              const std::map<int, int>& boardLines);
};

} // namespace sim
