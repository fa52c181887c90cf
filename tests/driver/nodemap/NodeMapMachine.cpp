#include "driver/nodemap/NodeMapMachine.h"

#include <ORGenApi/ORGenApi.h>

#include <simctl/SimControl.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace nodemaptest {

std::string MachineText(const Machine& machine) {
    std::ostringstream text;
    text << "[machine]\nruntime = " << machine.runtime << "\n\n[board0]\n";
    switch (machine.technology) {
    case Technology::CameraLink:
        text << "type = 1873\n";
        break;
    case Technology::GigE:
        text << "type = 3650\nport0 = gcam\n";
        break;
    case Technology::CoaXPress:
        text << "type = 1875\ncameras = xcam\n";
        break;
    }
    text << "dmas = " << machine.dmas << "\n";
    if (!machine.dmaDescriptionFile.empty())
        text << "dmaxml = " << machine.dmaDescriptionFile << "\n";
    if (machine.technology == Technology::GigE)
        text << "\n[camera:gcam]\nkind = gige\n" << machine.cameraLines;
    if (machine.technology == Technology::CoaXPress)
        text << "\n[camera:xcam]\nkind = cxp\n" << machine.cameraLines;
    text << "\n" << machine.extraSections << "\n";
    return text.str();
}

std::string AppletText(const Machine& machine) {
    std::ostringstream text;
    text << "[applet]\nname = NodeMapTest\ndmas = " << machine.dmas << "\n";
    for (unsigned dma = 0; dma < machine.dmas; ++dma) {
        text << "\n[dma" << dma << "]\nwidth = " << machine.width << "\nheight = " << machine.height
             << "\nformat = gray8\ntrigger = " << machine.trigger << "\n";
    }
    return text.str();
}

std::string ConfigurationText(const Machine& machine) {
    return "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n\n[BOARD0_DMA0]\nframebuffers=3\n" +
           machine.dmaLines + "\n";
}

TempFile::TempFile(const std::string& name, const std::string& text)
    : path_(directory_.File(name)) {
    if (!text.empty())
        SimEnvironment::WriteFile(path_, text);
}

int64_t IntegerFeature(ORHandle nodeMap, const char* name, int32_t* result) {
    int64_t value = -1;
    const int32_t answer = ORGenApi_GetIntegerFeature(nodeMap, name, &value);
    if (result != nullptr)
        *result = answer;
    return answer == 0 ? value : -1;
}

namespace {

/// Reads a text through the host's size protocol: the size first, then the text.
template <class Get> std::string SizedText(Get get) {
    uint32_t length = 0;
    if (get(nullptr, &length) != 0 || length == 0)
        return std::string();
    std::string text(length, '\0');
    if (get(text.data(), &length) != 0)
        return std::string();
    text.resize(length - 1);
    return text;
}

} // namespace

std::string StringFeature(ORHandle nodeMap, const char* name) {
    return SizedText([&](char* destination, uint32_t* length) {
        return ORGenApi_GetStringFeature(nodeMap, name, destination, length);
    });
}

std::string EnumFeature(ORHandle nodeMap, const char* name) {
    return SizedText([&](char* destination, uint32_t* length) {
        return ORGenApi_GetEnumFeature(nodeMap, name, destination, length);
    });
}

double FloatFeature(ORHandle nodeMap, const char* name) {
    double value = 0;
    return ORGenApi_GetFloatFeature(nodeMap, name, &value) == 0 ? value : std::nan("");
}

std::string PortName(ORHandle nodeMap) {
    char name[64] = {};
    uint32_t length = sizeof name;
    if (ORGenApi_GetPortName(nodeMap, name, &length) != 0)
        return std::string();
    return name;
}

} // namespace nodemaptest
