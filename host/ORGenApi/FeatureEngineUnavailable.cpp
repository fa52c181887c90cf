// The node maps' feature engine in a build without Aravis: descriptions still load
// and their nodes are still known, but no feature is evaluated.

#include "FeatureEngine.h"

#include <ORV/ResultCodes.h>

namespace orgenapi {

std::unique_ptr<FeatureEngine> FeatureEngine::Create(const std::string&, const RegisterAccess&) {
    return nullptr;
}

FeatureEngine::~FeatureEngine() = default;

// Never reached: no engine is ever made. They answer as a missing engine does.
int32_t FeatureEngine::GetInteger(const char*, int64_t*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::SetInteger(const char*, int64_t) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::GetFloat(const char*, double*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::SetFloat(const char*, double) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::GetBoolean(const char*, bool*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::SetBoolean(const char*, bool) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::GetString(const char*, std::string*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::SetString(const char*, const char*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::GetEnumeration(const char*, std::string*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::SetEnumeration(const char*, const char*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::Execute(const char*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::ListFeatures(std::vector<std::string>*) {
    return ORV::E_FAIL;
}
int32_t FeatureEngine::GetAccess(const char*, int32_t*) {
    return ORV::E_FAIL;
}

} // namespace orgenapi
