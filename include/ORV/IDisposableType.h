#pragma once

namespace ORV {

/// Virtual base of every host-visible object and interface table.
/// Slots: 0 destructor, 1 dispose (deleting destruction), 2 deleting destructor.
class IDisposableType {
public:
    virtual ~IDisposableType() = default;
    /// Destroys a heap-allocated object. Objects living in host blocks are
    /// destroyed by the block instead and are never disposed.
    virtual void Dispose() { delete this; }
};

} // namespace ORV
