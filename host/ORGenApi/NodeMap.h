#pragma once
// A GenICam node map: the loaded description and the attached register port.

#include "XmlDocument.h"

#include <ORBase/ORBaseApi.h>
#include <ORGenApi/ORGenApi.h>
#include <ORV/IDisposableType.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>

namespace orgenapi {

/// Lives in an ORBase block under TypeKey(). Thread-safe: `mutex_` guards the
/// description and the port; the port's callbacks are called without it, so a
/// callback may use the node map again.
class NodeMap : public ORV::IDisposableType {
public:
    /// The attached register port.
    struct Port {
        ORGenApi_PortRead read = nullptr;
        ORGenApi_PortWrite write = nullptr;
        ORGenApi_PortAccess access = nullptr;
        void* context = nullptr;
        std::string name;
    };

    static ORTypeKey TypeKey();

    /// Replaces the description when `xml` is well-formed and its root is a
    /// RegisterDescription; otherwise keeps the previous one and fails.
    int32_t Load(const std::string& xml);
    bool HasNode(const std::string& name) const;

    /// Attaching before a description is loaded is allowed: the port does not
    /// depend on it. A later attach replaces the port.
    int32_t Attach(Port port);
    int32_t Read(void* buffer, int64_t address, int64_t length) const;
    int32_t Write(const void* buffer, int64_t address, int64_t length) const;
    int32_t Access(int64_t address, int64_t length, int32_t* mode) const;
    /// Empty when no port is attached.
    std::string PortName() const;

private:
    /// A copy of the port taken under the lock; false when none is attached.
    bool CurrentPort(Port* port) const;

    mutable std::mutex mutex_;
    std::unique_ptr<XmlDocument> description_; // guarded by mutex_
    std::unordered_set<std::string> names_;    // guarded by mutex_
    bool portAttached_ = false;                // guarded by mutex_
    Port port_;                                // guarded by mutex_
};

} // namespace orgenapi
