#pragma once

#include <ddk/CMutex.h>

#include <cstdint>
#include <mutex>
#include <vector>

/// The order in which buffers were delivered, newest first, for the ring-buffer
/// sequence queries. Guarded by its own lock (the sequence lock). Each buffer
/// occurs once; the limit (the ring's number of buffers) only bounds the length:
/// a record longer than the limit loses its oldest entry at the next delivery.
/// Only SetLimit allocates.
class CDeliveredBufferRecord {
public:
    /// The number of buffers of the ring; set again whenever the image changes.
    void SetLimit(uint32_t limit);
    /// Records `index` as the newest delivery: drops the oldest entry when the
    /// record holds more than the limit, then any earlier entry of `index`.
    /// A negative index is no buffer and is ignored.
    void Record(int32_t index);
    void Clear();
    /// False when `position` lies outside the record.
    bool At(int32_t position, int32_t* index) const;

private:
    // Oldest first; the capacity always leaves room for one more entry.
    mutable CMutex<std::mutex> lock_;
    std::vector<int32_t> entries_ DDK_GUARDED_BY(lock_);
    uint32_t limit_ DDK_GUARDED_BY(lock_) = 0;
};
