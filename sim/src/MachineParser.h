// Reads a machine description (INI text) into a MachineSpec.
#pragma once

#include "IniDocument.h"
#include "MachineSpec.h"

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

    static MachineSpec parseText(const std::string& text, const std::string& source,
                                 const std::string& baseDirectory);
    static MachineSpec parseFile(const std::string& path);

    // The interface a board type code has when the file does not name one.
    static BoardInterface defaultInterface(int type);

private:
    struct DeclaredKind {
        std::optional<CameraKind> kind;
        int line = 0;
    };

    static MachineSpec parseDocument(const IniDocument& doc, const std::string& baseDirectory);
    static void parseMachine(const IniDocument& doc, const IniDocument::Section& section,
                             MachineSpec& spec);
    static BoardSpec parseBoard(const IniDocument& doc, const IniDocument::Section& section,
                                int index, const std::string& baseDirectory);
    static CameraSpec parseCamera(const IniDocument& doc, const IniDocument::Section& section,
                                  const std::string& name, const std::string& baseDirectory,
                                  DeclaredKind& declared);
    static void parseFaults(const IniDocument& doc, const IniDocument::Section& section,
                            MachineSpec& spec);
    static void attachCameras(const IniDocument& doc, MachineSpec& spec,
                              const std::map<std::string, DeclaredKind>& declaredKinds,
                              const std::map<int, int>& boardLines);
};

} // namespace sim
