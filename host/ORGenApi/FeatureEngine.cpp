#include "FeatureEngine.h"

#include "PortDevice.h"

#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <arv.h>

#include <climits>
#include <unordered_set>

namespace orgenapi {

namespace {

/// Aravis's XML parser keeps its state in a static variable, so only one node
/// tree may be built at a time in the whole process.
std::mutex& BuildLock() {
    static std::mutex lock;
    return lock;
}

/// Owns the GError a call may set.
class ErrorSlot {
public:
    ErrorSlot() = default;
    ~ErrorSlot() {
        if (error_ != nullptr)
            g_error_free(error_);
    }
    ErrorSlot(const ErrorSlot&) = delete;
    ErrorSlot& operator=(const ErrorSlot&) = delete;
    GError** out() { return &error_; }
    GError* get() const { return error_; }

private:
    GError* error_ = nullptr;
};

} // namespace

std::unique_ptr<FeatureEngine> FeatureEngine::Create(const std::string& xml,
                                                     const RegisterAccess& access) {
    if (xml.size() > static_cast<size_t>(INT_MAX))
        return nullptr;
    GObjectRef<ArvDevice> device = PortDevice::Create(access);
    GObjectRef<ArvGc> genicam;
    {
        std::lock_guard<std::mutex> guard(BuildLock());
        genicam.reset(arv_gc_new(device.get(), xml.data(), xml.size()));
    }
    if (!genicam)
        return nullptr;
    // No register cache: a camera changes its registers on its own (PayloadSize
    // follows Width), and the host must always see the device's value.
    arv_gc_set_register_cache_policy(genicam.get(), ARV_REGISTER_CACHE_POLICY_DISABLE);
    arv_gc_set_range_check_policy(genicam.get(), ARV_RANGE_CHECK_POLICY_ENABLE);
    arv_gc_set_access_check_policy(genicam.get(), ARV_ACCESS_CHECK_POLICY_ENABLE);
    return std::unique_ptr<FeatureEngine>(new FeatureEngine(std::move(device), std::move(genicam)));
}

FeatureEngine::FeatureEngine(GObjectRef<ArvDevice> device, GObjectRef<ArvGc> genicam)
    : device_(std::move(device)), genicam_(std::move(genicam)) {}

FeatureEngine::~FeatureEngine() {
    // The node tree refers to the device; it goes first.
    genicam_.reset();
    device_.reset();
}

ArvGcNode* FeatureEngine::Node(const char* name, GType type) const {
    if (name == nullptr)
        return nullptr;
    ArvGcNode* node = arv_gc_get_node(genicam_.get(), name);
    return node != nullptr && G_TYPE_CHECK_INSTANCE_TYPE(node, type) ? node : nullptr;
}

int32_t FeatureEngine::ResultOf(GError* error) {
    if (error == nullptr)
        return ORV::OK;
    if (error->domain == PortDevice::ErrorDomain())
        return error->code;
    if (error->domain == ARV_GC_ERROR) {
        switch (error->code) {
        case ARV_GC_ERROR_OUT_OF_RANGE:
        case ARV_GC_ERROR_ENUM_ENTRY_NOT_FOUND:
        case ARV_GC_ERROR_NODE_NOT_FOUND:
            return ORV::E_INVALIDARG;
        default:
            break;
        }
    }
    return ORV::E_FAIL;
}

int32_t FeatureEngine::GetInteger(const char* name, int64_t* value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_INTEGER);
    if (node == nullptr || value == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    const gint64 read = arv_gc_integer_get_value(ARV_GC_INTEGER(node), error.out());
    if (error.get() == nullptr)
        *value = read;
    return ResultOf(error.get());
}

int32_t FeatureEngine::SetInteger(const char* name, int64_t value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_INTEGER);
    if (node == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    arv_gc_integer_set_value(ARV_GC_INTEGER(node), value, error.out());
    return ResultOf(error.get());
}

int32_t FeatureEngine::GetFloat(const char* name, double* value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_FLOAT);
    if (node == nullptr || value == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    const double read = arv_gc_float_get_value(ARV_GC_FLOAT(node), error.out());
    if (error.get() == nullptr)
        *value = read;
    return ResultOf(error.get());
}

int32_t FeatureEngine::SetFloat(const char* name, double value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_FLOAT);
    if (node == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    arv_gc_float_set_value(ARV_GC_FLOAT(node), value, error.out());
    return ResultOf(error.get());
}

int32_t FeatureEngine::GetBoolean(const char* name, bool* value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_BOOLEAN);
    if (node == nullptr || value == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    const gboolean read = arv_gc_boolean_get_value(ARV_GC_BOOLEAN(node), error.out());
    if (error.get() == nullptr)
        *value = read != FALSE;
    return ResultOf(error.get());
}

int32_t FeatureEngine::SetBoolean(const char* name, bool value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_BOOLEAN);
    if (node == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    arv_gc_boolean_set_value(ARV_GC_BOOLEAN(node), value ? TRUE : FALSE, error.out());
    return ResultOf(error.get());
}

int32_t FeatureEngine::GetString(const char* name, std::string* value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_STRING);
    if (node == nullptr || value == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    const char* read = arv_gc_string_get_value(ARV_GC_STRING(node), error.out());
    if (error.get() == nullptr)
        *value = read != nullptr ? read : "";
    return ResultOf(error.get());
}

int32_t FeatureEngine::SetString(const char* name, const char* value) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_STRING);
    if (node == nullptr || value == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    arv_gc_string_set_value(ARV_GC_STRING(node), value, error.out());
    return ResultOf(error.get());
}

