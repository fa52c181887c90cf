#include "NodeMaps.h"

#include "ToolError.h"

#include <ORGenApi/ORGenApi.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The host's node-map library answers features by name but cannot list them, so
// the list is of the names cameras (GenICam SFNC) and the vendor's grabber
// descriptions commonly use; a map shows those it has.
const char* const kKnownFeatures[] = {"DeviceVendorName",
                                      "DeviceModelName",
                                      "DeviceVersion",
                                      "DeviceSerialNumber",
                                      "DeviceUserID",
                                      "Width",
                                      "Height",
                                      "OffsetX",
                                      "OffsetY",
                                      "PixelFormat",
                                      "SensorWidth",
                                      "SensorHeight",
                                      "PayloadSize",
                                      "AcquisitionMode",
                                      "AcquisitionStart",
                                      "AcquisitionStop",
                                      "AcquisitionStatus",
                                      "AcquisitionFrameRate",
                                      "ExposureTime",
                                      "ExposureAuto",
                                      "Gain",
                                      "GainAuto",
                                      "TriggerSelector",
                                      "TriggerMode",
                                      "TriggerSource",
                                      "TriggerSoftware",
                                      "TriggerCount",
                                      "FG_WIDTH",
                                      "FG_HEIGHT",
                                      "FG_XOFFSET",
                                      "FG_YOFFSET",
                                      "FG_TIMEOUT",
                                      "FG_FORMAT",
                                      "FG_PIXELDEPTH",
                                      "FG_MAXWIDTH",
                                      "FG_MAXHEIGHT",
                                      "FG_FRAMERATE",
                                      "FG_TRIGGERMODE",
                                      "FG_SENDSOFTWARETRIGGER",
                                      "FG_TESTPATTERN",
                                      "FG_PATTERN_OFFSET",
                                      "FG_SHORT_TRANSFER",
                                      "FG_IMAGE_COUNTER"};

std::string Text(int32_t (*get)(ORHandle, const char*, char*, uint32_t*), ORHandle map,
                 const char* name, int32_t* result) {
    uint32_t length = 0;
    *result = get(map, name, nullptr, &length);
    if (*result != 0 || length == 0)
        return {};
    std::string text(length, '\0');
    *result = get(map, name, text.data(), &length);
    text.resize(*result == 0 && length > 0 ? length - 1 : 0);
    return text;
}

std::string Hex(int32_t result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
    return text;
}

} // namespace

NodeMaps::NodeMaps(ORHandle image) {
    auto* handles = orvhost::FindInterface<ORV::INodeMapHandle2>(image);
    if (handles == nullptr)
        return;
    int32_t count = 0;
    if (handles->GetNodeMapCount(&count) != 0)
        return;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (handles->GetNodeMapName(i, nullptr, &length) != 0 || length == 0)
            continue;
        std::string name(length, '\0');
        if (handles->GetNodeMapName(i, name.data(), &length) != 0)
            continue;
        name.resize(length - 1);
        ORHandle handle = nullptr;
        if (handles->GetNodeMap(name.c_str(), &handle) != 0 || handle == nullptr)
            continue; // a Camera Link channel has no camera
        Map map{name, orvhost::HostObject(handle)};
        maps_.push_back(std::move(map));
    }
}

std::vector<std::string> NodeMaps::Names() const {
    std::vector<std::string> names;
    for (const Map& map : maps_)
        names.push_back(map.name);
    return names;
}

const NodeMaps::Map& NodeMaps::Find(const std::string& feature, std::string* name) const {
    const std::string::size_type colon = feature.find(':');
    const std::string wanted = colon == std::string::npos ? "" : feature.substr(0, colon);
    *name = colon == std::string::npos ? feature : feature.substr(colon + 1);
    std::string searched;
    // The camera first: its features are what people mean by a bare name.
    for (const char* order : {"Device", "TLDevice"})
        for (const Map& map : maps_) {
            if (map.name != order || (!wanted.empty() && wanted != map.name))
                continue;
            if (ORGenApi_HasNode(map.handle.get(), name->c_str()) == 1)
                return map;
            searched += (searched.empty() ? "" : ", ") + map.name;
        }
    if (searched.empty())
        throw ToolError("no node map " + (wanted.empty() ? std::string("at all") : wanted) +
                        " on this channel (it has: " +
                        (maps_.empty() ? std::string("none") : [&] {
                            std::string all;
                            for (const Map& map : maps_)
                                all += (all.empty() ? "" : ", ") + map.name;
                            return all;
                        }()) +
                        ")");
    throw ToolError("no feature " + *name + " in the node map" +
                    (searched.find(',') != std::string::npos ? "s " : " ") + searched);
}

