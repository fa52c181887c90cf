#include "MachineParser.h"

#include "FaultTable.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace sim {

namespace {

const char* const embeddedDefault = R"(; Built-in machine: one Camera Link board with two DMAs.
[machine]
runtime = 5.7.0

[board0]
type = 1873
dmas = 2
)";

std::string ResolvePath(const std::string& path, const std::string& baseDirectory) {
    if (path.empty() || baseDirectory.empty() || std::filesystem::path(path).is_absolute()) {
        return path;
    }
    return (std::filesystem::path(baseDirectory) / path).string();
}

BoardInterface ParseInterface(const IniDocument& doc, const IniDocument::Entry& entry) {
    if (entry.value == "cl") {
        return BoardInterface::CameraLink;
    }
    if (entry.value == "gige") {
        return BoardInterface::GigE;
    }
    if (entry.value == "cxp") {
        return BoardInterface::CoaXPress;
    }
    if (entry.value == "none") {
        return BoardInterface::None;
    }
    throw doc.Error(entry.line,
                    "interface must be cl, gige, cxp or none, not '" + entry.value + "'");
}

} // namespace

const char* MachineParser::EmbeddedDefault() {
    return embeddedDefault;
}

BoardInterface MachineParser::DefaultInterface(int type) {
    switch (type) {
    case 3650:
    case 3652:
        return BoardInterface::GigE;
    case 1875:
    case 1877:
    case 1878:
    case 1879:
    case 2643:
    case 2644:
    case 2646:
    case 2647:
    case 3140:
        return BoardInterface::CoaXPress;
    case 2624:
    case 2625:
    case 2626:
    case 2627:
    case 2628:
    case 2629:
    case 2881:
    case 2882:
    case 1873:
    case 1881:
    case 29968:
    case 29969:
    case 30097:
    case 1876:
    case 30016:
    case 30017:
    case 2648:
    case 2650:
    case 3139:
        return BoardInterface::CameraLink;
    default:
        return BoardInterface::None;
    }
}

MachineSetup MachineParser::ParseFile(const std::string& path) {
    const std::string base = std::filesystem::path(path).parent_path().string();
    return ParseDocument(IniDocument::ParseFile(path), base.empty() ? std::string(".") : base);
}

MachineSetup MachineParser::ParseText(const std::string& text, const std::string& source,
                                      const std::string& baseDirectory) {
    return ParseDocument(IniDocument::Parse(text, source), baseDirectory);
}

MachineSetup MachineParser::ParseDocument(const IniDocument& doc,
                                          const std::string& baseDirectory) {
    MachineSetup setup;
    setup.source = doc.Source();
    std::map<std::string, DeclaredKind> declaredKinds;
    std::map<int, int> boardLines;
    for (const IniDocument::Section& section : doc.Sections()) {
        const std::string& name = section.name;
        if (name == "machine") {
            ParseMachine(doc, section, setup);
        } else if (name == "faults") {
            ParseFaults(doc, section, setup);
        } else if (name.rfind("camera:", 0) == 0) {
            const std::string cameraName = name.substr(7);
            if (cameraName.empty()) {
                throw doc.Error(section.line, "camera section without a name");
            }
            setup.cameras[cameraName] =
                ParseCamera(doc, section, cameraName, baseDirectory, declaredKinds[cameraName]);
        } else if (name.rfind("board", 0) == 0) {
            std::int64_t index = -1;
            if (!ParseInteger(name.substr(5), index) || index < 0 || index >= MaxBoards ||
                name.substr(5) != std::to_string(index)) {
                throw doc.Error(section.line,
                                "board sections are [board0] to [board15], not [" + name + "]");
            }
            setup.boards[static_cast<std::size_t>(index)] =
                ParseBoard(doc, section, static_cast<int>(index), baseDirectory);
            boardLines[static_cast<int>(index)] = section.line;
        } else {
            throw doc.Error(section.line, "unknown section [" + name + "]");
        }
    }
    AttachCameras(doc, setup, declaredKinds, boardLines);
    return setup;
}

void MachineParser::ParseMachine(const IniDocument& doc, const IniDocument::Section& section,
                                 MachineSetup& setup) {
    for (const IniDocument::Entry& entry : section.entries) {
        if (entry.key == "runtime") {
            setup.runtime = entry.value;
        } else {
            throw doc.Error(entry.line, "unknown key '" + entry.key + "' in [machine]");
        }
    }
}