int32_t FeatureEngine::GetEnumeration(const char* name, std::string* entry) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_ENUMERATION);
    if (node == nullptr || entry == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    const char* read = arv_gc_enumeration_get_string_value(ARV_GC_ENUMERATION(node), error.out());
    if (error.get() != nullptr)
        return ResultOf(error.get());
    // A value that matches no entry has no name to answer.
    if (read == nullptr)
        return ORV::E_FAIL;
    *entry = read;
    return ORV::OK;
}

int32_t FeatureEngine::SetEnumeration(const char* name, const char* entry) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_ENUMERATION);
    if (node == nullptr || entry == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    arv_gc_enumeration_set_string_value(ARV_GC_ENUMERATION(node), entry, error.out());
    return ResultOf(error.get());
}

int32_t FeatureEngine::Execute(const char* name) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_COMMAND);
    if (node == nullptr)
        return ORV::E_INVALIDARG;
    ErrorSlot error;
    arv_gc_command_execute(ARV_GC_COMMAND(node), error.out());
    return ResultOf(error.get());
}

} // namespace orgenapi

namespace orgenapi {

namespace {

// Depth-first through the categories; a category seen before (a description
// may list one twice, or in a loop) is not walked again.
void CollectFeatures(ArvGc* genicam, const char* name, std::unordered_set<std::string>& seen,
                     std::vector<std::string>* names) {
    if (name == nullptr || !seen.insert(name).second)
        return;
    ArvGcNode* node = arv_gc_get_node(genicam, name);
    if (node == nullptr)
        return;
    if (!ARV_IS_GC_CATEGORY(node)) {
        names->emplace_back(name);
        return;
    }
    for (const GSList* item = arv_gc_category_get_features(ARV_GC_CATEGORY(node)); item != nullptr;
         item = item->next)
        CollectFeatures(genicam, static_cast<const char*>(item->data), seen, names);
}

} // namespace

int32_t FeatureEngine::ListFeatures(std::vector<std::string>* names) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* root = Node("Root", ARV_TYPE_GC_CATEGORY);
    if (root == nullptr || names == nullptr)
        return ORV::E_FAIL;
    std::unordered_set<std::string> seen{"Root"};
    for (const GSList* item = arv_gc_category_get_features(ARV_GC_CATEGORY(root)); item != nullptr;
         item = item->next)
        CollectFeatures(genicam_.get(), static_cast<const char*>(item->data), seen, names);
    return ORV::OK;
}

int32_t FeatureEngine::GetAccess(const char* name, int32_t* mode) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ArvGcNode* node = Node(name, ARV_TYPE_GC_FEATURE_NODE);
    if (node == nullptr || mode == nullptr)
        return ORV::E_INVALIDARG;
    ArvGcFeatureNode* feature = ARV_GC_FEATURE_NODE(node);
    ErrorSlot error;
    if (!arv_gc_feature_node_is_implemented(feature, error.out())) {
        *mode = error.get() == nullptr ? ORGENAPI_ACCESS_NI : ORGENAPI_ACCESS_NA;
        return ResultOf(error.get());
    }
    if (!arv_gc_feature_node_is_available(feature, error.out())) {
        *mode = ORGENAPI_ACCESS_NA;
        return ResultOf(error.get());
    }
    switch (arv_gc_feature_node_get_actual_access_mode(feature)) {
    case ARV_GC_ACCESS_MODE_RO:
        *mode = ORGENAPI_ACCESS_RO;
        break;
    case ARV_GC_ACCESS_MODE_WO:
        *mode = ORGENAPI_ACCESS_WO;
        break;
    case ARV_GC_ACCESS_MODE_RW:
        *mode = ORGENAPI_ACCESS_RW;
        break;
    default:
        *mode = ORGENAPI_ACCESS_NA;
        break;
    }
    return ORV::OK;
}

} // namespace orgenapi
