// Writes GenICam register descriptions (GenApi schema 1.1) node by node.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sim {

// Produces the standard layout: a RegisterDescription root with schema attributes, then
// the nodes in the order they were added. Element order within a node follows the
// schema, so strict parsers (GenApi reference, Aravis) accept the result.
//
// Not thread-safe; one writer per description.
class GenicamXmlWriter {
public:
    enum class Endianness { Little, Big };

    GenicamXmlWriter(const std::string& modelName, const std::string& vendorName,
                     const std::string& toolTip);

    void category(const std::string& name, const std::vector<std::string>& features, bool standard);
    // An Integer whose value lives in register valueNode; maxNode, when set, caps it.
    void integer(const std::string& name, const std::string& valueNode, bool standard,
                 std::int64_t min, std::int64_t max, const std::string& maxNode,
                 const std::string& toolTip);
    void intReg(const std::string& name, std::uint64_t address, unsigned length, const char* access,
                const std::string& port, bool isSigned, Endianness endianness);
    void floatNode(const std::string& name, const std::string& valueNode, double min, double max,
                   const std::string& unit, const std::string& toolTip);
    void floatReg(const std::string& name, std::uint64_t address, unsigned length,
                  const char* access, const std::string& port, Endianness endianness);
    void enumeration(const std::string& name, const std::string& valueNode, bool standard,
                     const std::vector<std::pair<std::string, std::int64_t>>& entries,
                     const std::string& toolTip);
    void command(const std::string& name, const std::string& valueNode, bool standard,
                 std::int64_t commandValue, const std::string& toolTip);
    void stringReg(const std::string& name, std::uint64_t address, unsigned length,
                   const char* access, const std::string& port, bool standard,
                   const std::string& toolTip);
    void port(const std::string& name);

    // Closes the root element and hands out the text.
    std::string finish();

    static std::string escape(const std::string& text);

private:
    void open(const char* element, const std::string& name, bool standard);
    void registerBase(std::uint64_t address, unsigned length, const char* access,
                      const std::string& port);
    void toolTip(const std::string& text);

    std::string m_text;
};

} // namespace sim