BoardSetup MachineParser::ParseBoard(const IniDocument& doc, const IniDocument::Section& section,
                                     int index, const std::string& baseDirectory) {
    BoardSetup board;
    board.index = index;
    const IniDocument::Entry* type = section.Find("type");
    if (type == nullptr) {
        throw doc.Error(section.line, "[" + section.name + "] needs a 'type'");
    }
    board.type = static_cast<int>(doc.ToInteger(*type, -1, 0x7FFFFFFF));
    board.interface = DefaultInterface(board.type);
    bool portsGiven = false;
    std::map<unsigned, std::vector<std::string>> ports;
    for (const IniDocument::Entry& entry : section.entries) {
        const std::string& key = entry.key;
        if (key == "type") {
            continue;
        }
        if (key == "interface") {
            board.interface = ParseInterface(doc, entry);
        } else if (key == "dmas") {
            board.dmas = static_cast<unsigned>(doc.ToInteger(entry, 0, MaxDmas));
        } else if (key == "dmaxml") {
            board.dmaXmlPath = ResolvePath(entry.value, baseDirectory);
        } else if (key == "ports") {
            board.gigePorts = static_cast<unsigned>(doc.ToInteger(entry, 0, MaxDmas));
            portsGiven = true;
        } else if (key.rfind("port", 0) == 0 && key.size() > 4) {
            std::int64_t port = -1;
            if (!ParseInteger(key.substr(4), port) || port < 0 ||
                port >= static_cast<std::int64_t>(MaxDmas)) {
                throw doc.Error(entry.line, "unknown key '" + key + "'");
            }
            ports[static_cast<unsigned>(port)] = IniDocument::ToList(entry.value);
        } else if (key == "cameras") {
            board.cxpCameras = IniDocument::ToList(entry.value);
            for (std::string& camera : board.cxpCameras) {
                if (camera == "-") {
                    camera.clear();
                }
            }
            if (board.cxpCameras.size() > MaxCxpPorts) {
                throw doc.Error(entry.line, "a CoaXPress board has at most 4 ports");
            }
        } else if (key == "answering") {
            board.cxpAnswering = static_cast<unsigned>(doc.ToInteger(entry, 0, MaxCxpPorts));
        } else {
            throw doc.Error(entry.line, "unknown key '" + key + "' in [" + section.name + "]");
        }
    }
    if (!portsGiven) {
        board.gigePorts = board.interface == BoardInterface::GigE ? board.dmas : 0;
    }
    if (!ports.empty() && board.interface != BoardInterface::GigE) {
        throw doc.Error(section.line, "[" + section.name + "] has GigE ports but is no GigE board");
    }
    if (!board.cxpCameras.empty() && board.interface != BoardInterface::CoaXPress) {
        throw doc.Error(section.line,
                        "[" + section.name + "] has CoaXPress cameras but is no CoaXPress board");
    }
    board.gigeCameras.assign(board.gigePorts, {});
    for (auto& [port, cameras] : ports) {
        if (port >= board.gigePorts) {
            throw doc.Error(section.line, "[" + section.name + "] port" + std::to_string(port) +
                                              " is beyond its " + std::to_string(board.gigePorts) +
                                              " ports");
        }
        board.gigeCameras[port] = cameras;
    }
    const auto attached =
        static_cast<unsigned>(std::count_if(board.cxpCameras.begin(), board.cxpCameras.end(),
                                            [](const auto& c) { return !c.empty(); }));
    const IniDocument::Entry* answering = section.Find("answering");
    if (answering == nullptr) {
        board.cxpAnswering = attached;
    } else if (board.cxpAnswering > attached) {
        throw doc.Error(answering->line, "more answering cameras than attached ones");
    }
    return board;
}

