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

    void Category(const std::string& name, const std::vector<std::string>& features, bool standard);
    // An Integer whose value lives in register valueNode; maxNode, when set, caps it.
    void Integer(const std::string& name, const std::string& valueNode, bool standard,
                 std::int64_t min, std::int64_t max, const std::string& maxNode,
                 const std::string& toolTip);
    void IntReg(const std::string& name, std::uint64_t address, unsigned length, const char* access,
                const std::string& port, bool isSigned, Endianness endianness);
    void FloatNode(const std::string& name, const std::string& valueNode, double min, double max,
                   const std::string& unit, const std::string& toolTip);
    void FloatReg(const std::string& name, std::uint64_t address, unsigned length,
                  const char* access, const std::string& port, Endianness endianness);
    void Enumeration(const std::string& name, const std::string& valueNode, bool standard,
                     const std::vector<std::pair<std::string, std::int64_t>>& entries,
                     const std::string& toolTip);
    void Command(const std::string& name, const std::string& valueNode, bool standard,
                 std::int64_t commandValue, const std::string& toolTip);
    void StringReg(const std::string& name, std::uint64_t address, unsigned length,
                   const char* access, const std::string& port, bool standard,
                   const std::string& toolTip);
    void Port(const std::string& name);

    // Closes the root element and hands out the text.
    std::string Finish();

    static std::string Escape(const std::string& text);

private:
    void Open(const char* element, const std::string& name, bool standard);
    void RegisterBase(std::uint64_t address, unsigned length, const char* access,
                      const std::string& port);
    void ToolTip(const std::string& text);

    std::string text_;
};

} // namespace sim
