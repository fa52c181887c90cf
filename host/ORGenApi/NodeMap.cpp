#include "NodeMap.h"

#include <ORV/ResultCodes.h>

#include <utility>

namespace orgenapi {

ORTypeKey NodeMap::TypeKey() {
    static const ORTypeKey key = ORBase_RegisterTypeKey("ORGenApi-NodeMap");
    return key;
}

int32_t NodeMap::Load(const std::string& xml) {
    // Parsed outside the lock: a large description must not stall port access.
    std::unique_ptr<XmlDocument> document = XmlDocument::Parse(xml);
    if (document == nullptr || document->RootLocalName() != "RegisterDescription")
        return ORV::E_FAIL;
    std::unordered_set<std::string> names = document->ElementNames();
    std::unordered_set<std::string> ports = document->PortNames();
    std::shared_ptr<FeatureEngine> engine;
    if (std::optional<std::string> text = document->EngineText(xml))
        engine = FeatureEngine::Create(*text, *this);
    std::lock_guard<std::mutex> lock(mutex_);
    description_ = std::move(document);
    names_ = std::move(names);
    ports_ = std::move(ports);
    engine_ = std::move(engine);
    return ORV::OK;
}

bool NodeMap::HasNode(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return names_.count(name) != 0;
}

int32_t NodeMap::Attach(Port port) {
    if (port.read == nullptr || port.write == nullptr)
        return ORV::E_INVALIDARG;
    std::lock_guard<std::mutex> lock(mutex_);
    port_ = std::move(port);
    portAttached_ = true;
    return ORV::OK;
}

bool NodeMap::CurrentPort(Port* port) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!portAttached_)
        return false;
    *port = port_;
    return true;
}

bool NodeMap::FeaturePort(Port* port) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!portAttached_ || ports_.count(port_.name) == 0)
        return false;
    *port = port_;
    return true;
}

int32_t NodeMap::ReadRegisters(void* buffer, int64_t address, int64_t length) const {
    Port port;
    if (!FeaturePort(&port))
        return ORV::E_FAIL;
    return port.read(buffer, address, length, port.context);
}

int32_t NodeMap::WriteRegisters(const void* buffer, int64_t address, int64_t length) const {
    Port port;
    if (!FeaturePort(&port))
        return ORV::E_FAIL;
    return port.write(buffer, address, length, port.context);
}

int32_t NodeMap::Read(void* buffer, int64_t address, int64_t length) const {
    if (buffer == nullptr || length < 0)
        return ORV::E_INVALIDARG;
    Port port;
    if (!CurrentPort(&port))
        return ORV::E_FAIL;
    return port.read(buffer, address, length, port.context);
}

int32_t NodeMap::Write(const void* buffer, int64_t address, int64_t length) const {
    if (buffer == nullptr || length < 0)
        return ORV::E_INVALIDARG;
    Port port;
    if (!CurrentPort(&port))
        return ORV::E_FAIL;
    return port.write(buffer, address, length, port.context);
}

int32_t NodeMap::Access(int64_t address, int64_t length, int32_t* mode) const {
    if (mode == nullptr)
        return ORV::E_INVALIDARG;
    Port port;
    if (!CurrentPort(&port) || port.access == nullptr)
        return ORV::E_FAIL;
    *mode = port.access(address, length, port.context);
    return ORV::OK;
}

std::string NodeMap::PortName() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return portAttached_ ? port_.name : std::string();
}

} // namespace orgenapi
