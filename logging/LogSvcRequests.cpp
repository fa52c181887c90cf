#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcRequests.h>

#include <platform/Process.h>

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <sstream>

namespace nwLogging {

namespace {

using boost::property_tree::ptree;

// Added as a direct child: a key with a '.' must not become a path.
void add_value(ptree& tree, const std::string& key, const std::string& value) {
    tree.push_back(ptree::value_type(key, ptree(value)));
}

std::string serialize(const ptree& tree) {
    try {
        std::ostringstream text;
        boost::property_tree::write_json(text, tree, false);
        return text.str();
    } catch (...) {
        throw LogSvcError("Failed to serialize the attrtibute set");
    }
}

} // namespace

std::string current_process_name() {
    if (platform::ExecutablePath().empty())
        throw LogSvcError("Could not obtain the current executable path");
    std::string name = platform::ExecutableName();
    if (name.empty())
        throw LogSvcError("Failed to extract process name from the executable path");
    return name;
}

std::string get_configuration_payload(const std::string& module, const attribute_set& attributes) {
    ptree request;
    add_value(request, "module", module);
    try {
        add_value(request, "process", current_process_name());
    } catch (const LogSvcError&) {
        // The service can still answer by module name alone.
    }
    for (const auto& [key, value] : attributes) {
        if (key != "module" && key != "process")
            add_value(request, key, value);
    }
    return serialize(request);
}

std::string set_description_payload(const std::string& module, const std::string& description) {
    ptree request;
    add_value(request, "module", module);
    add_value(request, "description", description);
    return serialize(request);
}

} // namespace nwLogging
