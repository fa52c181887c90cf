#include "DmaDescription.h"

#include "GenicamXmlWriter.h"
#include "ParameterTable.h"
#include "simctl/SimControl.h"
#include <fglib5.h>

#include <cstdlib>

namespace sim {

namespace {

const char* AccessText(ParameterAccess access) {
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

bool IsSigned(int type) {
    return type == FG_TYPE_INT32 || type == FG_TYPE_INT64;
}

} // namespace

bool DmaDescription::NewRuntime(const std::string& runtime) {
    const long major = std::strtol(runtime.c_str(), nullptr, 10);
    const auto point = runtime.find('.');
    const long minor =
        point == std::string::npos ? 0 : std::strtol(runtime.c_str() + point + 1, nullptr, 10);
    return major == 5 && minor >= 2;
}

std::string DmaDescription::Build(const std::string& runtime, int boardType, unsigned dma,
                                  const std::string& appletName) {
    const std::string port = NewRuntime(runtime) ? "DevicePort" : "Device";
    GenicamXmlWriter xml(appletName + "_DMA" + std::to_string(dma), "Nordwell Sim",
                         "Applet parameters of DMA " + std::to_string(dma) + " on board type " +
                             std::to_string(boardType));
    std::vector<std::string> image;
    std::vector<std::string> acquisition;
    for (const ParameterInfo& info : ParameterTable::All()) {
        const bool isImage = info.id < 1000 || info.id == FG_PARAM_PIXELDEPTH ||
                             info.id == SIM_PARAM_MAXWIDTH || info.id == SIM_PARAM_MAXHEIGHT;
        (isImage ? image : acquisition).push_back(info.name);
    }
    xml.Category("Root", {"ImageFormat", "Acquisition"}, true);
    xml.Category("ImageFormat", image, false);
    xml.Category("Acquisition", acquisition, false);

    for (const ParameterInfo& info : ParameterTable::All()) {
        const std::string name = info.name;
        const std::string reg = name + "_Reg";
        const auto length = static_cast<unsigned>(ParameterTable::ValueSize(info.type));
        if (info.type == FG_TYPE_DOUBLE) {
            xml.FloatNode(name, reg, 0.0, 1e6, "Hz", info.toolTip);
            xml.FloatReg(reg, static_cast<std::uint64_t>(info.id), length, AccessText(info.access),
                         port, GenicamXmlWriter::Endianness::Little);
            continue;
        }
        if (info.id == SIM_PARAM_SENDSOFTWARETRIGGER) {
            xml.Command(name, reg, false, 1, info.toolTip);
        } else if (info.id == SIM_PARAM_TRIGGERMODE) {
            xml.Enumeration(name, reg, false, {{"FreeRun", 0}, {"SoftwareTrigger", 1}},
                            info.toolTip);
        } else if (info.id == SIM_PARAM_TESTPATTERN) {
            xml.Enumeration(
                name, reg, false,
                {{"Moving", 0}, {"Ramp", 1}, {"Constant", 2}, {"Checker", 3}, {"Counter", 4}},
                info.toolTip);
        } else if (info.id == FG_PARAM_FORMAT) {
            xml.Enumeration(name, reg, false,
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
            const std::int64_t min = IsSigned(info.type) ? (wide ? INT64_MIN : INT32_MIN) : 0;
            const std::int64_t max =
                wide ? INT64_MAX : (IsSigned(info.type) ? INT32_MAX : 0xFFFFFFFFll);
            xml.Integer(name, reg, false, min, max, std::string(), info.toolTip);
        }
        xml.IntReg(reg, static_cast<std::uint64_t>(info.id), length, AccessText(info.access), port,
                   IsSigned(info.type), GenicamXmlWriter::Endianness::Little);
    }
    xml.Port(port);
    return xml.Finish();
}

} // namespace sim
