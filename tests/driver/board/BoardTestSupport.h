#pragma once
// Simulated machines for the producer, board and channel tests: machine and applet
// texts, and a rig that builds the sandbox, the driver system and its producer.

#include "support/CapturingTarget.h"
#include "support/SimEnvironment.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "board/DriverProducer.h"
#include "system/DriverSystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace boardtest {

/// "[boardN]" with its type, DMA count and further key lines.
std::string BoardSection(int index, int type, unsigned dmas = 2, const std::string& extra = "");
/// A machine description: runtime line and the given board and camera sections.
std::string Machine(const std::string& sections, const std::string& runtime = "5.7.0");

struct Dma {
    Dma(uint32_t w = 640, uint32_t h = 480, std::string f = "gray8", std::string e = "")
        : width(w), height(h), format(std::move(f)), extra(std::move(e)) {}
    uint32_t width;
    uint32_t height;
    std::string format;
    std::string extra; // further key lines
};
/// An applet file with one [dmaN] section per entry.
std::string Applet(const std::vector<Dma>& dmas);

/// "[BOARDn]" naming the applet file "<applet>" in the Drivers folder, plus lines.
std::string BoardConfiguration(int n, const std::string& applet, const std::string& extra = "");

/// Sandbox, driver system and producer "~idx:0". Boards and channels opened
/// through it must be released before the rig goes.
class Rig {
public:
    struct Setup {
        std::string machine;
        std::string configuration;
        /// Files written into the Drivers folder before the system starts.
        std::vector<std::pair<std::string, std::string>> files;
        std::optional<uint32_t> defaultTimeout = 1000;
    };

    explicit Rig(const Setup& setup);
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    SimEnvironment& Sim() { return *sim_; }
    const std::shared_ptr<CDriverSystem>& System() const { return system_; }
    /// Created (and enumerated) on the first call.
    const std::shared_ptr<CDriverProducer>& Producer();
    std::shared_ptr<CDriverBoard> Board(const std::wstring& name = L"~idx:0");
    /// Opens the channel through the board and initialises it.
    std::shared_ptr<CDriverChannel> Channel(CDriverBoard& board,
                                            const std::wstring& name = L"~idx:0");
    /// Path of a file in the Drivers folder.
    std::string DriverFile(const std::string& name) const;

private:
    std::unique_ptr<SimEnvironment> sim_;
    std::shared_ptr<CDriverSystem> system_;
    std::shared_ptr<CDriverProducer> producer_;
};

/// A Camera Link machine (me_5VCL) with `dmas` DMAs whose applet has the given
/// DMAs, and the DMA section lines for BOARD0_DMA0.
Rig::Setup CameraLinkSetup(const std::vector<Dma>& applet, const std::string& dmaSection = "",
                           int type = 1873, const std::string& boardLines = "");

/// Texts of every record in arrival order.
std::vector<std::string> Texts(const CapturingTarget& target);
/// Records whose text contains `needle`.
std::vector<CapturedRecord> With(const CapturingTarget& target, const std::string& needle);
/// Level name and location: "warn DriverBoard(358)".
std::string Where(const CapturedRecord& record);
/// Whether `needles` appear, in this order, as texts of successive records (not
/// necessarily adjacent).
bool InOrder(const CapturingTarget& target, const std::vector<std::string>& needles);

} // namespace boardtest
