// The exported feature functions of ORGenApi: values through a node map's engine.

#include "HandleLookup.h"

#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>
#include <platform/DebugOutput.h>

#include <atomic>

#include <cstring>
#include <exception>
#include <string>
#include <vector>

using orgenapi::FeatureEngine;
using orgenapi::NodeMap;

namespace {

/// Runs `call` on the engine of the node map behind `handle`; no exception leaves.
template <class Call> int32_t OnEngine(ORHandle handle, const char* name, Call call) {
    NodeMap* map = orgenapi::NodeMapOrProxyOf(handle);
    if (map == nullptr || name == nullptr)
        return ORV::E_INVALIDARG;
    if (!FeatureEngine::Available()) {
        // Said once per process: the result code alone would look like a device fault.
        static std::atomic<bool> said{false};
        if (!said.exchange(true))
            platform::OutputDebugText(std::string("ORGenApi: ") + FeatureEngine::kUnavailableText +
                                      "\n");
        return ORV::E_FAIL;
    }
    try {
        return map->WithEngine(call);
    } catch (const std::exception& error) {
        return orgenapi::ResultOf(error);
    } catch (...) {
        return ORV::E_FAIL;
    }
}

/// The size protocol of the text answers.
int32_t AnswerText(const std::string& text, char* destination, uint32_t* length) {
    const uint64_t needed = static_cast<uint64_t>(text.size()) + 1;
    if (needed > UINT32_MAX)
        return ORV::E_FAIL;
    if (destination == nullptr) {
        *length = static_cast<uint32_t>(needed);
        return ORV::OK;
    }
    if (*length < needed) {
        *length = static_cast<uint32_t>(needed);
        return ORV::E_FAIL;
    }
    std::memcpy(destination, text.c_str(), static_cast<size_t>(needed));
    *length = static_cast<uint32_t>(needed);
    return ORV::OK;
}

} // namespace

extern "C" {

ORGENAPI_API int32_t ORGenApi_GetIntegerFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int64_t* value) {
    if (value == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.GetInteger(name, value); });
}

ORGENAPI_API int32_t ORGenApi_SetIntegerFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int64_t value) {
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.SetInteger(name, value); });
}

ORGENAPI_API int32_t ORGenApi_GetFloatFeature(ORHandle nodeMapOrProxy, const char* name,
                                              double* value) {
    if (value == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.GetFloat(name, value); });
}

ORGENAPI_API int32_t ORGenApi_SetFloatFeature(ORHandle nodeMapOrProxy, const char* name,
                                              double value) {
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.SetFloat(name, value); });
}

ORGENAPI_API int32_t ORGenApi_GetBooleanFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int32_t* value) {
    if (value == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name, [&](FeatureEngine& engine) {
        bool read = false;
        const int32_t result = engine.GetBoolean(name, &read);
        if (result == ORV::OK)
            *value = read ? 1 : 0;
        return result;
    });
}

ORGENAPI_API int32_t ORGenApi_SetBooleanFeature(ORHandle nodeMapOrProxy, const char* name,
                                                int32_t value) {
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.SetBoolean(name, value != 0); });
}

ORGENAPI_API int32_t ORGenApi_GetStringFeature(ORHandle nodeMapOrProxy, const char* name,
                                               char* destination, uint32_t* length) {
    if (length == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name, [&](FeatureEngine& engine) {
        std::string text;
        const int32_t result = engine.GetString(name, &text);
        return result == ORV::OK ? AnswerText(text, destination, length) : result;
    });
}

ORGENAPI_API int32_t ORGenApi_SetStringFeature(ORHandle nodeMapOrProxy, const char* name,
                                               const char* value) {
    if (value == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.SetString(name, value); });
}

ORGENAPI_API int32_t ORGenApi_GetEnumFeature(ORHandle nodeMapOrProxy, const char* name,
                                             char* destination, uint32_t* length) {
    if (length == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name, [&](FeatureEngine& engine) {
        std::string entry;
        const int32_t result = engine.GetEnumeration(name, &entry);
        return result == ORV::OK ? AnswerText(entry, destination, length) : result;
    });
}

ORGENAPI_API int32_t ORGenApi_SetEnumFeature(ORHandle nodeMapOrProxy, const char* name,
                                             const char* entry) {
    if (entry == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.SetEnumeration(name, entry); });
}

ORGENAPI_API int32_t ORGenApi_ExecuteCommand(ORHandle nodeMapOrProxy, const char* name) {
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.Execute(name); });
}

ORGENAPI_API int32_t ORGenApi_GetFeatureNames(ORHandle nodeMapOrProxy, char* destination,
                                              uint32_t* length) {
    if (length == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, "", [&](FeatureEngine& engine) {
        std::vector<std::string> names;
        const int32_t result = engine.ListFeatures(&names);
        if (result != ORV::OK)
            return result;
        std::string text;
        for (const std::string& name : names)
            text += name + '\n';
        return AnswerText(text, destination, length);
    });
}

ORGENAPI_API int32_t ORGenApi_GetFeatureAccess(ORHandle nodeMapOrProxy, const char* name,
                                               int32_t* access) {
    if (access == nullptr)
        return ORV::E_INVALIDARG;
    return OnEngine(nodeMapOrProxy, name,
                    [&](FeatureEngine& engine) { return engine.GetAccess(name, access); });
}

} // extern "C"