CameraSetup MachineParser::ParseCamera(const IniDocument& doc, const IniDocument::Section& section,
                                       const std::string& name, const std::string& baseDirectory,
                                       DeclaredKind& declared) {
    declared.line = section.line;
    CameraSetup camera;
    camera.name = name;
    for (const IniDocument::Entry& entry : section.entries) {
        const std::string& key = entry.key;
        if (key == "memory") {
            camera.memorySize = doc.ToUnsigned(entry, 1u << 30);
        } else if (key == "xml") {
            camera.xmlPath = ResolvePath(entry.value, baseDirectory);
        } else if (key == "answer_ms") {
            camera.answerMs = static_cast<unsigned>(doc.ToInteger(entry, 0, 600000));
        } else if (key == "kind") {
            if (entry.value != "gige" && entry.value != "cxp") {
                throw doc.Error(entry.line, "kind must be gige or cxp");
            }
            declared.kind = entry.value == "gige" ? CameraKind::GigE : CameraKind::CoaXPress;
            declared.line = entry.line;
        } else if (key.rfind("reg_", 0) == 0) {
            std::uint64_t address = 0;
            if (!ParseUnsigned(key.substr(4), address)) {
                throw doc.Error(entry.line, "'" + key + "' needs an address after reg_");
            }
            camera.rawValues.emplace_back(
                address, static_cast<std::uint32_t>(doc.ToUnsigned(entry, 0xFFFFFFFFu)));
        } else {
            // Register names are checked once the camera's kind is known.
            camera.namedValues.emplace_back(key, entry.value);
        }
    }
    return camera;
}

void MachineParser::ParseFaults(const IniDocument& doc, const IniDocument::Section& section,
                                MachineSetup& setup) {
    for (const IniDocument::Entry& entry : section.entries) {
        if (!FaultTable::Lookup(entry.key.c_str())) {
            throw doc.Error(entry.line, "no SDK function '" + entry.key + "' to fail");
        }
        const std::vector<std::string> words = [&] {
            std::vector<std::string> out;
            std::string word;
            for (char c : entry.value + " ") {
                if (c == ' ' || c == '\t') {
                    if (!word.empty()) {
                        out.push_back(word);
                    }
                    word.clear();
                } else {
                    word += c;
                }
            }
            return out;
        }();
        FaultSetup fault;
        fault.function = entry.key;
        std::int64_t code = 0;
        if (words.empty() || words.size() > 2 || !ParseInteger(words[0], code) ||
            code < INT32_MIN || code > INT32_MAX) {
            throw doc.Error(entry.line, "fault needs 'code [once|always|xN]'");
        }
        fault.code = static_cast<int>(code);
        if (words.size() == 2) {
            std::int64_t count = 0;
            if (words[1] == "once") {
                fault.count = 1;
            } else if (words[1] == "always") {
                fault.count = -1;
            } else if (words[1].size() > 1 && words[1][0] == 'x' &&
                       ParseInteger(words[1].substr(1), count) && count > 0 && count < INT32_MAX) {
                fault.count = static_cast<int>(count);
            } else {
                throw doc.Error(entry.line, "fault count must be once, always or xN");
            }
        }
        setup.faults.push_back(fault);
    }
}

void MachineParser::AttachCameras(const IniDocument& doc, MachineSetup& setup,
                                  const std::map<std::string, DeclaredKind>& declaredKinds,
                                  const std::map<int, int>& boardLines) {
    std::map<std::string, CameraKind> uses;
    auto use = [&](const std::string& name, CameraKind kind, const BoardSetup& board) {
        const int line = boardLines.at(board.index);
        if (setup.cameras.find(name) == setup.cameras.end()) {
            throw doc.Error(line, "board" + std::to_string(board.index) + " names camera '" + name +
                                      "' without a [camera:" + name + "] section");
        }
        if (!uses.emplace(name, kind).second) {
            throw doc.Error(line, "camera '" + name + "' is attached twice");
        }
    };
    for (const auto& board : setup.boards) {
        if (!board) {
            continue;
        }
        for (const auto& port : board->gigeCameras) {
            for (const auto& name : port) {
                use(name, CameraKind::GigE, *board);
            }
        }
        for (const auto& name : board->cxpCameras) {
            if (!name.empty()) {
                use(name, CameraKind::CoaXPress, *board);
            }
        }
    }
    for (auto& [name, camera] : setup.cameras) {
        const DeclaredKind& declared = declaredKinds.at(name);
        const auto found = uses.find(name);
        if (found == uses.end()) {
            throw doc.Error(declared.line, "camera '" + name + "' is not attached to any board");
        }
        if (declared.kind && *declared.kind != found->second) {
            throw doc.Error(declared.line, "camera '" + name + "' kind does not match its board");
        }
        camera.kind = found->second;
    }
}

} // namespace sim
