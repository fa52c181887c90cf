#include "ConfigurationStore.h"

#include <boost/property_tree/json_parser.hpp>

#include <sstream>
#include <stdexcept>

namespace logsvc {

namespace pt = boost::property_tree;

ConfigurationStore::ConfigurationStore(std::string path) : path_(std::move(path)) {}

pt::ptree ConfigurationStore::Load() const {
    pt::ptree file;
    try {
        if (path_.empty()) {
            std::istringstream text(DefaultSet);
            pt::read_json(text, file);
        } else {
            pt::read_json(path_, file);
        }
    } catch (const pt::json_parser_error& e) {
        throw std::runtime_error(e.what());
    }
    if (!file.data().empty())
        throw std::runtime_error(path_ + ": not an object of configuration sets");
    for (const auto& [key, set] : file) {
        if (key.empty())
            throw std::runtime_error(path_ + ": a list where an object of sets belongs");
        if (set.empty() && !set.data().empty())
            throw std::runtime_error(path_ + ": set \"" + key + "\" is not an object");
        for (const auto& [name, value] : set) {
            if (name.empty() || !value.empty())
                throw std::runtime_error(path_ + ": set \"" + key +
                                         "\" holds something other than plain values");
        }
    }
    return file;
}

std::optional<pt::ptree> ConfigurationStore::Lookup(const std::string& module,
                                                    const std::string& process) const {
    const pt::ptree file = Load();
    auto find = [&](const std::string& key) -> std::optional<pt::ptree> {
        const auto found = file.find(key);
        if (found == file.not_found())
            return std::nullopt;
        return found->second;
    };
    if (!process.empty()) {
        if (auto set = find(module + "@" + process))
            return set;
    }
    if (auto set = find(module))
        return set;
    return find("*");
}

} // namespace logsvc
