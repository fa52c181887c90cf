#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

/// The order in which buffers were delivered, newest first, for the ring-buffer
/// sequence queries. Guarded by its own lock (the sequence lock); recording
/// allocates nothing once every buffer has been delivered once.
class CDeliveredBufferRecord {
public:
    /// The number of buffers of the ring.
    void SetLimit(uint32_t limit);
    /// Records `index` as the newest delivery.
    void Record(int32_t index);
    void Clear();
    /// False when `position` lies outside the record.
    bool At(int32_t position, int32_t* index) const;

private:
    mutable std::mutex lock_;
    std::vector<int32_t> entries_; // newest first; guarded by lock_
    uint32_t limit_ = 0;           // guarded by lock_
};
