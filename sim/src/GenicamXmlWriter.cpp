#include "GenicamXmlWriter.h"

#include <cstdio>
#include <sstream>

namespace sim {

namespace {

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

const char* endianText(GenicamXmlWriter::Endianness endianness) {
    return endianness == GenicamXmlWriter::Endianness::Little ? "LittleEndian" : "BigEndian";
}

} // namespace

GenicamXmlWriter::GenicamXmlWriter(const std::string& modelName, const std::string& vendorName,
                                   const std::string& toolTip) {
    m_text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
             "<RegisterDescription ModelName=\"" +
             escape(modelName) + "\" VendorName=\"" + escape(vendorName) + "\" ToolTip=\"" +
             escape(toolTip) +
             "\" StandardNameSpace=\"None\" SchemaMajorVersion=\"1\" SchemaMinorVersion=\"1\" "
             "SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" MinorVersion=\"0\" "
             "SubMinorVersion=\"0\" ProductGuid=\"6d1c8b2e-5a0f-4d3c-9b1e-2f4a7c8d9e01\" "
             "VersionGuid=\"a3e5c7f9-1b2d-4e6f-8a0c-3d5f7b9d1e23\" "
             "xmlns=\"http://www.genicam.org/GenApi/Version_1_1\" "
             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
             "xsi:schemaLocation=\"http://www.genicam.org/GenApi/Version_1_1 "
             "http://www.genicam.org/GenApi/GenApiSchema_Version_1_1.xsd\">\n";
}

std::string GenicamXmlWriter::escape(const std::string& text) {
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

void GenicamXmlWriter::open(const char* element, const std::string& name, bool standard) {
    m_text += "  <";
    m_text += element;
    m_text += " Name=\"" + escape(name) + "\"";
    if (standard) {
        m_text += " NameSpace=\"Standard\"";
    }
    m_text += ">\n";
}

void GenicamXmlWriter::toolTip(const std::string& text) {
    if (!text.empty()) {
        m_text += "    <ToolTip>" + escape(text) + "</ToolTip>\n";
    }
}

void GenicamXmlWriter::registerBase(std::uint64_t address, unsigned length, const char* access,
                                    const std::string& port) {
    m_text += "    <Address>" + hex(address) + "</Address>\n";
    m_text += "    <Length>" + std::to_string(length) + "</Length>\n";
    m_text += std::string("    <AccessMode>") + access + "</AccessMode>\n";
    m_text += "    <pPort>" + escape(port) + "</pPort>\n";
    // Registers change behind the node map's back (status, derived sizes), so never cache.
    m_text += "    <Cachable>NoCache</Cachable>\n";
}

void GenicamXmlWriter::category(const std::string& name, const std::vector<std::string>& features,
                                bool standard) {
    open("Category", name, standard);
    for (const std::string& feature : features) {
        m_text += "    <pFeature>" + escape(feature) + "</pFeature>\n";
    }
    m_text += "  </Category>\n";
}

void GenicamXmlWriter::integer(const std::string& name, const std::string& valueNode, bool standard,
                               std::int64_t min, std::int64_t max, const std::string& maxNode,
                               const std::string& tip) {
    open("Integer", name, standard);
    toolTip(tip);
    m_text += "    <pValue>" + escape(valueNode) + "</pValue>\n";
    m_text += "    <Min>" + std::to_string(min) + "</Min>\n";
    if (!maxNode.empty()) {
        m_text += "    <pMax>" + escape(maxNode) + "</pMax>\n";
    } else {
        m_text += "    <Max>" + std::to_string(max) + "</Max>\n";
    }
    m_text += "  </Integer>\n";
}

void GenicamXmlWriter::intReg(const std::string& name, std::uint64_t address, unsigned length,
                              const char* access, const std::string& port, bool isSigned,
                              Endianness endianness) {
    open("IntReg", name, false);
    registerBase(address, length, access, port);
    m_text += std::string("    <Sign>") + (isSigned ? "Signed" : "Unsigned") + "</Sign>\n";
    m_text += std::string("    <Endianess>") + endianText(endianness) + "</Endianess>\n";
    m_text += "  </IntReg>\n";
}

void GenicamXmlWriter::floatNode(const std::string& name, const std::string& valueNode, double min,
                                 double max, const std::string& unit, const std::string& tip) {
    open("Float", name, false);
    toolTip(tip);
    m_text += "    <pValue>" + escape(valueNode) + "</pValue>\n";
    std::ostringstream limits;
    limits << "    <Min>" << min << "</Min>\n    <Max>" << max << "</Max>\n";
    m_text += limits.str();
    if (!unit.empty()) {
        m_text += "    <Unit>" + escape(unit) + "</Unit>\n";
    }
    m_text += "  </Float>\n";
}

void GenicamXmlWriter::floatReg(const std::string& name, std::uint64_t address, unsigned length,
                                const char* access, const std::string& port,
                                Endianness endianness) {
    open("FloatReg", name, false);
    registerBase(address, length, access, port);
    m_text += std::string("    <Endianess>") + endianText(endianness) + "</Endianess>\n";
    m_text += "  </FloatReg>\n";
}

void GenicamXmlWriter::enumeration(const std::string& name, const std::string& valueNode,
                                   bool standard,
                                   const std::vector<std::pair<std::string, std::int64_t>>& entries,
                                   const std::string& tip) {
    open("Enumeration", name, standard);
    toolTip(tip);
    for (const auto& entry : entries) {
        m_text += "    <EnumEntry Name=\"" + escape(entry.first) + "\">\n";
        m_text += "      <Value>" + std::to_string(entry.second) + "</Value>\n";
        m_text += "    </EnumEntry>\n";
    }
    m_text += "    <pValue>" + escape(valueNode) + "</pValue>\n";
    m_text += "  </Enumeration>\n";
}

void GenicamXmlWriter::command(const std::string& name, const std::string& valueNode, bool standard,
                               std::int64_t commandValue, const std::string& tip) {
    open("Command", name, standard);
    toolTip(tip);
    m_text += "    <pValue>" + escape(valueNode) + "</pValue>\n";
    m_text += "    <CommandValue>" + std::to_string(commandValue) + "</CommandValue>\n";
    m_text += "  </Command>\n";
}

void GenicamXmlWriter::stringReg(const std::string& name, std::uint64_t address, unsigned length,
                                 const char* access, const std::string& port, bool standard,
                                 const std::string& tip) {
    open("StringReg", name, standard);
    toolTip(tip);
    registerBase(address, length, access, port);
    m_text += "  </StringReg>\n";
}

void GenicamXmlWriter::port(const std::string& name) {
    m_text += "  <Port Name=\"" + escape(name) + "\" NameSpace=\"Standard\">\n  </Port>\n";
}

std::string GenicamXmlWriter::finish() {
    m_text += "</RegisterDescription>\n";
    return std::move(m_text);
}

} // namespace sim
