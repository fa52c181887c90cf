// The simulated machine as its description file states it: runtime, boards, cameras and
// injected faults. Plain data, built by MachineParser and read-only afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

enum class BoardInterface { None, CameraLink, GigE, CoaXPress };
enum class CameraKind { GigE, CoaXPress };

constexpr int MaxBoards = 16;
constexpr unsigned MaxDmas = 16;
constexpr unsigned MaxCxpPorts = 4;

struct CameraSetup {
    std::string name;
    CameraKind kind = CameraKind::GigE;
    std::uint64_t memorySize = 0x4000;
    std::string xmlPath;   // empty: the built-in description
    unsigned answerMs = 0; // how long the camera takes to answer a discovery
    // Initial register values in file order: by register name, or raw 4-byte words.
    std::vector<std::pair<std::string, std::string>> namedValues;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> rawValues;
};

struct BoardSetup {
    int index = 0;
    int type = -1; // -1: a declared hole, Fg_BoardType answers -1
    BoardInterface interface = BoardInterface::None;
    unsigned dmas = 2;
    std::string dmaXmlPath; // empty: generated DMA descriptions
    unsigned gigePorts = 0;
    std::vector<std::vector<std::string>> gigeCameras; // per port, camera names
    std::vector<std::string> cxpCameras;               // per port, "" for an empty port
    unsigned cxpAnswering = 0;                         // cameras (by port order) that answer scans
};

struct FaultSetup {
    std::string function;
    int code = 0;
    int count = -1; // -1: always
};

struct MachineSetup {
    std::string source; // file path, or a name for text
    std::string runtime = "5.7.0";
    std::array<std::optional<BoardSetup>, MaxBoards> boards;
    std::map<std::string, CameraSetup> cameras;
    std::vector<FaultSetup> faults;
};

} // namespace sim
