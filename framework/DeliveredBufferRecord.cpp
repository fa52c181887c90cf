#include <ddk/CDeliveredBufferRecord.h>

#include <ddk/CLockGuard.h>

void CDeliveredBufferRecord::SetLimit(uint32_t limit) {
    CLockGuard guard(lock_);
    if (limit == recorded_.size())
        return;
    std::vector<int32_t> kept;
    for (int32_t index = newest_; index != kNone; index = older_[static_cast<size_t>(index)]) {
        if (static_cast<uint32_t>(index) < limit)
            kept.push_back(index);
    }
    newer_.assign(limit, kNone);
    older_.assign(limit, kNone);
    recorded_.assign(limit, false);
    newest_ = oldest_ = kNone;
    count_ = 0;
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        PushNewest(*it);
}

void CDeliveredBufferRecord::Record(int32_t index) {
    CLockGuard guard(lock_);
    if (index < 0 || static_cast<size_t>(index) >= recorded_.size())
        return;
    if (recorded_[static_cast<size_t>(index)])
        Unlink(index);
    PushNewest(index);
}

void CDeliveredBufferRecord::Clear() {
    CLockGuard guard(lock_);
    while (newest_ != kNone)
        Unlink(newest_);
}

bool CDeliveredBufferRecord::At(int32_t position, int32_t* index) const {
    CLockGuard guard(lock_);
    if (position < 0 || static_cast<uint32_t>(position) >= count_)
        return false;
    // Walks from the nearer end: the newest deliveries are the ones asked for.
    int32_t found;
    if (static_cast<uint32_t>(position) <= count_ / 2) {
        found = newest_;
        for (int32_t step = 0; step < position; ++step)
            found = older_[static_cast<size_t>(found)];
    } else {
        found = oldest_;
        for (uint32_t step = count_ - 1; step > static_cast<uint32_t>(position); --step)
            found = newer_[static_cast<size_t>(found)];
    }
    if (index != nullptr)
        *index = found;
    return true;
}

void CDeliveredBufferRecord::Unlink(int32_t index) {
    const size_t at = static_cast<size_t>(index);
    const int32_t newer = newer_[at];
    const int32_t older = older_[at];
    if (newer != kNone)
        older_[static_cast<size_t>(newer)] = older;
    else
        newest_ = older;
    if (older != kNone)
        newer_[static_cast<size_t>(older)] = newer;
    else
        oldest_ = newer;
    newer_[at] = older_[at] = kNone;
    recorded_[at] = false;
    --count_;
}

void CDeliveredBufferRecord::PushNewest(int32_t index) {
    const size_t at = static_cast<size_t>(index);
    newer_[at] = kNone;
    older_[at] = newest_;
    if (newest_ != kNone)
        newer_[static_cast<size_t>(newest_)] = index;
    else
        oldest_ = index;
    newest_ = index;
    recorded_[at] = true;
    ++count_;
}
