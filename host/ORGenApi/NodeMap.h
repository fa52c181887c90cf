#pragma once
// A GenICam node map: the loaded description, its feature engine and the
// attached register port.

#include "FeatureEngine.h"
#include "RegisterAccess.h"
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
/// description, the engine pointer and the port, and is never held while a port
/// callback runs, so a callback may use the node map again. Feature calls are
/// serialised by the engine's own lock (see FeatureEngine).
///
/// Features reach the registers only through a port whose name the description
/// declares as a Port; a port attached under another name is refused there, as
/// a GenICam port is connected by name. Raw ReadPort/WritePort ignore the name.
class NodeMap : public ORV::IDisposableType, private RegisterAccess {
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
    /// RegisterDescription; otherwise keeps the previous one and fails. The
    /// feature engine is rebuilt with it (none when the engine cannot read it:
    /// features then fail).
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

    /// Runs `call` on the current engine; 0x80000001 when there is none. The
    /// engine stays alive for the call even when a reload replaces it.
    template <class Call> int32_t WithEngine(Call call) const {
        std::shared_ptr<FeatureEngine> engine;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            engine = engine_;
        }
        return engine != nullptr ? call(*engine) : static_cast<int32_t>(0x80000001u);
    }

private:
    /// A copy of the port taken under the lock; false when none is attached.
    bool CurrentPort(Port* port) const;
    /// The port features use: attached under a name the description declares.
    bool FeaturePort(Port* port) const;
    int32_t ReadRegisters(void* buffer, int64_t address, int64_t length) const override;
    int32_t WriteRegisters(const void* buffer, int64_t address, int64_t length) const override;

    mutable std::mutex mutex_;
    std::unique_ptr<XmlDocument> description_; // guarded by mutex_
    std::unordered_set<std::string> names_;    // guarded by mutex_
    std::unordered_set<std::string> ports_;    // guarded by mutex_: declared Port names
    std::shared_ptr<FeatureEngine> engine_;    // guarded by mutex_
    bool portAttached_ = false;                // guarded by mutex_
    Port port_;                                // guarded by mutex_
};

} // namespace orgenapi
