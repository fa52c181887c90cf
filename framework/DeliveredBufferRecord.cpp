#include <ddk/CDeliveredBufferRecord.h>

#include <ddk/CLockGuard.h>

#include <algorithm>

void CDeliveredBufferRecord::SetLimit(uint32_t limit) {
    CLockGuard guard(lock_);
    limit_ = limit;
    // Recording never grows the record beyond this, so it never allocates.
    entries_.reserve(std::max<size_t>(limit_, entries_.size()) + 1);
}

void CDeliveredBufferRecord::Record(int32_t index) {
    CLockGuard guard(lock_);
    if (index < 0)
        return;
    if (entries_.size() > limit_)
        entries_.erase(entries_.begin());
    entries_.erase(std::remove(entries_.begin(), entries_.end(), index), entries_.end());
    entries_.push_back(index);
}

void CDeliveredBufferRecord::Clear() {
    CLockGuard guard(lock_);
    entries_.clear();
}

bool CDeliveredBufferRecord::At(int32_t position, int32_t* index) const {
    CLockGuard guard(lock_);
    if (position < 0 || static_cast<size_t>(position) >= entries_.size())
        return false;
    if (index != nullptr)
        *index = entries_[entries_.size() - 1 - static_cast<size_t>(position)];
    return true;
}
