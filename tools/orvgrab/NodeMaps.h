#pragma once
// The camera (Device) and grabber (TLDevice) node maps of an image, through
// INodeMapHandle2 and the host's node-map library: features read and written by
// name, and listed from the maps' descriptions.

#include <ORHost/HostApp.h>

#include <string>
#include <vector>

/// Host thread only. Holds the node maps it opened until destroyed; the module
/// does not unload while they live.
class NodeMaps {
public:
    struct Feature {
        std::string nodeMap;
        std::string name;
        /// "Integer", "Float", "Boolean", "String", "Enumeration": the getter that
        /// reads it; "Command or write-only" when none does.
        std::string type;
        /// "read-only or read-write" when readable, else "not readable (code)".
        std::string access;
        /// The value as text; empty when it cannot be read.
        std::string value;
        bool readable = false;
    };

    /// Opens the image's node maps (none on an image that has no INodeMapHandle2,
    /// none of a kind the channel lacks: a Camera Link channel has no Device map).
    explicit NodeMaps(ORHandle image);
    NodeMaps(const NodeMaps&) = delete;
    NodeMaps& operator=(const NodeMaps&) = delete;

    /// `feature` is NAME or NODEMAP:NAME; a bare name is looked up in Device, then
    /// TLDevice. Throws ToolError naming the feature and the maps searched.
    Feature Get(const std::string& feature) const;
    /// Writes `value` as the feature's type wants it (an entry name for an
    /// enumeration, true/false for a boolean; "execute" runs a command).
    void Set(const std::string& feature, const std::string& value) const;
    /// The features of every map among the names cameras and grabber descriptions
    /// commonly use (the node-map library answers by name but cannot list a map).
    std::vector<Feature> List() const;
    /// The names of the maps opened, e.g. {"Device", "TLDevice"}.
    std::vector<std::string> Names() const;

private:
    struct Map {
        std::string name;
        orvhost::HostObject handle;
    };
    const Map& Find(const std::string& feature, std::string* name) const;
    Feature Read(const Map& map, const std::string& name) const;

    std::vector<Map> maps_;
};
