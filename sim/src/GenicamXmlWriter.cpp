#include "GenicamXmlWriter.h"

#include <cstdio>
#include <sstream>

namespace sim {

namespace {

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

const char* EndianText(GenicamXmlWriter::Endianness endianness) {
    return endianness == GenicamXmlWriter::Endianness::Little ? "LittleEndian" : "BigEndian";
}

} // namespace

GenicamXmlWriter::GenicamXmlWriter(const std::string& modelName, const std::string& vendorName,
                                   const std::string& toolTip) {
    text_ = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<RegisterDescription ModelName=\"" +
            Escape(modelName) + "\" VendorName=\"" + Escape(vendorName) + "\" ToolTip=\"" +
            Escape(toolTip) +
            "\" StandardNameSpace=\"None\" SchemaMajorVersion=\"1\" SchemaMinorVersion=\"1\" "
            "SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" MinorVersion=\"0\" "
            "SubMinorVersion=\"0\" ProductGuid=\"6d1c8b2e-5a0f-4d3c-9b1e-2f4a7c8d9e01\" "
            "VersionGuid=\"a3e5c7f9-1b2d-4e6f-8a0c-3d5f7b9d1e23\" "
            "xmlns=\"http://www.genicam.org/GenApi/Version_1_1\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xsi:schemaLocation=\"http://www.genicam.org/GenApi/Version_1_1 "
            "http://www.genicam.org/GenApi/GenApiSchema_Version_1_1.xsd\">\n";
}

std::string GenicamXmlWriter::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void GenicamXmlWriter::Open(const char* element, const std::string& name, bool standard) {
    text_ += "  <";
    text_ += element;
    text_ += " Name=\"" + Escape(name) + "\"";
    if (standard) {
        text_ += " NameSpace=\"Standard\"";
    }
    text_ += ">\n";
}

void GenicamXmlWriter::ToolTip(const std::string& text) {
    if (!text.empty()) {
        text_ += "    <ToolTip>" + Escape(text) + "</ToolTip>\n";
    }
}

void GenicamXmlWriter::RegisterBase(std::uint64_t address, unsigned length, const char* access,
                                    const std::string& port) {
    text_ += "    <Address>" + Hex(address) + "</Address>\n";
    text_ += "    <Length>" + std::to_string(length) + "</Length>\n";
    text_ += std::string("    <AccessMode>") + access + "</AccessMode>\n";
    text_ += "    <pPort>" + Escape(port) + "</pPort>\n";
    // Registers change behind the node map's back (status, derived sizes), so never cache.
    text_ += "    <Cachable>NoCache</Cachable>\n";
}

void GenicamXmlWriter::Category(const std::string& name, const std::vector<std::string>& features,
                                bool standard) {
    Open("Category", name, standard);
    for (const std::string& feature : features) {
        text_ += "    <pFeature>" + Escape(feature) + "</pFeature>\n";
    }
    text_ += "  </Category>\n";
}

void GenicamXmlWriter::Integer(const std::string& name, const std::string& valueNode, bool standard,
                               std::int64_t min, std::int64_t max, const std::string& maxNode,
                               const std::string& tip) {
    Open("Integer", name, standard);
    ToolTip(tip);
    text_ += "    <pValue>" + Escape(valueNode) + "</pValue>\n";
    text_ += "    <Min>" + std::to_string(min) + "</Min>\n";
    if (!maxNode.empty()) {
        text_ += "    <pMax>" + Escape(maxNode) + "</pMax>\n";
    } else {
        text_ += "    <Max>" + std::to_string(max) + "</Max>\n";
    }
    text_ += "  </Integer>\n";
}

void GenicamXmlWriter::IntReg(const std::string& name, std::uint64_t address, unsigned length,
                              const char* access, const std::string& port, bool isSigned,
                              Endianness endianness) {
    Open("IntReg", name, false);
    RegisterBase(address, length, access, port);
    text_ += std::string("    <Sign>") + (isSigned ? "Signed" : "Unsigned") + "</Sign>\n";
    text_ += std::string("    <Endianess>") + EndianText(endianness) + "</Endianess>\n";
    text_ += "  </IntReg>\n";
}

void GenicamXmlWriter::FloatNode(const std::string& name, const std::string& valueNode, double min,
                                 double max, const std::string& unit, const std::string& tip) {
    Open("Float", name, false);
    ToolTip(tip);
    text_ += "    <pValue>" + Escape(valueNode) + "</pValue>\n";
    std::ostringstream limits;
    limits << "    <Min>" << min << "</Min>\n    <Max>" << max << "</Max>\n";
    text_ += limits.str();
    if (!unit.empty()) {
        text_ += "    <Unit>" + Escape(unit) + "</Unit>\n";
    }
    text_ += "  </Float>\n";
}

void GenicamXmlWriter::FloatReg(const std::string& name, std::uint64_t address, unsigned length,
                                const char* access, const std::string& port,
                                Endianness endianness) {
    Open("FloatReg", name, false);
    RegisterBase(address, length, access, port);
    text_ += std::string("    <Endianess>") + EndianText(endianness) + "</Endianess>\n";
    text_ += "  </FloatReg>\n";
}

void GenicamXmlWriter::Enumeration(const std::string& name, const std::string& valueNode,
                                   bool standard,
                                   const std::vector<std::pair<std::string, std::int64_t>>& entries,
                                   const std::string& tip) {
    Open("Enumeration", name, standard);
    ToolTip(tip);
    for (const auto& entry : entries) {
        text_ += "    <EnumEntry Name=\"" + Escape(entry.first) + "\">\n";
        text_ += "      <Value>" + std::to_string(entry.second) + "</Value>\n";
        text_ += "    </EnumEntry>\n";
    }
    text_ += "    <pValue>" + Escape(valueNode) + "</pValue>\n";
    text_ += "  </Enumeration>\n";
}

void GenicamXmlWriter::Command(const std::string& name, const std::string& valueNode, bool standard,
                               std::int64_t commandValue, const std::string& tip) {
    Open("Command", name, standard);
    ToolTip(tip);
    text_ += "    <pValue>" + Escape(valueNode) + "</pValue>\n";
    text_ += "    <CommandValue>" + std::to_string(commandValue) + "</CommandValue>\n";
    text_ += "  </Command>\n";
}

void GenicamXmlWriter::StringReg(const std::string& name, std::uint64_t address, unsigned length,
                                 const char* access, const std::string& port, bool standard,
                                 const std::string& tip) {
    Open("StringReg", name, standard);
    ToolTip(tip);
    RegisterBase(address, length, access, port);
    text_ += "  </StringReg>\n";
}

void GenicamXmlWriter::Port(const std::string& name) {
    text_ += "  <Port Name=\"" + Escape(name) + "\" NameSpace=\"Standard\">\n  </Port>\n";
}

std::string GenicamXmlWriter::Finish() {
    text_ += "</RegisterDescription>\n";
    return std::move(text_);
}

} // namespace sim
