#pragma once
// The GenICam engine of a node map: features evaluated over the register port.

#include "RegisterAccess.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Aravis is the engine where it can be built (not for Windows: it needs glib).
#if ORGENAPI_FEATURE_ENGINE
#include "GObjectRef.h"

typedef struct _ArvDevice ArvDevice;
typedef struct _ArvGc ArvGc;
typedef struct _ArvGcNode ArvGcNode;
#endif

namespace orgenapi {

/// Aravis's GenICam node tree (ArvGc) over a PortDevice. Every register access a
/// feature needs goes through the RegisterAccess, without any cache, so a value
/// is always the device's current one. Range and access checks are on.
///
/// Results: 0; 0x80000002 for a name that is no node or a node of another type,
/// an unknown enumeration entry or a value out of range; the port's own result
/// when a register access failed; 0x80000001 for anything else the engine
/// refuses (a read-only feature written, a missing value node).
///
/// Threads: the node tree is not thread-safe, so `mutex_` serialises all calls on
/// one engine and is held while the port is called. It is recursive: a port
/// callback may use features of the same node map on its own thread.
class FeatureEngine {
public:
    /// Why every feature call fails in a build without an engine.
    static constexpr const char* kUnavailableText =
        "feature evaluation is not available in this build";
    /// Whether this build evaluates features at all.
    static constexpr bool Available() { return ORGENAPI_FEATURE_ENGINE != 0; }

    /// Null when Aravis cannot make a RegisterDescription of `xml`, and always in a
    /// build without an engine.
    static std::unique_ptr<FeatureEngine> Create(const std::string& xml,
                                                 const RegisterAccess& access);
    ~FeatureEngine();
    FeatureEngine(const FeatureEngine&) = delete;
    FeatureEngine& operator=(const FeatureEngine&) = delete;

    int32_t GetInteger(const char* name, int64_t* value);
    int32_t SetInteger(const char* name, int64_t value);
    int32_t GetFloat(const char* name, double* value);
    int32_t SetFloat(const char* name, double value);
    int32_t GetBoolean(const char* name, bool* value);
    int32_t SetBoolean(const char* name, bool value);
    int32_t GetString(const char* name, std::string* value);
    int32_t SetString(const char* name, const char* value);
    /// The symbolic name of the current entry.
    int32_t GetEnumeration(const char* name, std::string* entry);
    int32_t SetEnumeration(const char* name, const char* entry);
    int32_t Execute(const char* name);
    /// The features reachable from the Root category, categories expanded in
    /// their order, each name once; 0x80000001 when the description has no Root.
    int32_t ListFeatures(std::vector<std::string>* names);
    /// The feature's access as GenApi counts it (ORGENAPI_ACCESS_*): not
    /// implemented, not available, or its actual mode now.
    int32_t GetAccess(const char* name, int32_t* mode);

#if ORGENAPI_FEATURE_ENGINE
private:
    FeatureEngine(GObjectRef<ArvDevice> device, GObjectRef<ArvGc> genicam);
    /// The node of that name when it is an instance of `type`, else null.
    ArvGcNode* Node(const char* name, GType type) const;
    static int32_t ResultOf(GError* error);

    std::recursive_mutex mutex_; // guards the evaluation of genicam_
    GObjectRef<ArvDevice> device_;
    GObjectRef<ArvGc> genicam_;
#endif
};

} // namespace orgenapi
