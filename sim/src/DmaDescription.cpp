#include "DmaDescription.h"

#include "GenicamXmlWriter.h"
#include "ParameterTable.h"
#include <fglib5.h>
#include "simctl/SimControl.h"

#include <cstdlib>

namespace sim {

namespace {

const char* accessText(ParameterAccess access) {
    switch (access) {
    case ParameterAccess::RO:
        return "RO";
    case ParameterAccess::WO:
        return "WO";
    case ParameterAccess::RW:
    default:
        return "RW";
    }
}

bool isSigned(int type) {
    return type == FG_TYPE_INT32 || type == FG_TYPE_INT64;
}

} // namespace

bool DmaDescription::newRuntime(const std::string& runtime) {
    const long major = std::strtol(runtime.c_str(), nullptr, 10);
    const auto point = runtime.find('.');
    const long minor =
        point == std::string::npos ? 0 : std::strtol(runtime.c_str() + point + 1, nullptr, 10);
    return major == 5 && minor >= 2;
}

std::string DmaDescription::build(const std::string& runtime, int boardType, unsigned dma,
                                  const std::string& appletName) {
    const std::string port = newRuntime(runtime) ? "DevicePort" : "Device";
    GenicamXmlWriter xml(appletName + "_DMA" + std::to_string(dma), "Nordwell Sim",
                         "Applet parameters of DMA " + std::to_string(dma) + " on board type " +
                             std::to_string(boardType));
    std::vector<std::string> image;
    std::vector<std::string> acquisition;
    for (const ParameterInfo& info : ParameterTable::all()) {
        const bool isImage = info.id < 1000 || info.id == FG_PARAM_PIXELDEPTH ||
                             info.id == SIM_PARAM_MAXWIDTH || info.id == SIM_PARAM_MAXHEIGHT;
        (isImage ? image : acquisition).push_back(info.name);
    }
    xml.category("Root", {"ImageFormat", "Acquisition"}, true);
    xml.category("ImageFormat", image, false);
    xml.category("Acquisition", acquisition, false);

    for (const ParameterInfo& info : ParameterTable::all()) {
        const std::string name = info.name;
        const std::string reg = name + "_Reg";
        const auto length = static_cast<unsigned>(ParameterTable::valueSize(info.type));
        if (info.type == FG_TYPE_DOUBLE) {
            xml.floatNode(name, reg, 0.0, 1e6, "Hz", info.toolTip);
            xml.floatReg(reg, static_cast<std::uint64_t>(info.id), length, accessText(info.access),
                         port, GenicamXmlWriter::Endianness::Little);
            continue;
        }
        if (info.id == SIM_PARAM_SENDSOFTWARETRIGGER) {
            xml.command(name, reg, false, 1, info.toolTip);
        } else if (info.id == SIM_PARAM_TRIGGERMODE) {
            xml.enumeration(name, reg, false, {{"FreeRun", 0}, {"SoftwareTrigger", 1}},
                            info.toolTip);
        } else if (info.id == SIM_PARAM_TESTPATTERN) {
            xml.enumeration(
                name, reg, false,
                {{"Moving", 0}, {"Ramp", 1}, {"Constant", 2}, {"Checker", 3}, {"Counter", 4}},
                info.toolTip);
        } else if (info.id == FG_PARAM_FORMAT) {
            xml.enumeration(name, reg, false,
                            {{"Gray8", FG_FORMAT_GRAY8},
                             {"Binary", FG_FORMAT_BINARY},
                             {"Gray10", FG_FORMAT_GRAY10},
                             {"Gray12", FG_FORMAT_GRAY12},
                             {"Gray16", FG_FORMAT_GRAY16},
                             {"Gray32", FG_FORMAT_GRAY32},
                             {"Color24", FG_FORMAT_COLOR24},
                             {"Color32", FG_FORMAT_COLOR32},
                             {"Col30", FG_FORMAT_COL30},
                             {"Color48", FG_FORMAT_COLOR48}},
                            info.toolTip);
        } else {
            const bool wide = length == 8;
            const std::int64_t min = isSigned(info.type) ? (wide ? INT64_MIN : INT32_MIN) : 0;
            const std::int64_t max =
                wide ? INT64_MAX : (isSigned(info.type) ? INT32_MAX : 0xFFFFFFFFll);
            xml.integer(name, reg, false, min, max, std::string(), info.toolTip);
        }
        xml.intReg(reg, static_cast<std::uint64_t>(info.id), length, accessText(info.access), port,
                   isSigned(info.type), GenicamXmlWriter::Endianness::Little);
    }
    xml.port(port);
    return xml.finish();
}

} // namespace sim
