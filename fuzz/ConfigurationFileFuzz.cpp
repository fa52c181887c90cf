// The driver's configuration file as a user may write it: the INI reader the
// driver reads it with, then every typed lookup on every key the file holds and
// on the keys the driver asks for.
#include "system/DriverConfiguration.h"

#include <boost/property_tree/ini_parser.hpp>

#include <cstddef>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>

namespace {

void LookUp(const CDriverConfiguration& configuration, const std::string& path) {
    configuration.Text(path);
    configuration.Int32(path);
    configuration.UInt32(path);
    configuration.Boolean(path);
    configuration.Path(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
    boost::property_tree::ptree tree;
    try {
        boost::property_tree::ini_parser::read_ini(file, tree);
    } catch (const boost::property_tree::ini_parser_error&) {
        return 0; // the driver keeps its defaults and reports the line
    }
    const CDriverConfiguration configuration(std::move(tree));
    for (const auto& section : configuration.Tree()) {
        LookUp(configuration, section.first);
        for (const auto& key : section.second)
            LookUp(configuration, section.first + "." + key.first);
    }
    for (const char* path :
         {"BOARD0.inifilemcf", "BOARD0.dmas", "BOARD0.scan", "BOARD0.cxp_speed",
          "BOARD0_DMA0.framebuffers", "BOARD0_DMA0.RotateImage", "BOARD0_DMA0.camxml",
          "BOARD0_DMA0.BitsPerDimension", "BOARD0_DMA0.minimumbytes", "System.timeout"})
        LookUp(configuration, path);
    return 0;
}
