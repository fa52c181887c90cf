#include "CameraXml.h"

#include "CameraRegisterMap.h"
#include "GenicamXmlWriter.h"

#include <cstring>
#include <map>

namespace sim {

namespace {

const char* AccessText(RegisterAccess access) {
    switch (access) {
    case RegisterAccess::RO:
        return "RO";
    case RegisterAccess::WO:
        return "WO";
    case RegisterAccess::RW:
    default:
        return "RW";
    }
}

bool IsBootstrapInteger(const CameraRegister& reg) {
    return reg.address < 0x1000 && reg.kind != RegisterKind::String;
}

} // namespace

std::string CameraXml::Build(CameraKind kind, const std::string& vendorName,
                             const std::string& modelName) {
    const bool gige = kind == CameraKind::GigE;
    // Registers are described in the camera's own byte order, the wire's.
    const auto endianness = GenicamXmlWriter::Endianness::Big;
    const std::string port = "Device";
    GenicamXmlWriter xml(modelName, vendorName,
                         gige ? "Simulated GigE Vision camera" : "Simulated CoaXPress camera");

    std::map<std::string, std::vector<std::string>> categories;
    std::vector<std::string> categoryOrder;
    for (const CameraRegister& reg : CameraRegisterMap::Registers(kind)) {
        // Bootstrap integers (version, magic) stay out of the node map, as on real cameras.
        if (IsBootstrapInteger(reg)) {
            continue;
        }
        if (categories.find(reg.category) == categories.end()) {
            categoryOrder.push_back(reg.category);
        }
        categories[reg.category].push_back(reg.name);
    }
    xml.Category("Root", categoryOrder, true);
    for (const std::string& name : categoryOrder) {
        xml.Category(name, categories[name], true);
    }

    for (const CameraRegister& reg : CameraRegisterMap::Registers(kind)) {
        const std::string name = reg.name;
        const std::string regName = name + "Reg";
        if (IsBootstrapInteger(reg)) {
            continue;
        }
        switch (reg.kind) {
        case RegisterKind::String:
            xml.StringReg(name, reg.address, reg.length, AccessText(reg.access), port, true,
                          reg.toolTip);
            continue;
        case RegisterKind::Float:
            xml.FloatNode(name, regName, reg.min, reg.max, std::string(), reg.toolTip);
            xml.FloatReg(regName, reg.address, reg.length, AccessText(reg.access), port,
                         endianness);
            continue;
        case RegisterKind::Command:
            xml.Command(name, regName, true, 1, reg.toolTip);
            break;
        case RegisterKind::Integer:
            if (name == "PixelFormat") {
                std::vector<std::pair<std::string, std::int64_t>> entries;
                for (const auto& format : CameraRegisterMap::PixelFormats()) {
                    entries.emplace_back(format.name, format.code);
                }
                xml.Enumeration(name, regName, true, entries, reg.toolTip);
            } else if (name == "AcquisitionMode") {
                xml.Enumeration(name, regName, true,
                                {{"Continuous", 0}, {"SingleFrame", 1}, {"MultiFrame", 2}},
                                reg.toolTip);
            } else if (name == "TriggerMode") {
                xml.Enumeration(name, regName, true, {{"Off", 0}, {"On", 1}}, reg.toolTip);
            } else {
                const bool capped = reg.maxRegister != nullptr && reg.maxOffset == 0;
                xml.Integer(name, regName, true, reg.min, reg.max,
                            capped ? std::string(reg.maxRegister) : std::string(), reg.toolTip);
            }
            break;
        }
        xml.IntReg(regName, reg.address, reg.length, AccessText(reg.access), port, false,
                   endianness);
    }
    xml.Port(port);
    return xml.Finish();
}

} // namespace sim
