#pragma once
// Types shared by the driver bases and the framework wrappers.

#include <boost/any.hpp>
#include <boost/function.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <typeindex>

class CBaseObj;

/// Options passed through the open operations unchanged; their content is the
/// driver's business.
using OptionMap = std::map<std::string, boost::any>;

/// Notification events an object offers: id to description.
using EventInfoMap = std::map<uint32_t, std::string>;

/// Handler of a module event: (data, size, value).
using EventHandler = boost::function<void(void*, uint32_t, int32_t)>;

/// The service providers of a channel by provider base type.
using InterfaceMap = std::map<std::type_index, std::shared_ptr<CBaseObj>>;

/// Host-visible node-map entry: name and description.
struct NodeMapEntry {
    std::string name;
    std::string description;
};
