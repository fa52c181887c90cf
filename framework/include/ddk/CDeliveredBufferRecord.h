#pragma once

#include <ddk/CSpinLock.h>

#include <cstdint>
#include <vector>

/// The order in which buffers were delivered, newest first, for the ring-buffer
/// sequence queries. Guarded by its own lock (the sequence lock). Each buffer
/// occurs once; the limit (the ring's number of buffers) only bounds the length:
/// a record longer than the limit loses its oldest entry at the next delivery.
///
/// The entries form a list linked through arrays indexed by buffer, so recording
/// costs the same for any ring. Only SetLimit allocates, and Record for an index
/// beyond every limit set so far (which a ring never delivers).
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
    static constexpr int32_t kNone = -1;
    struct Link {
        int32_t newer = kNone;
        int32_t older = kNone;
        bool present = false;
    };
    void Reserve(size_t count) DDK_REQUIRES(lock_);
    void Unlink(int32_t index) DDK_REQUIRES(lock_);

    mutable CSpinLock lock_;
    std::vector<Link> links_ DDK_GUARDED_BY(lock_);
    int32_t newest_ DDK_GUARDED_BY(lock_) = kNone;
    int32_t oldest_ DDK_GUARDED_BY(lock_) = kNone;
    uint32_t size_ DDK_GUARDED_BY(lock_) = 0;
    uint32_t limit_ DDK_GUARDED_BY(lock_) = 0;
};
