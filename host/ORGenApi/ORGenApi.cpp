// The exported C functions of ORGenApi: node maps and proxies as ORBase blocks.

#include "CallFaults.h"
#include "HandleLookup.h"
#include "NodeMap.h"
#include "NodeMapProxy.h"

#include <ORBase/ORBase.h>
#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <cstring>
#include <exception>
#include <string>

using orgenapi::NodeMap;
using orgenapi::NodeMapProxy;
using orgenapi::ResultOf;

namespace {

NodeMap* AsNodeMap(ORHandle handle) {
    return orgenapi::NodeMapOf(handle);
}

NodeMap* AsNodeMapOrProxy(ORHandle handle) {
    return orgenapi::NodeMapOrProxyOf(handle);
}

} // namespace

extern "C" {

ORGENAPI_API int32_t ORGenApi_CreateNodeMap(ORHandle* nodeMap) {
    if (nodeMap == nullptr)
        return ORV::E_INVALIDARG;
    *nodeMap = nullptr;
    if (const auto injected = orgenapi::CallFaults::Instance().Enter("ORGenApi_CreateNodeMap"))
        return *injected;
    try {
        *nodeMap = orvBase::make_shared_object<NodeMap>(NodeMap::TypeKey(), nullptr).release();
        return ORV::OK;
    } catch (const orvBase::bad_alloc&) {
        return ORV::E_OUTOFMEMORY;
    } catch (const orvBase::exception&) {
        return ORV::E_FAIL;
    } catch (const std::exception& error) {
        return ResultOf(error);
    }
}

ORGENAPI_API int32_t ORGenApi_LoadDescription(ORHandle nodeMap, const char* xml) {
    if (const auto injected = orgenapi::CallFaults::Instance().Enter("ORGenApi_LoadDescription"))
        return *injected;
    NodeMap* map = AsNodeMap(nodeMap);
    if (map == nullptr || xml == nullptr)
        return ORV::E_INVALIDARG;
    try {
        return map->Load(xml);
    } catch (const std::exception& error) {
        return ResultOf(error);
    }
}

ORGENAPI_API int32_t ORGenApi_AttachPort(ORHandle nodeMap, ORGenApi_PortRead read,
                                         ORGenApi_PortWrite write, ORGenApi_PortAccess access,
                                         void* context, const char* portName) {
    if (const auto injected = orgenapi::CallFaults::Instance().Enter("ORGenApi_AttachPort"))
        return *injected;
    NodeMap* map = AsNodeMap(nodeMap);
    if (map == nullptr || portName == nullptr)
        return ORV::E_INVALIDARG;
    try {
        NodeMap::Port port;
        port.read = read;
        port.write = write;
        port.access = access;
        port.context = context;
        port.name = portName;
        return map->Attach(std::move(port));
    } catch (const std::exception& error) {
        return ResultOf(error);
    }
}

ORGENAPI_API int32_t ORGenApi_CreateProxy(ORHandle nodeMap, ORGenApi_ProxyReleased released,
                                          void* context, ORHandle* proxy) {
    if (proxy == nullptr)
        return ORV::E_INVALIDARG;
    *proxy = nullptr;
    if (const auto injected = orgenapi::CallFaults::Instance().Enter("ORGenApi_CreateProxy"))
        return *injected;
    NodeMap* map = AsNodeMap(nodeMap);
    if (map == nullptr)
        return ORV::E_INVALIDARG;
    try {
        *proxy = orvBase::make_shared_object<NodeMapProxy>(NodeMapProxy::TypeKey(), nullptr,
                                                           orvBase::shared_handle::share(nodeMap),
                                                           map, released, context)
                     .release();
        return ORV::OK;
    } catch (const orvBase::bad_alloc&) {
        return ORV::E_OUTOFMEMORY;
    } catch (const orvBase::exception&) {
        return ORV::E_FAIL;
    } catch (const std::exception& error) {
        return ResultOf(error);
    }
}

ORGENAPI_API int32_t ORGenApi_ReadPort(ORHandle nodeMapOrProxy, void* buffer, int64_t address,
                                       int64_t length) {
    NodeMap* map = AsNodeMapOrProxy(nodeMapOrProxy);
    return map != nullptr ? map->Read(buffer, address, length) : ORV::E_INVALIDARG;
}

ORGENAPI_API int32_t ORGenApi_WritePort(ORHandle nodeMapOrProxy, const void* buffer,
                                        int64_t address, int64_t length) {
    NodeMap* map = AsNodeMapOrProxy(nodeMapOrProxy);
    return map != nullptr ? map->Write(buffer, address, length) : ORV::E_INVALIDARG;
}

ORGENAPI_API int32_t ORGenApi_GetPortAccess(ORHandle nodeMapOrProxy, int64_t address,
                                            int64_t length, int32_t* mode) {
    NodeMap* map = AsNodeMapOrProxy(nodeMapOrProxy);
    return map != nullptr ? map->Access(address, length, mode) : ORV::E_INVALIDARG;
}

ORGENAPI_API int32_t ORGenApi_GetPortName(ORHandle nodeMapOrProxy, char* destination,
                                          uint32_t* length) {
    NodeMap* map = AsNodeMapOrProxy(nodeMapOrProxy);
    if (map == nullptr || length == nullptr)
        return ORV::E_INVALIDARG;
    try {
        const std::string name = map->PortName();
        const uint32_t needed = static_cast<uint32_t>(name.size() + 1);
        if (destination == nullptr) {
            *length = needed;
            return ORV::OK;
        }
        if (*length < needed) {
            *length = needed;
            return ORV::E_FAIL;
        }
        std::memcpy(destination, name.c_str(), needed);
        *length = needed;
        return ORV::OK;
    } catch (const std::exception& error) {
        return ResultOf(error);
    }
}

ORGENAPI_API int32_t ORGenApi_HasNode(ORHandle nodeMapOrProxy, const char* name) {
    NodeMap* map = AsNodeMapOrProxy(nodeMapOrProxy);
    if (map == nullptr || name == nullptr)
        return 0;
    try {
        return map->HasNode(name) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

} // extern "C"
