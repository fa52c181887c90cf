#pragma once

#include <ddk/CMutex.h>

#include <cstdint>
#include <mutex>
#include <vector>

/// The order in which buffers were delivered, newest first, for the ring-buffer
/// sequence queries. Guarded by its own lock (the sequence lock). Each buffer
/// occurs once, so the record is a list linked through two arrays indexed by
/// buffer: recording costs the same for any ring size and allocates nothing;
/// only SetLimit allocates.
class CDeliveredBufferRecord {
public:
    /// The number of buffers of the ring. A new limit keeps the recorded buffers
    /// that still belong to the ring, in their order.
    void SetLimit(uint32_t limit);
    /// Records `index` as the newest delivery; an index outside the ring is not
    /// a buffer of it and is ignored.
    void Record(int32_t index);
    void Clear();
    /// False when `position` lies outside the record.
    bool At(int32_t position, int32_t* index) const;

private:
    static constexpr int32_t kNone = -1;

    void Unlink(int32_t index) DDK_REQUIRES(lock_);
    void PushNewest(int32_t index) DDK_REQUIRES(lock_);

    // newer_/older_ hold the neighbours of each recorded buffer, kNone at the
    // ends; recorded_ marks the buffers in the list.
    mutable CMutex<std::mutex> lock_;
    std::vector<int32_t> newer_ DDK_GUARDED_BY(lock_);
    std::vector<int32_t> older_ DDK_GUARDED_BY(lock_);
    std::vector<bool> recorded_ DDK_GUARDED_BY(lock_);
    int32_t newest_ DDK_GUARDED_BY(lock_) = kNone;
    int32_t oldest_ DDK_GUARDED_BY(lock_) = kNone;
    uint32_t count_ DDK_GUARDED_BY(lock_) = 0;
};
