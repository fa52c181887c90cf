#include "BoardTestSupport.h"

#include <nwLogging/Levels.h>

#include <stdexcept>

namespace boardtest {

std::string BoardSection(int index, int type, unsigned dmas, const std::string& extra) {
    return "[board" + std::to_string(index) + "]\ntype = " + std::to_string(type) +
           "\ndmas = " + std::to_string(dmas) + "\n" + extra + "\n";
}

std::string Machine(const std::string& sections, const std::string& runtime) {
    return "[machine]\nruntime = " + runtime + "\n\n" + sections;
}

std::string Applet(const std::vector<Dma>& dmas) {
    std::string text = "[applet]\nname = BoardTest\ndmas = " + std::to_string(dmas.size()) + "\n";
    for (size_t i = 0; i < dmas.size(); ++i) {
        text += "\n[dma" + std::to_string(i) + "]\nwidth = " + std::to_string(dmas[i].width) +
                "\nheight = " + std::to_string(dmas[i].height) + "\nformat = " + dmas[i].format +
                "\n" + dmas[i].extra;
    }
    return text;
}

std::string BoardConfiguration(int n, const std::string& applet, const std::string& extra) {
    return "[BOARD" + std::to_string(n) + "]\ninifilemcf=%ORVDATA%Drivers\\" + applet + "\n" +
           extra + "\n";
}

Rig::Rig(const Setup& setup) {
    SimEnvironment::Options options;
    options.machineText = setup.machine;
    options.configurationText = setup.configuration;
    options.defaultTimeout = setup.defaultTimeout;
    sim_ = std::make_unique<SimEnvironment>(options);
    for (const auto& file : setup.files)
        sim_->WriteDriverFile(file.first, file.second);
    system_ = std::make_shared<CDriverSystem>();
}

Rig::~Rig() {
    producer_.reset();
    system_.reset();
    sim_.reset();
}

const std::shared_ptr<CDriverProducer>& Rig::Producer() {
    if (!producer_)
        producer_ = std::make_shared<CDriverProducer>(system_, L"~idx:0");
    return producer_;
}

std::shared_ptr<CDriverBoard> Rig::Board(const std::wstring& name) {
    return Producer()->OpenBoard(name);
}

std::shared_ptr<CDriverChannel> Rig::Channel(CDriverBoard& board, const std::wstring& name) {
    std::shared_ptr<CDriverChannel> channel = board.OpenChannel(name, nullptr);
    if (channel)
        channel->InitChannel();
    return channel;
}

std::string Rig::DriverFile(const std::string& name) const {
    return sim_->DriversDirectory() + name;
}

Rig::Setup CameraLinkSetup(const std::vector<Dma>& applet, const std::string& dmaSection, int type,
                           const std::string& boardLines) {
    Rig::Setup setup;
    setup.machine = Machine(BoardSection(0, type, static_cast<unsigned>(applet.size())));
    setup.configuration =
        BoardConfiguration(0, "acq.mcf", boardLines) + "[BOARD0_DMA0]\n" + dmaSection + "\n";
    setup.files = {{"acq.mcf", Applet(applet)}};
    return setup;
}

std::vector<std::string> Texts(const CapturingTarget& target) {
    std::vector<std::string> texts;
    for (const CapturedRecord& record : target.records())
        texts.push_back(record.text);
    return texts;
}

std::vector<CapturedRecord> With(const CapturingTarget& target, const std::string& needle) {
    std::vector<CapturedRecord> found;
    for (const CapturedRecord& record : target.records()) {
        if (record.text.find(needle) != std::string::npos)
            found.push_back(record);
    }
    return found;
}

std::string Where(const CapturedRecord& record) {
    return std::string(nwLogging::level_name(record.level)) + " " + record.location;
}

bool InOrder(const CapturingTarget& target, const std::vector<std::string>& needles) {
    size_t next = 0;
    for (const CapturedRecord& record : target.records()) {
        if (next < needles.size() && record.text == needles[next])
            ++next;
    }
    return next == needles.size();
}

} // namespace boardtest