NodeMaps::Feature NodeMaps::Read(const Map& map, const std::string& name) const {
    const std::string type;
    Feature feature{map.name, name, type, "read-only or read-write", {}, false};
    ORHandle handle = map.handle.get();
    const char* id = name.c_str();
    int32_t result = 0;
    if (type.empty() || type == "Enumeration") {
        feature.value = Text(ORGenApi_GetEnumFeature, handle, id, &result);
        if (result == 0) {
            feature.type = "Enumeration";
            feature.readable = true;
            return feature;
        }
    }
    if (type.empty() || type.find("Int") != std::string::npos) {
        int64_t value = 0;
        if ((result = ORGenApi_GetIntegerFeature(handle, id, &value)) == 0) {
            feature.type = type.empty() ? "Integer" : type;
            feature.value = std::to_string(value);
            feature.readable = true;
            return feature;
        }
    }
    if (type.empty() || type.find("Float") != std::string::npos ||
        type.find("Converter") != std::string::npos || type == "SwissKnife") {
        double value = 0;
        if ((result = ORGenApi_GetFloatFeature(handle, id, &value)) == 0) {
            char text[64];
            std::snprintf(text, sizeof text, "%g", value);
            feature.type = type.empty() ? "Float" : type;
            feature.value = text;
            feature.readable = true;
            return feature;
        }
    }
    if (type.empty() || type == "Boolean") {
        int32_t value = 0;
        if ((result = ORGenApi_GetBooleanFeature(handle, id, &value)) == 0) {
            feature.type = "Boolean";
            feature.value = value != 0 ? "true" : "false";
            feature.readable = true;
            return feature;
        }
    }
    if (type.empty() || type.find("String") != std::string::npos) {
        feature.value = Text(ORGenApi_GetStringFeature, handle, id, &result);
        if (result == 0) {
            feature.type = type.empty() ? "String" : type;
            feature.readable = true;
            return feature;
        }
    }
    // No getter reads it: a command or a write-only feature.
    feature.type = "Command or write-only";
    feature.access = "not readable (" + Hex(result) + ")";
    return feature;
}

NodeMaps::Feature NodeMaps::Get(const std::string& feature) const {
    std::string name;
    const Map& map = Find(feature, &name);
    Feature read = Read(map, name);
    if (!read.readable)
        throw ToolError("cannot read " + map.name + ":" + name + " " + read.value);
    return read;
}

void NodeMaps::Set(const std::string& feature, const std::string& value) const {
    std::string name;
    const Map& map = Find(feature, &name);
    ORHandle handle = map.handle.get();
    const char* id = name.c_str();
    const Feature current = Read(map, name);
    int32_t result = 0;
    const std::string& type = current.type;
    char* end = nullptr;
    errno = 0;
    if (!current.readable) {
        // A command, or a write-only number.
        if (value == "execute") {
            result = ORGenApi_ExecuteCommand(handle, id);
        } else {
            const long long number = std::strtoll(value.c_str(), &end, 0);
            if (value.empty() || *end != '\0' || errno == ERANGE)
                throw ToolError(map.name + ":" + name +
                                " cannot be read; a command takes "
                                "'execute', a write-only one a number");
            result = ORGenApi_SetIntegerFeature(handle, id, number);
        }
    } else if (type == "Enumeration") {
        result = ORGenApi_SetEnumFeature(handle, id, value.c_str());
    } else if (type == "Boolean") {
        if (value != "true" && value != "false" && value != "1" && value != "0")
            throw ToolError(map.name + ":" + name + " wants true or false, not '" + value + "'");
        result = ORGenApi_SetBooleanFeature(handle, id, value == "true" || value == "1");
    } else if (type.find("String") != std::string::npos) {
        result = ORGenApi_SetStringFeature(handle, id, value.c_str());
    } else if (type.find("Int") != std::string::npos) {
        const long long number = std::strtoll(value.c_str(), &end, 0);
        if (value.empty() || *end != '\0' || errno == ERANGE)
            throw ToolError(map.name + ":" + name + " wants a whole number, not '" + value + "'");
        result = ORGenApi_SetIntegerFeature(handle, id, number);
    } else {
        const double number = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || errno == ERANGE)
            throw ToolError(map.name + ":" + name + " wants a number, not '" + value + "'");
        result = ORGenApi_SetFloatFeature(handle, id, number);
    }
    if (result != 0)
        throw ToolError("cannot set " + map.name + ":" + name + " to '" + value + "' (" +
                        Hex(result) +
                        (result == static_cast<int32_t>(0x80000002)
                             ? ": not a value the feature takes"
                             : ": the feature refused it (read-only, or the device failed)") +
                        ")");
}

std::vector<NodeMaps::Feature> NodeMaps::List() const {
    std::vector<Feature> features;
    for (const Map& map : maps_)
        for (const char* name : kKnownFeatures)
            if (ORGenApi_HasNode(map.handle.get(), name) == 1)
                features.push_back(Read(map, name));
    return features;
}
